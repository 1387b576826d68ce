#include "engine/physics/LevelSweeps.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"

#include <algorithm>

namespace {
// Where a centre that crossed a surface is put back: this far short of the crossing (metres),
// on the side it came from.
constexpr float backOff = 0.005f;

class LevelOnly : public btCollisionWorld::ClosestRayResultCallback {
public:
    using ClosestRayResultCallback::ClosestRayResultCallback;

    bool needsCollision(btBroadphaseProxy* proxy) const override {
        const RigidBody* body = rigidBodyOf(static_cast<const btCollisionObject*>(proxy->m_clientObject));
        return body && body->getType() == BodyType::Static;
    }
};
} // namespace

void LevelSweeps::apply(const btCollisionWorld& world, const std::vector<std::unique_ptr<RigidBody>>& bodies) const {
    for (const auto& body : bodies) {
        if (body->isCcdEnabled() && body->getNbShapes() > 0) {
            sweep(world, *body);
        }
    }
}

void LevelSweeps::sweep(const btCollisionWorld& world, RigidBody& body) const {
    btRigidBody& simulated = body.bullet().body;
    const btVector3 from = body.bullet().stepStart.getOrigin();
    const btVector3 to = simulated.getWorldTransform().getOrigin();
    const btScalar length = (to - from).length();
    if (length < 1e-6f) {
        return;
    }
    LevelOnly hit(from, to);
    world.rayTest(from, to, hit);
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
        const RigidBody* level = rigidBodyOf(hit.m_collisionObject);
        const float restitution = level && level->getNbShapes() > 0
                                      ? combinedRestitution(body.getShape(0).material, level->getShape(0).material)
                                      : 0.0f;
        simulated.setLinearVelocity(velocity - (1.0f + restitution) * into * normal);
    }
    body.bullet().world->updateSingleAabb(&simulated);
}
