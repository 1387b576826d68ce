#include "engine/physics/level/LevelEscapes.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
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
            Escape escape;
            escape.body = body.get();
            if (findWay(escape, bodies)) {
                escapes.push_back(escape);
            }
        }
    }
    for (Escape& escape : escapes) {
        btRigidBody& moving = escape.body->bullet().body;
        escape.from = moving.getCenterOfMassPosition();
        moving.setLinearVelocity(escape.direction * PhysicsTolerances::escapeSpeed);
        moving.setAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
        moving.activate(true);
    }
}

bool LevelEscapes::findWay(Escape& escape, const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    const btRigidBody& moving = escape.body->bullet().body;
    for (const auto& level : bodies) {
        if (!level->bullet().level) {
            continue;
        }
        const btTransform& levelPose = level->bullet().body.getWorldTransform();
        std::array<glm::vec3, maxWays> barred{};
        for (int i = 0; i < escape.barredCount; ++i) {
            barred[i] = toGlm(levelPose.getBasis().transpose() * escape.barred[i]);
        }
        const std::optional<btVector3> way = level->bullet().level->wayOutFrom(
            levelPose.invXform(moving.getCenterOfMassPosition()), std::span(barred.data(), escape.barredCount));
        if (way && way->length2() > SIMD_EPSILON) {
            escape.direction = (levelPose.getBasis() * *way).normalized();
            escape.remaining = way->length() + reachAlong(moving, escape.direction) + PhysicsTolerances::clearance;
            return true;
        }
    }
    return false;
}

void LevelEscapes::tryAnotherWay(Escape& escape, const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    escape.barred[escape.barredCount++] = escape.direction;
    if (escape.barredCount == maxWays || !findWay(escape, bodies)) {
        escape.remaining = 0.0f;
    }
}

void LevelEscapes::afterStep(const std::vector<std::unique_ptr<RigidBody>>& bodies, float dt) {
    // A quarter of the push's step: less, and something holds the body where it is.
    const btScalar stuck = 0.25f * PhysicsTolerances::escapeSpeed * dt;
    for (Escape& escape : escapes) {
        const btVector3 at = escape.body->bullet().body.getCenterOfMassPosition();
        const btScalar progress = escape.direction.dot(at - escape.from);
        escape.remaining -= progress;
        if (escape.remaining <= 0.0f) {
            escape.body->markPlaced(); // out of one solid, maybe into the next
        } else if (progress < stuck) {
            tryAnotherWay(escape, bodies);
        }
    }
    std::erase_if(escapes, [](const Escape& escape) { return escape.remaining <= 0.0f; });
}

void LevelEscapes::forget(const RigidBody& body) {
    std::erase_if(escapes, [&](const Escape& escape) { return escape.body == &body; });
}
