#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/TestLevels.h"
#include "tests/support/LogCapture.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr float dt = 1.0f / 60.0f;
// The game's player capsule.
constexpr float radius = 0.39f;
constexpr float height = 1.18f;
// The swept capsule's reach from its axis.
constexpr float reach = radius + CapsuleController::contactOffset;

// One controller on a level built for the case, moved the way the player moves it: a horizontal
// speed, doubled gravity that builds up until a move reports ground below.
class ControllerCourse : public testing::Test {
protected:
    void build(std::vector<LevelMesh> pieces, const glm::dvec3& foot = glm::dvec3(0.0)) {
        pieces.push_back(floorMesh(50.0f));
        world = std::make_unique<PhysicsWorld>();
        world->init();
        world->addRigidStatic(pieces);
        controller = world->createCapsuleController(radius, height);
        controller->setFootPosition(foot);
    }

    ControllerCollisionFlags walk(const glm::vec3& velocity) {
        fallSpeed += 2.0f * world->getGravity().y * dt;
        const glm::vec3 displacement = velocity * dt + glm::vec3(0.0f, fallSpeed * dt, 0.0f);
        const ControllerCollisionFlags flags = controller->move(displacement, 0.001f, dt);
        if (flags & ControllerCollisionFlag::CollisionDown) {
            fallSpeed = 0.0f;
        }
        world->step(dt);
        return flags;
    }

    void walkFor(int steps, const glm::vec3& velocity) {
        for (int i = 0; i < steps; ++i) {
            walk(velocity);
        }
    }

    glm::vec3 foot() const { return glm::vec3(controller->getFootPosition()); }

    std::unique_ptr<PhysicsWorld> world;
    CapsuleController* controller = nullptr;
    float fallSpeed = 0.0f;
};

TEST_F(ControllerCourse, StandsOnAFlatFloor) {
    build({});
    walkFor(30, glm::vec3(0.0f));
    EXPECT_NEAR(foot().y, 0.0f, 0.005f);
    EXPECT_EQ(walk(glm::vec3(0.0f)), ControllerCollisionFlag::CollisionDown);
    EXPECT_NEAR(controller->getPosition().y, height / 2 + radius + CapsuleController::contactOffset, 0.005);
}

TEST_F(ControllerCourse, WalksOnTheFloorWithoutTouchingTheSides) {
    build({});
    walkFor(5, glm::vec3(0.0f));
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(walk(glm::vec3(5.0f, 0.0f, 0.0f)), ControllerCollisionFlag::CollisionDown);
    }
    EXPECT_NEAR(foot().x, 5.0f, 0.1f);
    EXPECT_NEAR(foot().y, 0.0f, 0.005f);
}

struct StepCase {
    float height;
    bool climbed;
};

TEST_F(ControllerCourse, ClimbsStepsUpToTheStepOffset) {
    for (const StepCase step : {StepCase{0.4f, true}, StepCase{0.6f, false}}) {
        fallSpeed = 0.0f;
        build({boxMesh(glm::vec3(2.0f, 0.0f, -5.0f), glm::vec3(8.0f, step.height, 5.0f))});
        walkFor(90, glm::vec3(4.0f, 0.0f, 0.0f));
        if (step.climbed) {
            EXPECT_NEAR(foot().y, step.height, 0.005f) << step.height;
            EXPECT_GT(foot().x, 4.0f) << step.height;
        } else {
            EXPECT_NEAR(foot().y, 0.0f, 0.005f) << step.height;
            EXPECT_NEAR(foot().x, 2.0f - reach, 0.01f) << step.height;
        }
    }
}

TEST_F(ControllerCourse, WalksUpAThirtyDegreeRamp) {
    build({rampMesh(2.0f, 6.0f, 30.0f, 5.0f)});
    walkFor(90, glm::vec3(4.0f, 0.0f, 0.0f));
    const glm::vec3 at = foot();
    ASSERT_GT(at.x, 5.5f);
    // The capsule's round bottom touches the slope uphill of its axis, so it stands a little higher.
    EXPECT_NEAR(at.y, (at.x - 2.0f) * std::tan(glm::radians(30.0f)), 0.15f);
    EXPECT_TRUE(controller->getState().collisionFlags & ControllerCollisionFlag::CollisionDown);
}

