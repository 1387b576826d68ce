#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/level/LevelEscapes.h"

#include "tests/engine/physics/LevelProbe.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestTable.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>
#include <string>

// A disc put inside one of the arena's solids, made there or moved there: no face of a solid pushes
// what lies behind it, so without a push out it flies on through the solid at its own speed, out of
// the far side or out of the arena. It must come out the shortest way, within a few steps, and no
// faster than the push, whatever its own speed into the solid.
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr int stepsToGetOut = 10;

struct Placement {
    const char* name;
    glm::vec3 centre;
    glm::vec3 velocity;
    glm::vec3 wayOut; // the shortest, unit
    bool moved;       // put there by setGlobalPose while flying in the open, not made there
};

const std::vector<LevelMesh>& arena() {
    static const std::vector<LevelMesh> level = arenaLevel();
    return level;
}

// The east wall fills 54 < x < 55; cover wall A 15.6 < z < 16.4 from x = -26 to -18, 2.8 m high;
// crate I stands 2.4 m high round (-6, -12).
std::vector<Placement> placements() {
    return {
        {"east wall, near its inner face, flying on out", {54.3f, 1.5f, -15.0f}, {40.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}, false},
        {"east wall, near its outer face, flying in", {54.8f, 1.5f, -15.0f}, {-40.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, false},
        {"cover wall, flying through it", {-22.0f, 1.5f, 16.1f}, {0.0f, 0.0f, -40.0f}, {0.0f, 0.0f, 1.0f}, false},
        {"crate, under its top, flying down", {-6.0f, 2.1f, -12.0f}, {0.0f, -40.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, false},
        {"east wall, moved there in flight", {54.3f, 1.5f, -15.0f}, {40.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}, true},
    };
}

std::string play(const Placement& placement) {
    PhysicsWorld world;
    world.init();
    world.addRigidStatic(arena());
    const LevelProbe probe(arena());
    RigidBody* disc = nullptr;
    if (placement.moved) {
        disc = throwFrisbee(world, Pose(glm::vec3(0.0f, 10.0f, 0.0f)), placement.velocity);
        world.step(dt);
        disc->setGlobalPose(Pose(placement.centre));
    } else {
        disc = throwFrisbee(world, Pose(placement.centre), placement.velocity);
    }
    for (int step = 0; step < 3 * stepsToGetOut; ++step) {
        world.step(dt);
        const Pose pose = disc->getGlobalPose();
        const float travelled = glm::dot(pose.position - placement.centre, placement.wayOut);
        if (travelled < -0.05f) {
            return "carried the other way, " + std::to_string(-travelled) + " m at step " + std::to_string(step);
        }
        if (probe.deepest(discPoints(pose)) > 0.001f) {
            if (step >= stepsToGetOut) {
                return "still inside at step " + std::to_string(step);
            }
            continue;
        }
        const float speed = glm::length(disc->getLinearVelocity());
        if (speed > LevelEscapes::escapeSpeed + 9.81f * dt * stepsToGetOut) {
            return "left at " + std::to_string(speed) + " m/s";
        }
        return "";
    }
    return "never got out";
}

TEST(LevelEscape, ABodyPutInsideASolidLeavesItTheShortestWayAtThePushsSpeed) {
    const auto name = [](const Placement& placement) { return std::string(placement.name); };
    EXPECT_EQ(failuresOf(placements(), play, name), "");
}
} // namespace
