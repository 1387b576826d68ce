#include "engine/physics/HitboxComponent.h"

#include "engine/Engine.h"
#include "engine/Logging.h"

#include <algorithm>

namespace {
Pose poseOf(const GameObject& object) { return Pose(object.rotation, object.position); }
} // namespace

HitboxComponent::HitboxComponent(GameObject* owner, const Geometry& geometry, const Pose& localPose)
    : Component(owner, "TriggerColliderComponent"), geometry(geometry), localPose(localPose) {}

HitboxComponent::~HitboxComponent() {
    if (actor != nullptr) {
        actor->release();
    }
}

void HitboxComponent::onStart() {
    getGeneralLogger()->debug("HitboxComponent::onStart() {}", owner->name);
    actor = gEngine->physics.createKinematicRigidDynamic(poseOf(*owner), 1.0f, geometry, localPose,
                                                         false, this);
}

void HitboxComponent::onFixedUpdate() {
    while (!contactQueue.empty()) {
        GameObject* other = contactQueue.front();
        contactQueue.pop_front();
        if (other != nullptr && other->id != owner->id) {
            getGeneralLogger()->debug("Dispatching {} contact event callbacks", callbacks.size());
            callbacks.invoke(owner, other);
        }
    }
    // Reached in the next step: the hitbox trails its owner by one step.
    if (actor != nullptr) {
        actor->setKinematicTarget(poseOf(*owner));
    }
}

void HitboxComponent::queueContact(GameObject* other) {
    if (std::find(contactQueue.begin(), contactQueue.end(), other) == contactQueue.end()) {
        contactQueue.push_back(other);
    }
}
