#include "engine/physics/PhysicsWorld.h"

#include "engine/scene/GameObject.h"
#include "tests/engine/physics/TestFrisbee.h"
#include "tests/engine/physics/TestLevels.h"

#include <glm/trigonometric.hpp>
#include <gtest/gtest.h>

namespace {
constexpr float dt = 1.0f / 60.0f;

class RecordingCallback : public SimulationEventCallback {
public:
    void onContact(const ContactPair* pairs, std::uint32_t count) override {
        ++calls;
        reports.insert(reports.end(), pairs, pairs + count);
    }

    int calls = 0;
    std::vector<ContactPair> reports;
};

class ContactReportTest : public testing::Test {
protected:
    void SetUp() override {
        world.init();
        world.setSimulationEventCallback(&recorder);
        hitboxTag = owner.addComponent<Component>("Hitbox").lock().get();
        bodyTag = owner.addComponent<Component>("Body").lock().get();
    }

    RigidBody& hitbox(const glm::vec3& at, const glm::vec3& half) {
        return *world.createKinematicRigidDynamic(Pose(at), 1.0f, Geometry::box(half), Pose(), false, hitboxTag);
    }

    RigidBody& body(const glm::vec3& at, const glm::vec3& velocity, bool ccd, int boxes = 1) {
        RigidBody* created = world.createRigidDynamic(Pose(at), ccd, bodyTag);
        for (int i = 0; i < boxes; ++i) {
            const glm::quat turn = glm::angleAxis(glm::radians(45.0f * i), glm::vec3(0.0f, 1.0f, 0.0f));
            world.attachShape(*created, Geometry::box(frisbeeHalfExtents), Pose(turn, glm::vec3(0.0f)), bodyTag);
        }
        created->updateMassAndInertia(1.0f);
        created->setLinearVelocity(velocity);
        return *created;
    }

    void steps(int count) {
        for (int i = 0; i < count; ++i) {
            world.step(dt);
        }
    }

    bool touching(const RigidBody& a, const RigidBody& b) const {
        for (const BodyPair& pair : world.getContacts()) {
            if ((pair.first == &a && pair.second == &b) || (pair.first == &b && pair.second == &a)) {
                return true;
            }
        }
        return false;
    }

