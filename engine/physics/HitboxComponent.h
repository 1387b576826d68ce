#pragma once

#include "engine/CallbackSet.h"
#include "engine/physics/Geometry.h"
#include "engine/physics/Pose.h"
#include "engine/scene/Component.h"

#include <deque>
#include <functional>

class RigidBody;

// Called with (the hitbox's owner, the object whose body touched it).
using ContactCallback = std::function<void(GameObject*, GameObject*)>;

// A kinematic body that follows its owner and reports the dynamic bodies touching it without
// pushing them. Touches found during a physics step are queued by the world's event callback and
// handed to the callbacks in the fixed update that follows; the owner itself is never handed on.
class HitboxComponent : public Component {
public:
    using Callbacks = CallbackSet<void(GameObject*, GameObject*)>;

    // geometry and localPose are held by reference: the caller keeps them for the hitbox's life.
    HitboxComponent(GameObject* owner, const Geometry& geometry, const Pose& localPose);
    // Takes the body out of the world: it would otherwise report touches to a component that is
    // gone.
    ~HitboxComponent() override;

    void onStart() override;
    void onFixedUpdate() override;

    // Adds an object to the queue unless it is there already.
    void queueContact(GameObject* other);

    Callbacks callbacks;

private:
    const Geometry& geometry;
    const Pose& localPose;
    RigidBody* actor = nullptr;
    // Plain pointers, valid until the end of the fixed-update walk after the step that queued
    // them: an object destroyed in a walk leaves the scene only when the walk ends.
    std::deque<GameObject*> contactQueue;
};
