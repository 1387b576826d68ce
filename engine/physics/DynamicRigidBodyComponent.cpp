#include "engine/physics/DynamicRigidBodyComponent.h"

#include "engine/Engine.h"
#include "engine/Logging.h"

DynamicRigidBodyComponent::DynamicRigidBodyComponent(GameObject* owner, float density,
                                                     const glm::vec3& initialLinearVelocity,
                                                     bool enableCcd)
    : Component(owner, "DynamicRigidBodyComponent"), density(density), enableCcd(enableCcd),
      initialLinearVelocity(initialLinearVelocity) {}

DynamicRigidBodyComponent::~DynamicRigidBodyComponent() { onDestroy(); }

void DynamicRigidBodyComponent::onStart() {
    if (pendingShapes.empty()) {
        getGeneralLogger()->error("DynamicRigidBodyComponent requires at least one shape to be present.");
        setActive(false);
        return;
    }
    actor = gEngine->physics.createRigidDynamic(Pose(owner->rotation, owner->position), enableCcd, this);
    if (actor == nullptr) {
        return; // the world has said why
    }
    actor->setLinearVelocity(initialLinearVelocity);
    attachPendingShapes();
    if (passedBodyId != 0) {
        gEngine->physics.passBy(*actor, passedBodyId);
    }
}

void DynamicRigidBodyComponent::onFixedUpdate() {
    if (actor == nullptr) {
        return;
    }
    const Pose pose = actor->getGlobalPose();
    owner->rotation = pose.rotation;
    owner->position = pose.position;
    if (!pendingShapes.empty()) {
        attachPendingShapes();
    }
}

void DynamicRigidBodyComponent::onDestroy() {
    if (actor != nullptr) {
        actor->release();
        actor = nullptr;
    }
}

void DynamicRigidBodyComponent::addShape(const Geometry& geometry, const Pose& localPose) {
    pendingShapes.push_back({localPose, geometry});
}

void DynamicRigidBodyComponent::attachPendingShapes() {
    if (actor == nullptr) {
        return;
    }
    const std::size_t shapesBefore = actor->getNbShapes();
    while (!pendingShapes.empty()) {
        const PendingShape& shape = pendingShapes.front();
        gEngine->physics.attachShape(*actor, shape.geometry, shape.localPose, this);
        pendingShapes.pop_front();
    }
    // A refused shape (a plane, say) has been reported by the world and changes no mass.
    if (actor->getNbShapes() > shapesBefore) {
        actor->updateMassAndInertia(density);
    }
}
