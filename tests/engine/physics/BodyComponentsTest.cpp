#include "engine/Engine.h"
#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/HitboxComponent.h"

#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace {
// Each test works in its own corner of the Engine's one world, far from the others' bodies.
class BodyComponents : public testing::Test {
protected:
    static glm::vec3 corner() {
        static int next = 0;
        return glm::vec3(1000.0f + 100.0f * static_cast<float>(next++), 500.0f, 0.0f);
    }

    GameObject& child(const std::string& name, const glm::vec3& position) {
        GameObject& object = *root.addChild(name).lock();
        object.position = position;
        return object;
    }

    std::shared_ptr<DynamicRigidBodyComponent> body(GameObject& object, const glm::vec3& velocity = glm::vec3(0.0f)) {
        return object.addComponent<DynamicRigidBodyComponent>(1.0f, velocity, false).lock();
    }

    // One fixed step as the game loop makes it: the physics step, then the fixed-update walk.
    void fixedStep() {
        gEngine->physics.step(gEngine->fixedDeltaTime);
        root.fixedUpdate();
    }

    const glm::vec3 origin = corner();
    const Geometry unitBox = Geometry::box(glm::vec3(0.5f));
    const Geometry hitboxBox = Geometry::box(glm::vec3(1.0f, 1.0f, 0.5f));
    const Pose identity;
    GameObject root{"Root"};
};

TEST_F(BodyComponents, ABodyWithoutShapesSwitchesItselfOff) {
    auto component = body(child("Empty", origin));
    LogCapture capture;
    root.update();
    EXPECT_EQ(capture.count("DynamicRigidBodyComponent requires at least one shape to be present."), 1u);
    EXPECT_FALSE(component->isActive());
    EXPECT_EQ(component->actor, nullptr);
}

TEST_F(BodyComponents, QueuedShapesAttachInOrderAndGiveTheMassOfTheirDensity) {
    GameObject& frisbee = child("Frisbee", origin);
    auto component = frisbee.addComponent<DynamicRigidBodyComponent>(2.0f, glm::vec3(0.0f), true).lock();
    component->addShape(unitBox, Pose(glm::vec3(-1.0f, 0.0f, 0.0f)));
    component->addShape(Geometry::box(glm::vec3(0.5f, 0.25f, 0.5f)), Pose(glm::vec3(1.0f, 0.0f, 0.0f)));
    root.update();
    RigidBody& actor = *component->actor;
    ASSERT_EQ(actor.getNbShapes(), 2u);
    EXPECT_EQ(actor.getShape(0).geometry.getHalfExtents(), glm::vec3(0.5f));
    EXPECT_EQ(actor.getShape(1).geometry.getHalfExtents(), glm::vec3(0.5f, 0.25f, 0.5f));
    EXPECT_FLOAT_EQ(actor.getMass(), 2.0f * (1.0f + 0.5f));
    EXPECT_TRUE(actor.isCcdEnabled());

    component->addShape(unitBox, Pose(glm::vec3(0.0f, 2.0f, 0.0f)));
    EXPECT_EQ(actor.getNbShapes(), 2u) << "a started body attaches at its next fixed update";
    fixedStep();
    EXPECT_EQ(actor.getNbShapes(), 3u);
    EXPECT_FLOAT_EQ(actor.getMass(), 2.0f * 2.5f);
}

TEST_F(BodyComponents, TheOwnerFollowsTheSimulatedBody) {
    GameObject& frisbee = child("Frisbee", origin);
    auto component = body(frisbee, glm::vec3(10.0f, 0.0f, 0.0f));
    component->addShape(unitBox, identity);
    root.update();
    for (int i = 0; i < 30; ++i) {
        fixedStep();
    }
    EXPECT_NEAR(frisbee.position.x, origin.x + 5.0f, 0.1f);
    EXPECT_LT(frisbee.position.y, origin.y - 1.0f) << "it falls";
    EXPECT_EQ(frisbee.position, component->actor->getGlobalPose().position);
}

