#include "engine/physics/ControllerSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
#include "engine/physics/RigidBody.h"

#include <glm/geometric.hpp>

namespace {
bool seenBy(const btCollisionObject* object, const btCollisionObject& self, const ControllerFilters& filters) {
    const RigidBody* body = rigidBodyOf(object);
    if (object == &self || !body) {
        return false;
    }
    if (body->getType() == BodyType::Static ? !filters.includeStatic : !filters.includeDynamic) {
        return false;
    }
    return body->isSeenByQueries(filters.filterData ? *filters.filterData : FilterData{});
}

// A query of the world as one controller sees it: its own body, and what its filters leave out,
// are passed over before the narrow phase.
template <typename Callback>
class ControllerQuery : public Callback {
public:
    ControllerQuery(const btVector3& from, const btVector3& to, const btCollisionObject& self,
                    const ControllerFilters& filters)
        : Callback(from, to), self(self), filters(filters) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override {
        return seenBy(static_cast<const btCollisionObject*>(proxy->m_clientObject), self, filters);
    }

private:
    const btCollisionObject& self;
    const ControllerFilters& filters;
};

class SweepCallback : public ControllerQuery<btCollisionWorld::ClosestConvexResultCallback> {
public:
    using ControllerQuery::ControllerQuery;

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool normalInWorldSpace) override {
        const btVector3 normal = normalInWorldSpace
                                     ? result.m_hitNormalLocal
                                     : result.m_hitCollisionObject->getWorldTransform().getBasis() * result.m_hitNormalLocal;
        if (normal.dot(m_convexToWorld - m_convexFromWorld) >= 0.0f) {
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

ControllerSweep::ControllerSweep(const btCollisionWorld& world, const RigidBody& self, float radius, float height)
    : world(world), self(self), shape(radius, height) {}

std::optional<SweepHit> ControllerSweep::cast(const glm::vec3& centre, const glm::vec3& motion,
                                              const ControllerFilters& filters) const {
    const btVector3 from = toBullet(centre);
    const btVector3 to = toBullet(centre + motion);
    SweepCallback callback(from, to, self.bullet().body, filters);
    world.convexSweepTest(&shape, btTransform(btQuaternion::getIdentity(), from),
                          btTransform(btQuaternion::getIdentity(), to), callback);
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
    RayCallback ray(from, to, self.bullet().body, filters);
    world.rayTest(from, to, ray);
    return ray.hasHit() ? glm::normalize(toGlm(ray.m_hitNormalWorld)) : hit.normal;
}
