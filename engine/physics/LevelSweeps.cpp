#include "engine/physics/LevelSweeps.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"

#include <algorithm>

namespace {
// Where a centre that crossed a surface is put back: this far short of the crossing (metres),
// on the side it came from.
constexpr float backOff = 0.005f;
} // namespace

void LevelSweeps::apply(const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    level.clear();
    for (const auto& body : bodies) {
        if (body->getType() == BodyType::Static && body->getNbShapes() > 0) {
            level.push_back(body.get());
        }
    }
    for (const auto& body : bodies) {
        if (body->isCcdEnabled() && body->getNbShapes() > 0) {
            sweep(*body);
        }
    }
}

void LevelSweeps::sweep(RigidBody& body) const {
    btRigidBody& simulated = body.bullet().body;
    const btVector3 from = body.bullet().stepStart.getOrigin();
    const btVector3 to = simulated.getWorldTransform().getOrigin();
    const btScalar length = (to - from).length();
    if (length < 1e-6f) {
        return;
    }
    // Straight at the level's own trees: the world's broadphase would walk past every other body.
    btCollisionWorld::ClosestRayResultCallback hit(from, to);
    const btTransform rayFrom(btQuaternion::getIdentity(), from);
    const btTransform rayTo(btQuaternion::getIdentity(), to);
    for (RigidBody* piece : level) {
        btRigidBody& object = piece->bullet().body;
        btCollisionWorld::rayTestSingle(rayFrom, rayTo, &object, object.getCollisionShape(), object.getWorldTransform(), hit);
    }
    if (!hit.hasHit()) {
        return;
    }
    btTransform stopped = simulated.getWorldTransform();
    const btScalar travelled = std::max(hit.m_closestHitFraction * length - backOff, btScalar(0.0f));
    stopped.setOrigin(from + (to - from) * (travelled / length));
    simulated.setWorldTransform(stopped);
    simulated.setInterpolationWorldTransform(stopped);
    btVector3 normal = hit.m_hitNormalWorld.normalized();
    if (normal.dot(to - from) > 0.0f) {
        normal = -normal;
    }
    const btVector3 velocity = simulated.getLinearVelocity();
    const btScalar into = velocity.dot(normal);
    if (into < 0.0f) {
        // The ray was cast at the level's pieces only, and each of them has shapes.
        const RigidBody& surface = *rigidBodyOf(hit.m_collisionObject);
        const float restitution = combinedRestitution(body.getShape(0).material, surface.getShape(0).material);
        simulated.setLinearVelocity(velocity - (1.0f + restitution) * into * normal);
    }
    body.bullet().world->updateSingleAabb(&simulated);
}