TEST_F(BodyComponents, DestroyingTheOwnerReleasesTheBodyAtOnce) {
    GameObject& frisbee = child("Frisbee", origin);
    auto component = body(frisbee);
    component->addShape(unitBox, identity);
    root.update();
    ASSERT_NE(component->actor, nullptr);
    root.destroyChild(&frisbee);
    EXPECT_EQ(component->actor, nullptr);
}

class Hitboxes : public BodyComponents {
protected:
    Hitboxes() {
        player = &child("Player 1", origin);
        hitbox = player->addComponent<HitboxComponent>(hitboxBox, identity).lock();
        subscription = hitbox->callbacks.subscribe([this](GameObject* self, GameObject* other) {
            EXPECT_EQ(self, player);
            touches.push_back(other);
        });
    }

    GameObject* player;
    std::shared_ptr<HitboxComponent> hitbox;
    std::shared_ptr<HitboxComponent::Callbacks::Function> subscription;
    std::vector<GameObject*> touches;
};

TEST_F(Hitboxes, ATouchingBodyIsHandedOnOnceAndNeverPushed) {
    GameObject& frisbee = child("Frisbee", origin + glm::vec3(0.0f, 0.0f, 0.8f));
    auto component = body(frisbee, glm::vec3(0.0f, 0.0f, -1.0f));
    component->addShape(unitBox, identity);
    root.update();
    for (int i = 0; i < 60; ++i) {
        fixedStep();
    }
    EXPECT_EQ(touches, std::vector<GameObject*>{&frisbee}) << "reported in the step it starts to touch";
    EXPECT_NEAR(component->actor->getLinearVelocity().z, -1.0f, 1e-4f) << "the hitbox does not push";
    EXPECT_EQ(player->position, origin);
}

TEST_F(Hitboxes, QueuedObjectsGoOutOnceEachInOrderAndNeverTheOwner) {
    root.update();
    GameObject& a = child("A", origin);
    GameObject& b = child("B", origin);
    hitbox->queueContact(&a);
    hitbox->queueContact(player);
    hitbox->queueContact(&b);
    hitbox->queueContact(&a);
    hitbox->queueContact(nullptr); // another hitbox's report
    root.fixedUpdate();
    EXPECT_EQ(touches, (std::vector<GameObject*>{&a, &b}));
    touches.clear();
    root.fixedUpdate();
    EXPECT_TRUE(touches.empty()) << "the queue was emptied";
    hitbox->queueContact(&a);
    root.fixedUpdate();
    EXPECT_EQ(touches, std::vector<GameObject*>{&a}) << "a later report queues it again";
}

TEST_F(Hitboxes, WithoutCallbacksTheQueueEmptiesAndLogsTheCountZero) {
    subscription.reset();
    root.update();
    hitbox->queueContact(&child("A", origin));
    LogCapture capture;
    root.fixedUpdate();
    EXPECT_EQ(capture.count("Dispatching 1 contact event callbacks"), 1u)
        << "an expired subscription still counts until the next invoke";
    capture.clear();
    hitbox->queueContact(&child("B", origin));
    root.fixedUpdate();
    EXPECT_EQ(capture.count("Dispatching 0 contact event callbacks"), 1u);
}

TEST_F(Hitboxes, TheEventCallbackQueuesTheOwnerOfTheDynamicSide) {
    GameObject& frisbee = child("Frisbee", origin);
    auto component = body(frisbee);
    const FilterData hitboxWord = filterDataOf(CollisionGroup::Hitbox);
    const FilterData bodyWord = filterDataOf(CollisionGroup::DynamicBody);
    const ContactPair pairs[] = {
        {{{bodyWord, component.get()}, {hitboxWord, hitbox.get()}}, PairFlag::NotifyTouchCcd},
        {{{hitboxWord, hitbox.get()}, {bodyWord, component.get()}}, PairFlag::NotifyTouchFound},
        {{{hitboxWord, hitbox.get()}, {bodyWord, component.get()}}, 0}, // not a report: skipped
        {{{hitboxWord, hitbox.get()}, {hitboxWord, hitbox.get()}}, PairFlag::NotifyTouchFound},
    };
    gEngine->physics.eventCallback.onContact(pairs, 4);
    root.fixedUpdate();
    EXPECT_EQ(touches, std::vector<GameObject*>{&frisbee});
}
} // namespace
