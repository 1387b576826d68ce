#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/RigidBody.h"
#include "game/PooledSpawnpointComponent.h"
#include "game/SpawnPointPool.h"
#include "tests/game/PlayerRig.h"
#include "tests/support/LogCapture.h"

#include <cmath>
#include <glm/geometric.hpp>
#include <gtest/gtest.h>
#include <numbers>

namespace {
constexpr float pi = std::numbers::pi_v<float>;

glm::quat aboutY(float radians) { return glm::quat(std::cos(radians / 2), 0.0f, std::sin(radians / 2), 0.0f); }

// The game's two points: the west base facing east, the east base facing west.
std::shared_ptr<SpawnPointPool> gamePool() {
    auto pool = std::make_shared<SpawnPointPool>();
    pool->add({aboutY(3.0f * pi / 2.0f), {-35.0f, 2.6f, 1.1f}});
    pool->add({aboutY(pi / 2.0f), {45.0f, 2.6f, 1.1f}});
    return pool;
}

TEST(SpawnPointPool, HandsOutItsPointsInTurn) {
    SpawnPointPool pool;
    EXPECT_FALSE(pool.next()) << "an empty pool has nothing to give";
    pool.add({aboutY(0.0f), {1.0f, 0.0f, 0.0f}});
    pool.add({aboutY(0.0f), {2.0f, 0.0f, 0.0f}});
    std::vector<float> xs;
    for (int i = 0; i < 5; ++i) {
        xs.push_back(pool.next()->position.x);
    }
    EXPECT_EQ(xs, (std::vector<float>{1.0f, 2.0f, 1.0f, 2.0f, 1.0f}));
    EXPECT_EQ(pool.size(), 2u);
}

TEST(SpawnHeading, TwiceTheAngleOfARotationAboutYInDegrees) {
    const std::pair<float, float> cases[] = {
        {0.0f, 0.0f}, {pi / 4.0f, 90.0f}, {pi / 2.0f, 180.0f}, {3.0f * pi / 4.0f, 270.0f}, {pi, 0.0f},
    };
    for (const auto& [half, degrees] : cases) {
        const float heading = headingOf(std::cos(half));
        // 360 becomes 0; floats land a hair either side of it.
        EXPECT_NEAR(std::fmod(heading + 0.01f, 360.0f) - 0.01f, degrees, 1e-2f) << half;
    }
    EXPECT_NEAR(headingOf(1.5f), 0.0f, 1e-4f) << "w past 1 is clamped, not NaN";
}

TEST(SpawnPoints, BothPlayersTakeTheGamesPointsInOrderAtEveryRespawn) {
    const auto pool = gamePool();
    PlayerRig one(0, {5.0f, 0.0f, 5.0f});
    PlayerRig two(1, {-5.0f, 0.0f, -5.0f});
    const auto spawnOne = one.object->addComponent<PooledSpawnpointComponent>(pool, true).lock();
    const auto spawnTwo = two.object->addComponent<PooledSpawnpointComponent>(pool, true).lock();
    for (int round = 0; round < 2; ++round) {
        one.frame();
        EXPECT_FALSE(spawnOne->respawnPending);
        EXPECT_FALSE(spawnTwo->respawnPending);
        EXPECT_EQ(one.object->position, glm::vec3(-35.0f, 2.6f, 1.1f));
        EXPECT_EQ(two.object->position, glm::vec3(45.0f, 2.6f, 1.1f));
        EXPECT_NEAR(one.camera->camera.yaw, 270.0f, 1e-3f);
        EXPECT_NEAR(two.camera->camera.yaw, 90.0f, 1e-3f);
        EXPECT_EQ(one.camera->camera.pitch, 0.0f);
        // The frame drawn right after ENTER may come before any fixed step: the dogs already face
        // where their players look, not where the points' rotations turn them.
        EXPECT_LT(glm::distance(one.facing(), one.lookHeading()), 1e-4f);
        EXPECT_LT(glm::distance(two.facing(), two.lookHeading()), 1e-4f);
        EXPECT_LT(glm::distance(glm::vec3(one.player->controller->getFootPosition()), one.object->position),
                  1e-5f)
            << "the capsule's bottom at the point";
        EXPECT_EQ(pool->peek().position.x, -35.0f) << "the pool's order is the same after every restart";
        for (int i = 0; i < 30; ++i) {
            one.step();
        }
        one.camera->camera.pitch = 40.0f;
        spawnOne->respawnPending = true;
        spawnTwo->respawnPending = true;
    }
}

TEST(SpawnPoints, ABodyIsPlacedThroughItsBodyAndTheControllerStays) {
    const auto pool = gamePool();
    PlayerRig rig;
    rig.frame();
    const auto body = rig.object->addComponent<DynamicRigidBodyComponent>(1.0f, glm::vec3(0.0f), false).lock();
    body->addShape(Geometry::sphere(0.2f), Pose());
    rig.frame(); // starts the body
    const glm::dvec3 controllerBefore = rig.player->controller->getPosition();
    rig.object->addComponent<PooledSpawnpointComponent>(pool, true);
    rig.frame();
    EXPECT_EQ(rig.object->position, glm::vec3(-35.0f, 2.6f, 1.1f));
    ASSERT_NE(body->actor, nullptr);
    EXPECT_EQ(body->actor->getGlobalPose().position, glm::vec3(-35.0f, 2.6f, 1.1f));
    EXPECT_EQ(rig.player->controller->getPosition(), controllerBefore);
}

TEST(SpawnPoints, AnOwnerWithNothingToPlaceTakesNoPointAndAnEmptyPoolLogsOnce) {
    const auto pool = gamePool();
    GameObject bare("Bare");
    const auto spawn = bare.addComponent<PooledSpawnpointComponent>(pool, true).lock();
    bare.update();
    EXPECT_FALSE(spawn->respawnPending);
    EXPECT_EQ(pool->peek().position.x, -35.0f) << "no point taken";

    PlayerRig rig;
    const auto empty = rig.object->addComponent<PooledSpawnpointComponent>(
        std::make_shared<SpawnPointPool>(), true).lock();
    LogCapture log;
    rig.frame();
    rig.frame();
    EXPECT_FALSE(empty->respawnPending);
    EXPECT_EQ(log.count("No spawn point to respawn Player 1 at"), 1u);
    EXPECT_EQ(rig.object->position, glm::vec3(0.0f));
}

TEST(SpawnPoints, OnePointPlacesBothPlayersThere) {
    auto pool = std::make_shared<SpawnPointPool>();
    pool->add({aboutY(pi / 2.0f), {10.0f, 1.0f, 0.0f}});
    PlayerRig one(0, {5.0f, 0.0f, 5.0f});
    PlayerRig two(1, {-5.0f, 0.0f, -5.0f});
    one.object->addComponent<PooledSpawnpointComponent>(pool, true);
    two.object->addComponent<PooledSpawnpointComponent>(pool, true);
    one.frame();
    EXPECT_EQ(one.object->position, two.object->position);
}
} // namespace
