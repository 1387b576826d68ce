#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/PhysicsWorld.h"

#include "engine/scene/GameObject.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"
#include "tests/engine/physics/TestMatch.h"

#include <glm/gtc/constants.hpp>
#include <gtest/gtest.h>

// Where a disc that is about to be made can go on a straight path (clearPlaceAlong), and a disc made
// inside a capsule passing through it until the two are apart (passBy).
namespace {
constexpr float dt = 1.0f / 60.0f;
constexpr float clearance = PhysicsTolerances::clearance;
const glm::vec3 alongX(1.0f, 0.0f, 0.0f);

// The disc's two boxes as the game makes them, the second turned 45 degrees about y.
const std::vector<LocalShape> discShapes = {
    {Geometry::box(frisbeeHalfExtents), Pose()},
    {Geometry::box(frisbeeHalfExtents),
     Pose(glm::angleAxis(glm::quarter_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)), glm::vec3(0.0f))}};

// How far the unturned disc reaches along +x: the turned box's corner.
float reachX() { return discReach(Pose(), alongX); }

class ClearPlacementTest : public testing::Test {
protected:
    void SetUp() override {
        world.init();
        // A wall whose face towards the origin is at x = 2.
        world.addRigidStatic({boxMesh(glm::vec3(2.0f, -1.0f, -5.0f), glm::vec3(3.0f, 4.0f, 5.0f))});
        hitboxTag = other.addComponent<Component>("Hitbox").lock().get();
    }

    // A player's hitbox as the game gives it, its near face at x = 1.
    void addHitbox() {
        world.createKinematicRigidDynamic(Pose(glm::vec3(2.0f, 1.0f, 0.0f)), 1.0f,
                                          Geometry::box(glm::vec3(1.0f, 1.0f, 0.5f)), Pose(), false, hitboxTag);
    }

    PhysicsWorld world;
    GameObject other{"Other"};
    Component* hitboxTag = nullptr;
};

// Fault caught: a body moved or held back on a path along which it meets nothing.
TEST_F(ClearPlacementTest, APathClearOfEverythingEndsWhereItWasAskedTo) {
    const glm::vec3 to(2.0f - reachX() - 0.01f, 1.0f, 0.3f);
    EXPECT_EQ(world.clearPlaceAlong(discShapes, glm::vec3(0.0f, 1.0f, 0.0f), to, nullptr), to);
}

struct WallCase {
    glm::vec3 from;
    glm::vec3 to;
};

// Ending inside the wall, beyond it, obliquely, or starting with the disc's corner already in the
// face: the disc goes where it reaches to `clearance` short of the face, on the path's side of it.
// Faults caught: a disc left inside or beyond the wall, held back more than a few millimetres,
// pushed out of a start that overlaps the face by another way than its normal.
TEST_F(ClearPlacementTest, APathIntoAWallEndsClearOfItsFace) {
    const float reach = reachX();
    const WallCase cases[] = {
        {{0.0f, 1.0f, 0.0f}, {2.3f, 1.0f, 0.0f}}, // ending inside the wall
        {{0.0f, 1.0f, 0.0f}, {3.5f, 1.0f, 0.0f}}, // beyond it
        {{0.0f, 1.0f, 0.0f}, {2.3f, 1.8f, 1.0f}}, // obliquely
        {{1.7f, 1.0f, 0.0f}, {2.3f, 1.3f, 0.0f}}, // the start's corner 12 cm into the face
        {{1.75f, 1.0f, 0.0f}, {2.3f, 1.3f, 0.0f}}, // both boxes in the face, the turned one deeper
    };
    for (const WallCase& c : cases) {
        const glm::vec3 placed = world.clearPlaceAlong(discShapes, c.from, c.to, nullptr);
        EXPECT_NEAR(placed.x, 2.0f - reach - clearance, 1e-4f) << c.to.x << ", " << c.to.y << ", " << c.to.z;
        const glm::vec3 path = c.to - c.from;
        if (placed.x > c.from.x) {
            // Off the path by no more than the step back along the face's normal.
            const glm::vec3 unit = glm::normalize(path);
            const glm::vec3 offPath = placed - c.from - glm::dot(placed - c.from, unit) * unit;
            EXPECT_LT(glm::length(offPath), clearance + 1e-3f) << c.to.x << ", " << c.to.y << ", " << c.to.z;
        } else {
            EXPECT_EQ(glm::vec2(placed.y, placed.z), glm::vec2(c.from.y, c.from.z));
        }
    }
}

// A hitbox pushes nothing: the disc goes on the path just short of it, or stays at the start when it
// starts inside it. The hitbox of the body's own owner is passed through. Faults caught: a disc made
// beyond a player, or pushed out of a hitbox it starts in, or stopped by its own thrower's hitbox.
TEST_F(ClearPlacementTest, APathIntoAHitboxEndsJustShortOfItUnlessItIsTheOwnersOwn) {
    addHitbox();
    const glm::vec3 from(0.0f, 1.0f, 0.0f);
    const glm::vec3 beyond(4.0f, 1.0f, 0.0f);
    const glm::vec3 placed = world.clearPlaceAlong(discShapes, from, beyond, nullptr);
    EXPECT_GT(placed.x + reachX(), 1.0f - 2.0f * clearance);
    EXPECT_LT(placed.x + reachX(), 1.0f);
    EXPECT_EQ(glm::vec2(placed.y, placed.z), glm::vec2(1.0f, 0.0f));

    const glm::vec3 inside(1.2f, 1.0f, 0.0f);
    EXPECT_EQ(world.clearPlaceAlong(discShapes, inside, beyond, nullptr), inside);

    const glm::vec3 beforeWall(1.5f, 1.0f, 0.0f);
    EXPECT_EQ(world.clearPlaceAlong(discShapes, from, beforeWall, &other), beforeWall);
}

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
