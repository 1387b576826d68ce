#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"

#include <glm/gtc/constants.hpp>
#include <gtest/gtest.h>

namespace {
constexpr float dt = 1.0f / 60.0f;
const glm::vec3 spawns[2] = {{-35.0f, 2.6f, 1.1f}, {45.0f, 2.6f, 1.1f}};

struct Bounds {
    glm::vec3 min{1e9f};
    glm::vec3 max{-1e9f};
};

// The arena's extent as drawn: every point with its mesh transform.
Bounds boundsOf(const std::vector<LevelMesh>& level) {
    Bounds bounds;
    for (const LevelMesh& mesh : level) {
        for (const glm::vec3& position : mesh.positions) {
            const glm::vec4 point = mesh.transform * glm::vec4(position, 1.0f);
            bounds.min = glm::min(bounds.min, glm::vec3(point) / point.w);
            bounds.max = glm::max(bounds.max, glm::vec3(point) / point.w);
        }
    }
    return bounds;
}

class ArenaTest : public testing::Test {
protected:
    void SetUp() override {
        world.init();
        world.addRigidStatic(level);
    }

    std::vector<LevelMesh> level = arenaLevel();
    PhysicsWorld world;
};

TEST_F(ArenaTest, PlayersDroppedAtTheSpawnPointsStandOnTheFloor) {
    CapsuleController* players[2];
    for (int p = 0; p < 2; ++p) {
        players[p] = world.createCapsuleController(0.39f, 1.18f);
        players[p]->setFootPosition(glm::dvec3(spawns[p]));
    }
    float fall[2] = {0.0f, 0.0f};
    for (int step = 0; step < 120; ++step) {
        for (int p = 0; p < 2; ++p) {
            fall[p] += 2.0f * world.getGravity().y * dt;
            if (players[p]->move(glm::vec3(0.0f, fall[p] * dt, 0.0f), 0.001f, dt) &
                ControllerCollisionFlag::CollisionDown) {
                fall[p] = 0.0f;
            }
        }
        world.step(dt);
    }
    for (int p = 0; p < 2; ++p) {
        EXPECT_TRUE(players[p]->getState().collisionFlags & ControllerCollisionFlag::CollisionDown) << p;
        EXPECT_LE(players[p]->getFootPosition().y, spawns[p].y + 1e-3) << p;
        EXPECT_GT(players[p]->getFootPosition().y, boundsOf(level).min.y) << p;
    }
}

// Thrown from both players' eyes in every heading, level or downwards, at 40 m/s, each starting
// 2.5 m out along its way so that no two start inside each other: none may pass through a wall or
// the floor. A disc that bounces up off another may sail over a wall's top, so outside the walls
// a disc must be higher than their top, less its own radius, when it is first seen there.
TEST_F(ArenaTest, FrisbeesNeverPassThroughWallsOrFloor) {
    const Bounds bounds = boundsOf(level);
    std::vector<RigidBody*> discs;
    for (int i = 0; i < 48; ++i) {
        const int heading = i / 2;
        const float yaw = glm::two_pi<float>() * heading / 24.0f;
        const float pitch = -0.175f * (heading % 3);
        const glm::vec3 direction(std::cos(pitch) * std::sin(yaw), std::sin(pitch), std::cos(pitch) * std::cos(yaw));
        const glm::vec3 eye = spawns[i % 2] + glm::vec3(0.0f, 1.0f, 0.0f);
        discs.push_back(throwFrisbee(world, Pose(eye + 2.5f * direction), 40.0f * direction));
    }
    std::vector<bool> over(discs.size(), false);
    for (int step = 0; step < 300; ++step) {
        world.step(dt);
        for (std::size_t i = 0; i < discs.size(); ++i) {
            const glm::vec3 p = discs[i]->getGlobalPose().position;
            const bool inside = p.x > bounds.min.x && p.x < bounds.max.x && p.z > bounds.min.z && p.z < bounds.max.z;
            if (over[i]) {
                continue;
            }
            over[i] = !inside;
            ASSERT_TRUE(p.y > bounds.min.y && (inside || p.y > bounds.max.y - 0.3f))
                << "disc " << i << " left the arena at step " << step << ": " << p.x << ", " << p.y << ", " << p.z;
        }
    }
}
} // namespace
