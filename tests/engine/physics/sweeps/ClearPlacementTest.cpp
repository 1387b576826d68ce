#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/PhysicsWorld.h"

#include "engine/scene/GameObject.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"

#include <gtest/gtest.h>

// Where a disc that is about to be made can go on a straight path (clearPlaceAlong).
namespace {
constexpr float clearance = PhysicsTolerances::clearance;
const glm::vec3 alongX(1.0f, 0.0f, 0.0f);

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
    EXPECT_EQ(world.clearPlaceAlong(discShapes(), glm::vec3(0.0f, 1.0f, 0.0f), to, nullptr), to);
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
        const glm::vec3 placed = world.clearPlaceAlong(discShapes(), c.from, c.to, nullptr);
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
    const glm::vec3 placed = world.clearPlaceAlong(discShapes(), from, beyond, nullptr);
    EXPECT_GT(placed.x + reachX(), 1.0f - 2.0f * clearance);
    EXPECT_LT(placed.x + reachX(), 1.0f);
    EXPECT_EQ(glm::vec2(placed.y, placed.z), glm::vec2(1.0f, 0.0f));

    const glm::vec3 inside(1.2f, 1.0f, 0.0f);
    EXPECT_EQ(world.clearPlaceAlong(discShapes(), inside, beyond, nullptr), inside);

    const glm::vec3 beforeWall(1.5f, 1.0f, 0.0f);
    EXPECT_EQ(world.clearPlaceAlong(discShapes(), from, beforeWall, &other), beforeWall);
}

} // namespace
