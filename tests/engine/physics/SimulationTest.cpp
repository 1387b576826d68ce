#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"

#include <cstring>
#include <glm/gtc/constants.hpp>
#include <gtest/gtest.h>

namespace {
constexpr float dt = 1.0f / 60.0f;

RigidBody* throwFrisbee(PhysicsWorld& world, const glm::vec3& from, const glm::vec3& direction, const glm::quat& turn) {
    return throwFrisbee(world, Pose(turn, from), 40.0f * glm::normalize(direction));
}

// Directions spread evenly over the sphere.
glm::vec3 spread(int i, int count) {
    const float y = 1.0f - 2.0f * (i + 0.5f) / count;
    const float ring = std::sqrt(1.0f - y * y);
    const float angle = i * glm::pi<float>() * (3.0f - std::sqrt(5.0f));
    return glm::vec3(ring * std::cos(angle), y, ring * std::sin(angle));
}

// A room of six sheets without thickness, 20 x 6 x 20: the hardest walls there are to hit.
std::vector<LevelMesh> sheetRoom() {
    return {sheetMesh(glm::vec3(-10.0f, 0.0f, -10.0f), glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f, 0.0f, 20.0f)),
            sheetMesh(glm::vec3(-10.0f, 6.0f, -10.0f), glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f, 0.0f, 20.0f)),
            sheetMesh(glm::vec3(-10.0f, 0.0f, -10.0f), glm::vec3(0.0f, 6.0f, 0.0f), glm::vec3(0.0f, 0.0f, 20.0f)),
            sheetMesh(glm::vec3(10.0f, 0.0f, -10.0f), glm::vec3(0.0f, 6.0f, 0.0f), glm::vec3(0.0f, 0.0f, 20.0f)),
            sheetMesh(glm::vec3(-10.0f, 0.0f, -10.0f), glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f, 6.0f, 0.0f)),
            sheetMesh(glm::vec3(-10.0f, 0.0f, 10.0f), glm::vec3(20.0f, 0.0f, 0.0f), glm::vec3(0.0f, 6.0f, 0.0f))};
}

TEST(ContinuousDetection, FrisbeesAtFortyNeverLeaveAClosedRoom) {
    PhysicsWorld world;
    world.init();
    world.addRigidStatic(sheetRoom());
    std::vector<RigidBody*> discs;
    constexpr int count = 60;
    for (int i = 0; i < count; ++i) {
        const glm::quat turn = glm::angleAxis(0.7f * i, glm::normalize(spread(count - 1 - i, count)));
        discs.push_back(throwFrisbee(world, glm::vec3(0.0f, 3.0f, 0.0f), spread(i, count), turn));
    }
    for (int step = 0; step < 240; ++step) {
        world.step(dt);
        for (std::size_t i = 0; i < discs.size(); ++i) {
            const glm::vec3 p = discs[i]->getGlobalPose().position;
            ASSERT_TRUE(std::abs(p.x) < 10.0f && std::abs(p.z) < 10.0f && p.y > 0.0f && p.y < 6.0f)
                << "disc " << i << " left the room at step " << step << ": " << p.x << ", " << p.y << ", " << p.z;
        }
    }
}

struct Snapshot {
    std::vector<Pose> poses;
    std::vector<glm::dvec3> controllers;
};

Snapshot simulate() {
    PhysicsWorld world;
    world.init();
    world.addRigidStatic({floorMesh(30.0f), boxMesh(glm::vec3(5.0f, 0.0f, -5.0f), glm::vec3(6.0f, 3.0f, 5.0f)),
                          rampMesh(-8.0f, 4.0f, 25.0f, 3.0f)});
    CapsuleController* walker = world.createCapsuleController(0.39f, 1.18f);
    walker->setFootPosition(glm::dvec3(-2.0, 0.0, 0.0));
    world.createKinematicRigidDynamic(Pose(glm::vec3(0.0f, 1.0f, 0.0f)), 1.0f, Geometry::box(glm::vec3(1.0f, 1.0f, 0.5f)),
                                      Pose(), false, nullptr);
    std::vector<RigidBody*> bodies;
    for (int i = 0; i < 20; ++i) {
        bodies.push_back(throwFrisbee(world, glm::vec3(0.0f, 2.0f, 0.0f), spread(i, 20) + glm::vec3(0.0f, 0.3f, 0.0f),
                                      glm::quat(1.0f, 0.0f, 0.0f, 0.0f)));
    }
    for (int step = 0; step < 300; ++step) {
        walker->move(glm::vec3(0.05f, -0.01f, 0.03f), 0.001f, dt);
        world.step(dt);
    }
    Snapshot snapshot;
    for (const RigidBody* body : bodies) {
        snapshot.poses.push_back(body->getGlobalPose());
    }
    snapshot.controllers.push_back(walker->getPosition());
    return snapshot;
}

TEST(Determinism, SameInputsSteppedTwiceGiveBitIdenticalPoses) {
    const Snapshot first = simulate();
    const Snapshot second = simulate();
    ASSERT_EQ(first.poses.size(), second.poses.size());
    EXPECT_EQ(std::memcmp(first.poses.data(), second.poses.data(), first.poses.size() * sizeof(Pose)), 0);
    EXPECT_EQ(first.controllers, second.controllers);
}
} // namespace
