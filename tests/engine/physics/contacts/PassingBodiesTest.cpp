#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestMatch.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <gtest/gtest.h>

// A disc made inside a body, passing through it until the two are apart (passBy).
namespace {
constexpr float dt = 1.0f / 60.0f;

// A player's capsule at the origin, and a disc made inside it that passes it by.
class PassByTest : public ::testing::Test {
protected:
    PassByTest() {
        world.init();
        capsule = capsuleAtTheOrigin();
    }

    CapsuleController* capsuleAtTheOrigin() {
        CapsuleController* made = world.createCapsuleController(playerRadius, playerHeight);
        made->setPosition(glm::dvec3(0.0));
        return made;
    }

    RigidBody* discPassingBy(const glm::vec3& at, const glm::vec3& velocity) {
        RigidBody* disc = throwFrisbee(world, Pose(at), velocity);
        world.passBy(*disc, capsule->getActor()->getId());
        return disc;
    }

    PhysicsWorld world;
    CapsuleController* capsule = nullptr;
};

// A disc made inside a player's capsule: passing by, it leaves it untouched; from the step after the
// two are apart, it bounces off the capsule like any disc. Faults caught: a pass that the solver or
// the sweeps ignore (the disc is squeezed out of the capsule); a pass that never ends (a disc that
// comes back through its thrower for the rest of its flight).
TEST_F(PassByTest, ADiscMadeInsideACapsulePassesThroughItUntilTheyAreApart) {
    RigidBody* disc = discPassingBy(glm::vec3(0.1f, 0.2f, 0.0f), glm::vec3(20.0f, 0.0f, 0.0f));
    for (int i = 0; i < 4; ++i) {
        world.step(dt);
    }
    EXPECT_NEAR(disc->getGlobalPose().position.x, 0.1f + 4.0f * 20.0f * dt, 1e-4f);
    EXPECT_EQ(disc->getLinearVelocity().x, 20.0f);
    EXPECT_EQ(disc->getAngularVelocity(), glm::vec3(0.0f));

    disc->setLinearVelocity(glm::vec3(-20.0f, 0.0f, 0.0f));
    float nearest = disc->getGlobalPose().position.x;
    for (int i = 0; i < 8; ++i) {
        world.step(dt);
        nearest = std::min(nearest, disc->getGlobalPose().position.x);
    }
    EXPECT_GT(disc->getLinearVelocity().x, 0.0f) << "the disc passed through the capsule again";
    EXPECT_GT(nearest, bodyCapsuleRadius + frisbeeHalfExtents.x - 0.01f);
}

// A capsule that leaves the world while a disc passes it by ends the pass: the disc is never asked
// about a body that is gone (the sanitizers' build reports it), nor mistakes a capsule made later in
// its memory for it. The disc starts diagonally off the capsule, their boxes overlapping, the shapes
// 5 cm apart.
TEST_F(PassByTest, ACapsuleReleasedWhileADiscPassesItByEndsThePass) {
    RigidBody* disc = discPassingBy(glm::vec3(0.55f, 0.2f, 0.55f), glm::vec3(0.0f));
    world.step(dt);
    world.releaseController(capsule);
    capsule = capsuleAtTheOrigin();
    disc->setLinearVelocity(glm::vec3(-7.0f, 0.0f, -7.0f));
    for (int i = 0; i < 4; ++i) {
        world.step(dt);
    }
    EXPECT_GT(glm::dot(disc->getLinearVelocity(), glm::vec3(1.0f, 0.0f, 1.0f)), 0.0f)
        << "the disc passed through the new capsule";
}
} // namespace
