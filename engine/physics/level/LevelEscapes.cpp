#include "engine/physics/level/LevelEscapes.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/RigidBody.h"

#include <algorithm>

namespace {
// How far the body reaches from its centre along the unit direction, by its bounds.
btScalar reachAlong(const btRigidBody& body, const btVector3& direction) {
    btVector3 min, max;
    body.getAabb(min, max);
    const btVector3 half = 0.5f * (max - min);
    const btVector3 centre = 0.5f * (max + min);
    return direction.dot(centre - body.getCenterOfMassPosition()) + btFabs(direction.x()) * half.x() +
           btFabs(direction.y()) * half.y() + btFabs(direction.z()) * half.z();
}
} // namespace

void LevelEscapes::beforeStep(const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    for (const auto& body : bodies) {
        if (body->getType() == BodyType::Dynamic && body->getNbShapes() > 0 && body->takePlacement()) {
            forget(*body); // put somewhere else on its way out: the way out starts again from there
            lookAt(*body, bodies);
        }
    }
    for (Escape& escape : escapes) {
        btRigidBody& moving = escape.body->bullet().body;
        escape.from = moving.getCenterOfMassPosition();
        moving.setLinearVelocity(escape.direction * escapeSpeed);
        moving.setAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
        moving.activate(true);
    }
}

void LevelEscapes::lookAt(RigidBody& body, const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    const btRigidBody& moving = body.bullet().body;
    for (const auto& level : bodies) {
        if (!level->bullet().level) {
            continue;
        }
        const btTransform& levelPose = level->bullet().body.getWorldTransform();
        const std::optional<btVector3> way =
            level->bullet().level->wayOutFrom(levelPose.invXform(moving.getCenterOfMassPosition()));
        if (way && way->length2() > SIMD_EPSILON) {
            const btVector3 direction = (levelPose.getBasis() * *way).normalized();
            const btScalar remaining = way->length() + reachAlong(moving, direction) + PhysicsTolerances::clearance;
            escapes.push_back({&body, direction, remaining, moving.getCenterOfMassPosition()});
            return;
        }
    }
}

void LevelEscapes::afterStep() {
    for (Escape& escape : escapes) {
        const btVector3 at = escape.body->bullet().body.getCenterOfMassPosition();
        escape.remaining -= escape.direction.dot(at - escape.from);
        if (escape.remaining <= 0.0f) {
            escape.body->markPlaced(); // out of one solid, maybe into the next
        }
    }
    std::erase_if(escapes, [](const Escape& escape) { return escape.remaining <= 0.0f; });
}

void LevelEscapes::forget(const RigidBody& body) {
    std::erase_if(escapes, [&](const Escape& escape) { return escape.body == &body; });
}