// Going down, the step offset keeps the capsule on the slope instead of launching it off each step.
TEST_F(ControllerCourse, WalksDownARampStayingOnIt) {
    build({rampMesh(-8.0f, 6.0f, 30.0f, 5.0f)}, glm::dvec3(-2.5, 5.5 * std::tan(glm::radians(30.0)) + 0.2, 0.0));
    walkFor(20, glm::vec3(0.0f));
    for (int i = 0; i < 30; ++i) {
        EXPECT_TRUE(walk(glm::vec3(-4.0f, 0.0f, 0.0f)) & ControllerCollisionFlag::CollisionDown) << "step " << i;
    }
    EXPECT_LT(foot().x, -4.0f);
}

TEST_F(ControllerCourse, QueryFiltersChooseWhatTheSweepsSee) {
    build({});
    const FilterData playersOnly{2, 0, 0, 0};
    const ControllerFilters filters[] = {{&playersOnly, true, true}, {nullptr, false, true}};
    for (const ControllerFilters& filter : filters) {
        controller->setFootPosition(glm::dvec3(0.0));
        EXPECT_EQ(controller->move(glm::vec3(0.0f, -0.5f, 0.0f), 0.001f, dt, filter), 0);
        EXPECT_NEAR(foot().y, -0.5f, 1e-4f) << "the floor must not be seen";
    }
}

TEST_F(ControllerCourse, DoesNotClimbASixtyDegreeRamp) {
    build({rampMesh(2.0f, 3.0f, 60.0f, 5.0f)});
    float highest = 0.0f;
    for (int i = 0; i < 120; ++i) {
        walk(glm::vec3(4.0f, 0.0f, 0.0f));
        highest = std::max(highest, foot().y);
    }
    EXPECT_LT(highest, 0.05f);
    EXPECT_LT(foot().x, 2.0f);
}

TEST_F(ControllerCourse, SlidesAlongAWall) {
    build({boxMesh(glm::vec3(2.0f, 0.0f, -20.0f), glm::vec3(3.0f, 3.0f, 20.0f))});
    for (int i = 0; i < 90; ++i) {
        const ControllerCollisionFlags flags = walk(glm::vec3(3.0f, 0.0f, 3.0f));
        ASSERT_LE(foot().x, 2.0f - reach + 0.002f) << "step " << i;
        if (i > 60) {
            EXPECT_TRUE(flags & ControllerCollisionFlag::CollisionSides);
        }
    }
    EXPECT_GT(foot().z, 3.5f) << "the motion along the wall must go on";
}

TEST_F(ControllerCourse, StopsInACornerWithoutJitterOrTunnelling) {
    build({boxMesh(glm::vec3(2.0f, 0.0f, -20.0f), glm::vec3(3.0f, 3.0f, 20.0f)),
           boxMesh(glm::vec3(-20.0f, 0.0f, 2.0f), glm::vec3(3.0f, 3.0f, 3.0f))});
    walkFor(90, glm::vec3(4.0f, 0.0f, 3.0f));
    glm::vec3 settled = foot();
    EXPECT_NEAR(settled.x, 2.0f - reach, 0.01f);
    EXPECT_NEAR(settled.z, 2.0f - reach, 0.01f);
    for (int i = 0; i < 60; ++i) {
        walk(glm::vec3(4.0f, 0.0f, 3.0f));
        EXPECT_LT(glm::length(foot() - settled), 1e-4f) << "step " << i;
        settled = foot();
    }
}

TEST_F(ControllerCourse, FallLandsWithTheDownFlag) {
    build({}, glm::dvec3(0.0, 3.0, 0.0));
    int landedAt = -1;
    for (int i = 0; i < 120 && landedAt < 0; ++i) {
        const ControllerCollisionFlags flags = walk(glm::vec3(0.0f));
        EXPECT_FALSE(controller->getState().isMovingUp);
        if (flags & ControllerCollisionFlag::CollisionDown) {
            landedAt = i;
        }
    }
    // Doubled gravity covers 3 m in sqrt(3 / 9.81) s, about 33 steps.
    EXPECT_NEAR(landedAt, 33, 2);
    EXPECT_NEAR(foot().y, 0.0f, 0.005f);
}

