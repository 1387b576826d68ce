#pragma once

#include "engine/physics/character/CapsuleController.h"

#include <btBulletCollisionCommon.h>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <vector>

class RigidBody;

struct SweepHit {
    float distance;   // metres travelled until the capsule touches
    glm::vec3 normal; // of the contact, pointing towards the capsule
    glm::vec3 point;  // where the capsule touches
};

// Sweeps an upright capsule through the world for one controller, ignoring the controller's own
// body. Other controllers are met at their full size, not as the scaled bodies that dynamic bodies
// collide with.
class ControllerSweep {
public:
    using Controllers = std::vector<std::unique_ptr<CapsuleController>>;

    // controllers: every controller of the world, this one included; kept by reference.
    ControllerSweep(const btCollisionWorld& world, const RigidBody& self, const Controllers& controllers, float radius,
                    float height);

    // The first surface that stops the capsule moved from centre by motion; surfaces the motion
    // leaves do not stop it.
    std::optional<SweepHit> cast(const glm::vec3& centre, const glm::vec3& motion, const ControllerFilters& filters) const;

    // The normal of the face just beyond a contact point, seen from above: where the capsule's round
    // bottom rests on an edge, the face it is climbing onto rather than the edge's slant.
    glm::vec3 faceBeyond(const SweepHit& hit, const ControllerFilters& filters) const;

private:
    const btCollisionWorld& world;
    const RigidBody& self;
    const Controllers& controllers;
    btCapsuleShape shape;
};
