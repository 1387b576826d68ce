#include "engine/physics/character/ControllerSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
#include "engine/physics/RigidBody.h"

#include <algorithm>
#include <glm/geometric.hpp>

namespace {
bool seenBy(const RigidBody& body, const ControllerFilters& filters) {
    if (body.getType() == BodyType::Static ? !filters.includeStatic : !filters.includeDynamic) {
        return false;
    }
    return body.isSeenByQueries(filters.filterData ? *filters.filterData : FilterData{});
}

bool isControllerBody(const btCollisionObject* object, const ControllerSweep::Controllers& controllers) {
    return std::any_of(controllers.begin(), controllers.end(), [&](const std::unique_ptr<CapsuleController>& controller) {
        return &controller->getActor()->bullet().body == object;
    });
}

// A query of the world as one controller sees it: the controllers' bodies (its own too), and what
// its filters leave out, are passed over before the narrow phase.
template <typename Callback>
class ControllerQuery : public Callback {
public:
    ControllerQuery(const btVector3& from, const btVector3& to, const ControllerSweep::Controllers& controllers,
                    const ControllerFilters& filters)
        : Callback(from, to), controllers(controllers), filters(filters) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override {
        const auto* object = static_cast<const btCollisionObject*>(proxy->m_clientObject);
        const RigidBody* body = rigidBodyOf(object);
        return body && !isControllerBody(object, controllers) && seenBy(*body, filters);
    }

private:
    const ControllerSweep::Controllers& controllers;
    const ControllerFilters& filters;
};

class SweepCallback : public ControllerQuery<btCollisionWorld::ClosestConvexResultCallback> {
public:
    using ControllerQuery::ControllerQuery;

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool normalInWorldSpace) override {
        const btVector3 normal = normalInWorldSpace
                                     ? result.m_hitNormalLocal
                                     : result.m_hitCollisionObject->getWorldTransform().getBasis() * result.m_hitNormalLocal;
        // A surface the motion runs along (or leaves) does not stop it. Along: within about 0.06 degrees
        // of parallel, so that a floor touched at the start of a sideways move never ends the move.
        const btVector3 motion = m_convexToWorld - m_convexFromWorld;
        if (normal.dot(motion) >= -1e-3f * motion.length() * normal.length()) {
            return m_closestHitFraction;
        }
        return ClosestConvexResultCallback::addSingleResult(result, normalInWorldSpace);
    }
};

using RayCallback = ControllerQuery<btCollisionWorld::ClosestRayResultCallback>;

// How far beyond the contact, and how far above and below it, the face is looked for (metres).
constexpr float probeReach = 0.01f;
constexpr float probeDepth = 0.05f;
} // namespace

ControllerSweep::ControllerSweep(const btCollisionWorld& world, const RigidBody& self, const Controllers& controllers,
                                 float radius, float height)
    : world(world), self(self), controllers(controllers), shape(radius, height) {}

std::optional<SweepHit> ControllerSweep::cast(const glm::vec3& centre, const glm::vec3& motion,
                                              const ControllerFilters& filters) const {
    const btVector3 from = toBullet(centre);
    const btVector3 to = toBullet(centre + motion);
    const btTransform fromPose(btQuaternion::getIdentity(), from);
    const btTransform toPose(btQuaternion::getIdentity(), to);
    SweepCallback callback(from, to, controllers, filters);
    world.convexSweepTest(&shape, fromPose, toPose, callback);
    for (const auto& controller : controllers) {
        RigidBody& other = *controller->getActor();
        if (&other == &self || !seenBy(other, filters)) {
            continue;
        }
        const btCapsuleShape volume(controller->getRadius(), controller->getHeight());
        btRigidBody& body = other.bullet().body;
        btCollisionWorld::objectQuerySingle(&shape, fromPose, toPose, &body, &volume,
                                            btTransform(btQuaternion::getIdentity(), body.getWorldTransform().getOrigin()),
                                            callback, 0.0f);
    }
    if (!callback.hasHit()) {
        return std::nullopt;
    }
    return SweepHit{callback.m_closestHitFraction * glm::length(motion), glm::normalize(toGlm(callback.m_hitNormalWorld)),
                    toGlm(callback.m_hitPointWorld)};
}

glm::vec3 ControllerSweep::faceBeyond(const SweepHit& hit, const ControllerFilters& filters) const {
    const glm::vec3 away(-hit.normal.x, 0.0f, -hit.normal.z);
    if (glm::length(away) < 1e-4f) {
        return hit.normal;
    }
    const glm::vec3 probe = hit.point + glm::normalize(away) * probeReach;
    const btVector3 from = toBullet(probe + glm::vec3(0.0f, probeDepth, 0.0f));
    const btVector3 to = toBullet(probe - glm::vec3(0.0f, probeDepth, 0.0f));
    RayCallback ray(from, to, controllers, filters);
    world.rayTest(from, to, ray);
    return ray.hasHit() ? glm::normalize(toGlm(ray.m_hitNormalWorld)) : hit.normal;
}
