#include "engine/physics/PhysicsWorld.h"

#include "tests/engine/physics/TestLevels.h"
#include "tests/support/LogCapture.h"

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/trigonometric.hpp>
#include <gtest/gtest.h>

namespace {
constexpr float dt = 1.0f / 60.0f;

class RigidBodyTest : public testing::Test {
protected:
    void SetUp() override { world.init(); }

    RigidBody& box(const Pose& pose, const glm::vec3& half, float density = 1.0f, const Pose& local = Pose()) {
        RigidBody* body = world.createRigidDynamic(pose, false, nullptr);
        world.attachShape(*body, Geometry::box(half), local, nullptr);
        body->updateMassAndInertia(density);
        return *body;
    }

    void stepFor(float seconds) {
        for (int i = 0; i < static_cast<int>(seconds / dt + 0.5f); ++i) {
            world.step(dt);
        }
    }

    PhysicsWorld world;
};

TEST_F(RigidBodyTest, OneBoxGetsItsMassAndInertiaFromTheDensity) {
    RigidBody& body = box(Pose(), glm::vec3(1.0f, 0.5f, 0.25f), 2.0f);
    EXPECT_FLOAT_EQ(body.getMass(), 2.0f); // 2 kg/m^3 * 2 * 1 * 0.5 m^3
    const glm::vec3 inertia = body.getMassSpaceInertiaTensor();
    EXPECT_NEAR(inertia.x, 2.0f / 12.0f * (1.0f + 0.25f), 1e-5f);
    EXPECT_NEAR(inertia.y, 2.0f / 12.0f * (4.0f + 0.25f), 1e-5f);
    EXPECT_NEAR(inertia.z, 2.0f / 12.0f * (4.0f + 1.0f), 1e-5f);
    EXPECT_NEAR(glm::length(body.getCMassLocalPose().position), 0.0f, 1e-6f);
}

TEST_F(RigidBodyTest, TwoBoxesShareOneCentreOfMass) {
    RigidBody* body = world.createRigidDynamic(Pose(), false, nullptr);
    world.attachShape(*body, Geometry::box(glm::vec3(0.5f)), Pose(glm::vec3(-1.0f, 0.0f, 0.0f)), nullptr);
    world.attachShape(*body, Geometry::box(glm::vec3(1.0f, 0.5f, 0.5f)), Pose(glm::vec3(2.0f, 0.0f, 0.0f)), nullptr);
    ASSERT_TRUE(body->updateMassAndInertia(1.0f));
    EXPECT_FLOAT_EQ(body->getMass(), 3.0f);
    const glm::vec3 centre = body->getCMassLocalPose().position;
    EXPECT_NEAR(centre.x, 1.0f, 1e-5f); // (1 kg at -1 + 2 kg at 2) / 3 kg
    EXPECT_NEAR(centre.y, 0.0f, 1e-6f);
    // About y through the centre: each box's own plus its mass times the squared offset.
    const glm::vec3 inertia = body->getMassSpaceInertiaTensor();
    EXPECT_NEAR(inertia.y, (1.0f / 6.0f + 4.0f) + (2.0f / 12.0f * (4.0f + 1.0f) + 2.0f), 1e-4f);
}

TEST_F(RigidBodyTest, CapsuleMassCountsTheCylinderAndBothCaps) {
    RigidBody* body = world.createRigidDynamic(Pose(), false, nullptr);
    world.attachShape(*body, Geometry::capsule(0.5f, 1.0f), Pose(), nullptr);
    ASSERT_TRUE(body->updateMassAndInertia(1.0f));
    const float pi = glm::pi<float>();
    EXPECT_NEAR(body->getMass(), pi * 0.25f * 2.0f + 4.0f / 3.0f * pi * 0.125f, 1e-4f);
    const glm::vec3 inertia = body->getMassSpaceInertiaTensor();
    EXPECT_LT(inertia.x, inertia.y) << "a capsule lies along its local x axis";
    EXPECT_NEAR(inertia.y, inertia.z, 1e-5f);
}

// The actor frame is what callers set and read; the centre of mass is a frame inside it. A mix-up
// either way shows as a body that jumps when its mass is updated, or spins about the wrong point.
TEST_F(RigidBodyTest, ActorFrameAndCentreOfMassStayApart) {
    const Pose start(glm::angleAxis(0.3f, glm::vec3(0.0f, 1.0f, 0.0f)), glm::vec3(1.0f, 20.0f, 2.0f));
    RigidBody& body = box(start, glm::vec3(0.5f), 1.0f, Pose(glm::vec3(1.0f, 0.0f, 0.0f)));
    EXPECT_NEAR(glm::length(body.getGlobalPose().position - start.position), 0.0f, 1e-5f);
    EXPECT_NEAR(body.getCMassLocalPose().position.x, 1.0f, 1e-6f);

    const Pose moved(glm::quat(1.0f, 0.0f, 0.0f, 0.0f), glm::vec3(0.0f, 50.0f, 0.0f));
    body.setGlobalPose(moved);
    EXPECT_NEAR(glm::length(body.getGlobalPose().position - moved.position), 0.0f, 1e-5f);

    // Half a turn about y spins the box about its centre of mass at (1, y, 0): the actor origin
    // swings round to the far side.
    body.setAngularVelocity(glm::vec3(0.0f, glm::pi<float>(), 0.0f));
    stepFor(1.0f);
    const Pose after = body.getGlobalPose();
    const glm::vec3 centre = after.transform(body.getCMassLocalPose().position);
    EXPECT_NEAR(centre.x, 1.0f, 1e-3f);
    EXPECT_NEAR(centre.z, 0.0f, 1e-3f);
    EXPECT_NEAR(after.position.x, 2.0f, 0.05f);
}

TEST_F(RigidBodyTest, BadDensityChangesNothingAndSaysSo) {
    RigidBody& body = box(Pose(), glm::vec3(0.5f), 3.0f);
    LogCapture log;
    EXPECT_FALSE(body.updateMassAndInertia(0.0f));
    EXPECT_FALSE(body.updateMassAndInertia(std::nanf("")));
    EXPECT_EQ(log.messages(spdlog::level::err).size(), 2u);
    EXPECT_FLOAT_EQ(body.getMass(), 3.0f);
}

TEST_F(RigidBodyTest, BodyWithoutShapesHasUnitMass) {
    RigidBody* body = world.createRigidDynamic(Pose(), false, nullptr);
    EXPECT_FLOAT_EQ(body->getMass(), 1.0f);
    EXPECT_EQ(body->getNbShapes(), 0u);
}

TEST_F(RigidBodyTest, AttachedShapesAreDynamicBodiesUnseenByQueries) {
    RigidBody& body = box(Pose(), glm::vec3(0.5f));
    const Shape& shape = body.getShape(0);
    EXPECT_EQ(shape.simulationFilterData, (FilterData{4, 0, 0, 0}));
    EXPECT_EQ(shape.queryFilterData, FilterData{});
    EXPECT_FALSE(shape.sceneQueryShape);
    EXPECT_FLOAT_EQ(shape.material.restitution, 0.6f);
}

TEST_F(RigidBodyTest, OnlySpheresCapsulesAndBoxesCanBeAttached) {
    RigidBody* body = world.createRigidDynamic(Pose(), false, nullptr);
    const Geometry refused[] = {Geometry::plane(), Geometry::convexMesh(), Geometry::triangleMesh(),
                                Geometry::heightField(), Geometry()};
    LogCapture log;
    for (const Geometry& geometry : refused) {
        world.attachShape(*body, geometry, Pose(), nullptr);
    }
    EXPECT_EQ(body->getNbShapes(), 0u);
    EXPECT_EQ(log.count("A RigidDynamic can only have spheres, capsules and boxes as attached shapes."), 5u);
}

// The level's meshes make its one collision mesh when it is added; a box given to it afterwards
// would sit in the body's shapes without ever colliding.
TEST_F(RigidBodyTest, TheLevelTakesNoAttachedShapes) {
    RigidBody* level = world.addRigidStatic({floorMesh(5.0f)});
    LogCapture log;
    world.attachShape(*level, Geometry::box(glm::vec3(0.5f)), Pose(), nullptr);
    EXPECT_EQ(level->getNbShapes(), 1u);
    EXPECT_EQ(log.messages(spdlog::level::err).size(), 1u);
}

TEST_F(RigidBodyTest, HitboxIsOneKinematicShapeWithTheMassOfItsDensity) {
    RigidBody* hitbox = world.createKinematicRigidDynamic(Pose(glm::vec3(1.0f, 2.0f, 3.0f)), 1.0f,
                                                          Geometry::box(glm::vec3(1.0f, 1.0f, 0.5f)), Pose(), false, nullptr);
    ASSERT_NE(hitbox, nullptr);
    EXPECT_EQ(hitbox->getType(), BodyType::Kinematic);
    ASSERT_EQ(hitbox->getNbShapes(), 1u);
    EXPECT_EQ(hitbox->getShape(0).simulationFilterData, (FilterData{1, 0, 0, 0}));
    EXPECT_EQ(hitbox->getShape(0).queryFilterData, (FilterData{1, 0, 0, 0}));
    EXPECT_FALSE(hitbox->getShape(0).sceneQueryShape);
    EXPECT_FLOAT_EQ(hitbox->getMass(), 4.0f);

    // The target is reached in the next step, not before.
    hitbox->setKinematicTarget(Pose(glm::vec3(1.0f, 2.0f, 4.0f)));
    EXPECT_FLOAT_EQ(hitbox->getGlobalPose().position.z, 3.0f);
    world.step(dt);
    EXPECT_FLOAT_EQ(hitbox->getGlobalPose().position.z, 4.0f);
}

TEST_F(RigidBodyTest, HitboxOfAnotherGeometryIsRefused) {
    LogCapture log;
    EXPECT_EQ(world.createKinematicRigidDynamic(Pose(), 1.0f, Geometry::heightField(), Pose(), false, nullptr), nullptr);
    EXPECT_EQ(world.createKinematicRigidDynamic(Pose(), 1.0f, Geometry::sphere(0.0f), Pose(), false, nullptr), nullptr);
    EXPECT_EQ(log.count("A kinematic RigidDynamic can only have spheres, capsules and boxes as attached shapes."), 2u);
}

TEST_F(RigidBodyTest, InvalidInputIsRefusedWithOneErrorEach) {
    RigidBody& body = box(Pose(glm::vec3(0.0f, 5.0f, 0.0f)), glm::vec3(0.5f));
    const float nan = std::nanf("");
    LogCapture log;
    EXPECT_EQ(world.createRigidDynamic(Pose(glm::vec3(nan)), false, nullptr), nullptr);
    EXPECT_EQ(world.createRigidDynamic(Pose(glm::quat(2.0f, 0.0f, 0.0f, 0.0f), glm::vec3(0.0f)), false, nullptr),
              nullptr);
    world.attachShape(body, Geometry::sphere(-1.0f), Pose(), nullptr);
    world.attachShape(body, Geometry::box(glm::vec3(1.0f, 0.0f, 1.0f)), Pose(), nullptr);
    body.setGlobalPose(Pose(glm::vec3(0.0f, nan, 0.0f)));
    body.setLinearVelocity(glm::vec3(nan));
    body.setKinematicTarget(Pose());
    world.step(0.0f);
    world.step(-dt);
    world.step(nan);
    EXPECT_EQ(log.messages(spdlog::level::err).size(), 10u);
    EXPECT_EQ(body.getNbShapes(), 1u);
    EXPECT_FLOAT_EQ(body.getGlobalPose().position.y, 5.0f) << "refused steps and poses move nothing";
}

TEST(PhysicsWorldSetUp, UseBeforeInitIsRefused) {
    PhysicsWorld world;
    LogCapture log;
    EXPECT_EQ(world.createRigidDynamic(Pose(), false, nullptr), nullptr);
    world.step(dt);
    EXPECT_EQ(log.messages(spdlog::level::err).size(), 2u);
}

TEST(PhysicsWorldSetUp, NamesTheLibraryAndItsVersion) {
    LogCapture log;
    PhysicsWorld world;
    world.init();
    EXPECT_EQ(log.count("Initializing Bullet 3.24"), 1u);
    EXPECT_EQ(world.getGravity(), glm::vec3(0.0f, -9.81f, 0.0f));
}

TEST_F(RigidBodyTest, BoxDroppedOnTheLevelComesToRestOnIt) {
    world.addRigidStatic({floorMesh(20.0f)});
    RigidBody& body = box(Pose(glm::vec3(0.0f, 2.0f, 0.0f)), glm::vec3(0.5f));
    stepFor(4.0f);
    const Pose pose = body.getGlobalPose();
    EXPECT_NEAR(pose.position.y, 0.5f, 0.02f);
    EXPECT_NEAR(glm::length(body.getLinearVelocity()), 0.0f, 0.01f);
    EXPECT_GT(std::abs(pose.rotation.w), 0.999f);
}

struct Pedestal {
    glm::vec3 top; // the middle of its top
    float turn;    // degrees about y, of the pedestal and of the crate put on it
    float half;    // of the crate, and of the pedestal's top across, metres
};

// A crate put on a pedestal whose top is exactly its size. Carried into the crate's frame, the top's
// corners round to either side of the crate's edges by some millionths of a metre, differently at
// each place and turn. The crate must rest on its four corners however the rounding falls, and stay
// where it was put, flat: were a corner that rounds a hair outside the top given up for a point
// partway along an edge, the crate would rest on less than its face, tip and shift before it settles.
TEST_F(RigidBodyTest, ACrateOnAPedestalOfItsSizeStaysWhereItWasPut) {
    const Pedestal pedestals[] = {
        {glm::vec3(3.7f, 0.3f, -11.3f), 17.0f, 0.37f},
        {glm::vec3(0.0f, 0.3f, 0.0f), 33.3f, 0.37f},
        {glm::vec3(3.7f, 0.3f, -11.3f), 45.0f, 0.3f},
        {glm::vec3(-41.3f, 0.3f, 27.9f), 33.3f, 0.37f},
    };
    for (const Pedestal& pedestal : pedestals) {
        PhysicsWorld fresh;
        fresh.init();
        const glm::quat turn = glm::angleAxis(glm::radians(pedestal.turn), glm::vec3(0.0f, 1.0f, 0.0f));
        LevelMesh mesh = boxMesh(glm::vec3(-pedestal.half, -1.0f, -pedestal.half),
                                 glm::vec3(pedestal.half, 0.0f, pedestal.half));
        mesh.transform = glm::translate(glm::mat4(1.0f), pedestal.top) * glm::mat4_cast(turn);
        fresh.addRigidStatic({mesh});
        const glm::vec3 start = pedestal.top + glm::vec3(0.0f, pedestal.half, 0.0f);
        RigidBody* crate = fresh.createRigidDynamic(Pose(turn, start), false, nullptr);
        fresh.attachShape(*crate, Geometry::box(glm::vec3(pedestal.half)), Pose(), nullptr);
        crate->updateMassAndInertia(1.0f);
        float tilt = 0.0f;
        float shift = 0.0f;
        for (int i = 0; i < 240; ++i) {
            fresh.step(dt);
            const Pose pose = crate->getGlobalPose();
            const glm::vec3 up = pose.rotation * glm::vec3(0.0f, 1.0f, 0.0f);
            tilt = std::max(tilt, glm::degrees(std::asin(glm::length(glm::vec2(up.x, up.z)))));
            shift = std::max(shift, glm::length(glm::vec2(pose.position.x - start.x, pose.position.z - start.z)));
        }
        EXPECT_LT(tilt, 0.01f) << pedestal.turn << " deg at " << pedestal.top.x << ", " << pedestal.top.z;
        EXPECT_LT(shift, 1e-4f) << pedestal.turn << " deg at " << pedestal.top.x << ", " << pedestal.top.z;
    }
}

// A box whose centre is 2 cm out beyond the edge of an open sheet tips off it, however finely the
// sheet is cut: what a triangle gives a box lying on it reaches beyond its sides by no more than a
// tenth of a millimetre, on a triangle a millimetre across as on one a metre across. Measured along
// a side vector as long as the edge, that tenth would reach 10 cm out from a 1 mm triangle and 2 cm
// from a 5 mm one, and hold the box up over the void.
TEST_F(RigidBodyTest, ABoxOutOverTheEdgeOfASheetTipsOffHoweverFinelyTheSheetIsCut) {
    const float half = 0.05f;
    for (const float cell : {0.001f, 0.005f}) {
        PhysicsWorld fresh;
        fresh.init();
        fresh.addRigidStatic({gridMesh(static_cast<int>(std::lround(0.2f / cell)), cell)});
        RigidBody* body = fresh.createRigidDynamic(Pose(glm::vec3(0.1f + 0.02f, half, 0.0f)), false, nullptr);
        fresh.attachShape(*body, Geometry::box(glm::vec3(half)), Pose(), nullptr);
        body->updateMassAndInertia(1.0f);
        for (int i = 0; i < 60; ++i) {
            fresh.step(dt);
        }
        EXPECT_LT(body->getGlobalPose().position.y, -1.0f) << "cells of " << cell << " m";
    }
}

// 0.6 on 0.0 averages to 0.3; multiplied, a ball would not bounce off the level at all.
TEST_F(RigidBodyTest, RestitutionIsTheAverageOfBothMaterials) {
    world.addRigidStatic({floorMesh(20.0f)});
    RigidBody* ball = world.createRigidDynamic(Pose(glm::vec3(0.0f, 3.0f, 0.0f)), false, nullptr);
    world.attachShape(*ball, Geometry::sphere(0.25f), Pose(), nullptr);
    ball->updateMassAndInertia(1.0f);
    float impact = 0.0f;
    float rebound = 0.0f;
    for (int i = 0; i < 120; ++i) {
        const float before = ball->getLinearVelocity().y;
        world.step(dt);
        const float after = ball->getLinearVelocity().y;
        if (before < 0.0f && after > 0.0f && impact == 0.0f) {
            impact = -before;
            rebound = after;
        }
    }
    ASSERT_GT(impact, 5.0f);
    EXPECT_NEAR(rebound / impact, 0.3f, 0.05f);
}

TEST_F(RigidBodyTest, ReleasedBodyLeavesTheWorld) {
    world.addRigidStatic({floorMesh(20.0f)});
    RigidBody& resting = box(Pose(glm::vec3(0.0f, 0.5f, 0.0f)), glm::vec3(0.5f));
    stepFor(0.5f);
    EXPECT_EQ(world.getContacts().size(), 1u);
    resting.release();
    EXPECT_TRUE(world.getContacts().empty());
    stepFor(0.1f);
    EXPECT_TRUE(world.getContacts().empty());
}
} // namespace