TEST_F(ControllerCourse, JumpGoesUpUntilTheCeiling) {
    build({boxMesh(glm::vec3(-5.0f, 3.0f, -5.0f), glm::vec3(5.0f, 4.0f, 5.0f))});
    walkFor(5, glm::vec3(0.0f));
    fallSpeed = 7.0f;
    walk(glm::vec3(0.0f));
    EXPECT_TRUE(controller->getState().isMovingUp);
    bool hitCeiling = false;
    for (int i = 0; i < 30; ++i) {
        hitCeiling = hitCeiling || (walk(glm::vec3(0.0f)) & ControllerCollisionFlag::CollisionUp);
        EXPECT_LE(controller->getPosition().y + height / 2 + reach, 3.0 + 1e-3);
    }
    EXPECT_TRUE(hitCeiling);
}

TEST_F(ControllerCourse, OtherControllersBlockButDiscsAndHitboxesDoNot) {
    build({});
    CapsuleController* other = world->createCapsuleController(radius, height);
    other->setFootPosition(glm::dvec3(3.0, 0.0, 0.0));
    world->createKinematicRigidDynamic(Pose(glm::vec3(1.5f, 1.0f, 0.0f)), 1.0f, Geometry::box(glm::vec3(0.3f, 1.0f, 0.3f)),
                                      Pose(), false, nullptr);
    RigidBody* disc = world->createRigidDynamic(Pose(glm::vec3(1.0f, 0.5f, 0.0f)), false, nullptr);
    world->attachShape(*disc, Geometry::box(glm::vec3(0.3f, 0.05f, 0.3f)), Pose(), nullptr);
    disc->updateMassAndInertia(1.0f);
    walkFor(60, glm::vec3(3.0f, 0.0f, 0.0f));
    // Stopped by the other capsule: its real radius plus the swept one.
    EXPECT_NEAR(foot().x, 3.0f - radius - reach, 0.01f);
}

// A released controller leaves no capsule behind: neither other controllers nor dynamic bodies meet
// anything where it stood.
TEST_F(ControllerCourse, AReleasedControllerLeavesNothingBehind) {
    build({});
    CapsuleController* other = world->createCapsuleController(radius, height);
    other->setFootPosition(glm::dvec3(3.0, 0.0, 0.0));
    world->releaseController(other);
    world->releaseController(nullptr);
    RigidBody* ball = world->createRigidDynamic(Pose(glm::vec3(3.0f, 3.0f, 0.0f)), false, nullptr);
    world->attachShape(*ball, Geometry::sphere(0.1f), Pose(), nullptr);
    ball->updateMassAndInertia(1.0f);
    walkFor(90, glm::vec3(3.0f, 0.0f, 0.0f));
    EXPECT_GT(foot().x, 4.0f) << "walked through where the other controller was";
    EXPECT_NEAR(ball->getGlobalPose().position.y, 0.1f, 0.02f) << "the ball fell to the floor";

    LogCapture log;
    world->releaseController(controller + 1);
    EXPECT_EQ(log.messages(spdlog::level::err).size(), 1u);
}

TEST_F(ControllerCourse, InvalidMovesAreRefused) {
    build({});
    walkFor(5, glm::vec3(0.0f));
    const glm::dvec3 before = controller->getPosition();
    LogCapture log;
    EXPECT_EQ(controller->move(glm::vec3(std::nanf("")), 0.001f, dt), 0);
    EXPECT_FALSE(controller->setPosition(glm::dvec3(std::numeric_limits<double>::infinity(), 0.0, 0.0)));
    EXPECT_EQ(world->createCapsuleController(-1.0f, 1.0f), nullptr);
    controller->getActor()->release();
    EXPECT_EQ(log.messages(spdlog::level::err).size(), 4u);
    EXPECT_EQ(walk(glm::vec3(1.0f, 0.0f, 0.0f)), ControllerCollisionFlag::CollisionDown) << "the controller works on";
    EXPECT_NEAR(controller->getPosition().z, before.z, 1e-9);
}

TEST_F(ControllerCourse, CapsuleBodyFollowsAsGroupPlayer) {
    build({});
    controller->setFootPosition(glm::dvec3(4.0, 1.0, 2.0));
    const RigidBody* actor = controller->getActor();
    EXPECT_EQ(actor->getType(), BodyType::Kinematic);
    EXPECT_EQ(actor->getShape(0).simulationFilterData, (FilterData{2, 0, 0, 0}));
    EXPECT_EQ(actor->getShape(0).queryFilterData, (FilterData{2, 0, 0, 0}));
    EXPECT_NEAR(glm::length(actor->getGlobalPose().position - glm::vec3(controller->getPosition())), 0.0f, 1e-5f);
}
} // namespace