    PhysicsWorld world;
    RecordingCallback recorder;
    GameObject owner{"Owner"};
    Component* hitboxTag = nullptr;
    Component* bodyTag = nullptr;
};

// The hitbox side and the body side of a report, whichever order the pair came in.
void expectHitboxPair(const ContactPair& pair, Component* hitboxTag, Component* bodyTag) {
    const int hitboxSide = pair.shapes[0].filterData.word0 == 1 ? 0 : 1;
    EXPECT_EQ(pair.shapes[hitboxSide].filterData, (FilterData{1, 0, 0, 0}));
    EXPECT_EQ(pair.shapes[hitboxSide].userData, hitboxTag);
    EXPECT_EQ(pair.shapes[1 - hitboxSide].filterData, (FilterData{4, 0, 0, 0}));
    EXPECT_EQ(pair.shapes[1 - hitboxSide].userData, bodyTag);
}

TEST_F(ContactReportTest, HitboxReportsOneTouchAndNeverPushes) {
    // The same fall in a world without the hitbox is the reference: any push would show.
    PhysicsWorld reference;
    reference.init();
    RigidBody* alone = reference.createRigidDynamic(Pose(glm::vec3(0.0f, 3.0f, 0.0f)), false, nullptr);
    reference.attachShape(*alone, Geometry::box(frisbeeHalfExtents), Pose(), nullptr);
    alone->updateMassAndInertia(1.0f);

    const RigidBody& box = hitbox(glm::vec3(0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    RigidBody& falling = body(glm::vec3(0.0f, 3.0f, 0.0f), glm::vec3(0.0f), false);
    bool touched = false;
    for (int i = 0; i < 90; ++i) {
        world.step(dt);
        reference.step(dt);
        touched = touched || touching(box, falling);
        ASSERT_EQ(falling.getGlobalPose().position, alone->getGlobalPose().position) << "step " << i;
    }
    EXPECT_TRUE(touched);
    EXPECT_EQ(box.getGlobalPose().position, glm::vec3(0.0f));
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].events, PairFlag::NotifyTouchFound);
    expectHitboxPair(recorder.reports[0], hitboxTag, bodyTag);
}

TEST_F(ContactReportTest, CapsuleAndHitboxNeverTouch) {
    CapsuleController* controller = world.createCapsuleController(0.39f, 1.18f);
    const RigidBody& box = hitbox(glm::vec3(0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    for (int i = 0; i < 30; ++i) {
        controller->move(glm::vec3(0.01f, 0.0f, 0.0f), 0.001f, dt);
        world.step(dt);
        EXPECT_FALSE(touching(*controller->getActor(), box));
    }
    EXPECT_TRUE(world.getContacts().empty());
    EXPECT_EQ(recorder.calls, 0);
}

// Kinematic and static bodies never pair: a hitbox sunk into the floor, or one on a controller,
// has no contacts at all, whatever the filter would say of the pair.
TEST_F(ContactReportTest, KinematicAndStaticBodiesNeverPair) {
    world.addRigidStatic({floorMesh(20.0f)});
    hitbox(glm::vec3(0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    hitbox(glm::vec3(0.5f, 0.0f, 0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    CapsuleController* controller = world.createCapsuleController(0.39f, 1.18f);
    controller->setFootPosition(glm::dvec3(0.0, -0.5, 0.0));
    steps(5);
    EXPECT_TRUE(world.getContacts().empty());
    EXPECT_EQ(recorder.calls, 0);
}

TEST_F(ContactReportTest, DynamicBoxAndCapsuleCollide) {
    world.addRigidStatic({floorMesh(20.0f)});
    CapsuleController* controller = world.createCapsuleController(0.39f, 1.18f);
    controller->setFootPosition(glm::dvec3(0.0));
    RigidBody& thrown = body(glm::vec3(-3.0f, 1.0f, 0.0f), glm::vec3(8.0f, 0.0f, 0.0f), false);
    bool collided = false;
    for (int i = 0; i < 60; ++i) {
        controller->move(glm::vec3(0.0f, -0.01f, 0.0f), 0.001f, dt);
        world.step(dt);
        collided = collided || touching(*controller->getActor(), thrown);
        EXPECT_LT(thrown.getGlobalPose().position.x, 0.0f) << "the box passed through the capsule";
    }
    EXPECT_TRUE(collided);
    EXPECT_LT(thrown.getLinearVelocity().x, 1.0f);
}

TEST_F(ContactReportTest, SlowOverlapIsReportedOnceWhileItLasts) {
    hitbox(glm::vec3(0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    body(glm::vec3(-2.0f, 0.0f, 0.0f), glm::vec3(2.0f, 0.0f, 0.0f), false);
    steps(40);
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].events, PairFlag::NotifyTouchFound);
}

struct CrossingCase {
    const char* name;
    float hitboxHalfY;
    bool ccd;
    std::size_t reports;
    PairFlags events;
};

// At 40 m/s a disc moves 0.67 m per step, here along its thin axis: it ends a step inside a 2 m
// hitbox, but jumps over a 0.1 m one, which only the sweep sees. Either way the sweep finds the touch
// first, and the contact points that follow in the next step are the same touch.
const CrossingCase crossingCases[] = {
    {"thick hitbox", 1.0f, true, 1, PairFlag::NotifyTouchCcd},
    {"thin hitbox", 0.05f, true, 1, PairFlag::NotifyTouchCcd},
    {"thin hitbox, no continuous detection", 0.05f, false, 0, 0},
};

TEST_F(ContactReportTest, FastCrossingIsReportedOnce) {
    for (const CrossingCase& crossing : crossingCases) {
        PhysicsWorld fresh;
        fresh.init();
        RecordingCallback freshRecorder;
        fresh.setSimulationEventCallback(&freshRecorder);
        fresh.createKinematicRigidDynamic(Pose(glm::vec3(0.0f)), 1.0f,
                                          Geometry::box(glm::vec3(1.0f, crossing.hitboxHalfY, 1.0f)), Pose(), false,
                                          hitboxTag);
        // Placed so that, for the thin box, no step ends with the disc touching it.
        RigidBody* disc = fresh.createRigidDynamic(Pose(glm::vec3(0.0f, -crossing.hitboxHalfY - 0.95f, 0.0f)),
                                                   crossing.ccd, bodyTag);
        fresh.attachShape(*disc, Geometry::box(frisbeeHalfExtents), Pose(), bodyTag);
        disc->updateMassAndInertia(1.0f);
        disc->setLinearVelocity(glm::vec3(0.0f, 40.0f, 0.0f));
        for (int i = 0; i < 12; ++i) {
            fresh.step(dt);
        }
        ASSERT_GT(disc->getGlobalPose().position.y, crossing.hitboxHalfY + 1.0f) << crossing.name;
        ASSERT_EQ(freshRecorder.reports.size(), crossing.reports) << crossing.name;
        if (crossing.reports > 0) {
            EXPECT_EQ(freshRecorder.reports[0].events, crossing.events) << crossing.name;
            expectHitboxPair(freshRecorder.reports[0], hitboxTag, bodyTag);
        }
    }
}

struct Graze {
    float overlap; // how far the disc's flat bottom passes below the hitbox's top, metres
    std::size_t reports;
};

// A disc skimming over a thin hitbox at 60 m/s crosses it within one step, its bottom face a few
// millimetres below the hitbox's top: no step ends with the two touching, so only the sweep sees
// the touch, and it must sweep the disc at its full size to see one this shallow.
TEST_F(ContactReportTest, AGrazeWithinOneStepIsReportedByTheDiscsFullShape) {
    const Graze grazes[] = {{0.002f, 1}, {0.005f, 1}, {0.009f, 1}, {-0.005f, 0}};
    for (const Graze& graze : grazes) {
        PhysicsWorld fresh;
        fresh.init();
        RecordingCallback freshRecorder;
        fresh.setSimulationEventCallback(&freshRecorder);
        fresh.createKinematicRigidDynamic(Pose(glm::vec3(0.0f)), 1.0f, Geometry::box(glm::vec3(0.05f, 1.0f, 1.0f)), Pose(),
                                          false, hitboxTag);
        RigidBody* disc = throwFrisbee(fresh, Pose(glm::vec3(-0.48f, 1.0f + frisbeeHalfExtents.y - graze.overlap, 0.0f)),
                                       glm::vec3(60.0f, 0.0f, 0.0f), bodyTag);
        for (int i = 0; i < 3; ++i) {
            fresh.step(dt);
        }
        ASSERT_GT(disc->getGlobalPose().position.x, 2.0f);
        EXPECT_EQ(freshRecorder.reports.size(), graze.reports) << graze.overlap << " m";
    }
}

// Seen along its axis, a disc of two crossed boxes is an eight-pointed star; the hull of the boxes
// fills in between the points. A rod along the flight of a disc flying face first, 35 cm from its
// centre between two points, passes 2 cm clear of the boxes and 4 cm inside the hull: no touch.
TEST_F(ContactReportTest, ARodBetweenThePointsOfTheDiscsStarIsNotTouched) {
    const float between = glm::radians(22.5f);
    const glm::vec3 rod(0.0f, 0.35f * std::sin(between), 0.35f * std::cos(between));
    hitbox(rod, glm::vec3(1.0f, 0.01f, 0.01f));
    RigidBody* disc = throwFrisbee(world, Pose(turnOf(DiscFacing::FaceFirst), glm::vec3(-1.5f, 0.0f, 0.0f)),
                                   glm::vec3(60.0f, 0.0f, 0.0f), bodyTag);
    steps(4);
    ASSERT_GT(disc->getGlobalPose().position.x, 2.0f);
    EXPECT_TRUE(recorder.reports.empty());
}

TEST_F(ContactReportTest, SeveralShapesOfOneBodyMakeOneReport) {
    hitbox(glm::vec3(0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    body(glm::vec3(0.0f, 1.2f, 0.0f), glm::vec3(0.0f), false, 2);
    steps(30);
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.calls, 1);
}

TEST_F(ContactReportTest, ReleasedBodyIsForgottenWhileTouching) {
    RigidBody& box = hitbox(glm::vec3(0.0f), glm::vec3(1.0f, 1.0f, 0.5f));
    RigidBody& first = body(glm::vec3(0.0f), glm::vec3(0.0f), false);
    steps(1);
    ASSERT_EQ(recorder.reports.size(), 1u);
    first.release();
    EXPECT_TRUE(world.getContacts().empty());
    steps(2);
    EXPECT_EQ(recorder.reports.size(), 1u);
    RigidBody& second = body(glm::vec3(0.0f, 0.2f, 0.0f), glm::vec3(0.0f), false);
    steps(1);
    EXPECT_TRUE(touching(box, second));
    EXPECT_EQ(recorder.reports.size(), 2u) << "a new body where the released one was starts untouched";
}

TEST_F(ContactReportTest, TouchEndsAndStartsAgain) {
    hitbox(glm::vec3(0.0f), glm::vec3(0.5f));
    RigidBody& moving = body(glm::vec3(0.0f, 0.0f, 0.0f), glm::vec3(0.0f), false);
    steps(2);
    moving.setGlobalPose(Pose(glm::vec3(0.0f, 10.0f, 0.0f)));
    steps(2);
    moving.setGlobalPose(Pose(glm::vec3(0.0f, 0.0f, 0.0f)));
    steps(2);
    EXPECT_EQ(recorder.reports.size(), 2u);
}
} // namespace
