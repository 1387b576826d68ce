#include "engine/physics/ControllerSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
#include "engine/physics/RigidBody.h"

#include <glm/geometric.hpp>

namespace {
class SweepCallback : public btCollisionWorld::ClosestConvexResultCallback {
public:
    SweepCallback(const btVector3& from, const btVector3& to, const btCollisionObject& self,
                  const ControllerFilters& filters)
        : ClosestConvexResultCallback(from, to), self(self), filters(filters) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override {
        const auto* object = static_cast<const btCollisionObject*>(proxy->m_clientObject);
        const RigidBody* body = rigidBodyOf(object);
        if (object == &self || !body) {
            return false;
        }
        if (body->getType() == BodyType::Static ? !filters.includeStatic : !filters.includeDynamic) {
            return false;
        }
        return body->isSeenByQueries(filters.filterData ? *filters.filterData : FilterData{});
    }

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool normalInWorldSpace) override {
        const btVector3 normal = normalInWorldSpace
                                     ? result.m_hitNormalLocal
                                     : result.m_hitCollisionObject->getWorldTransform().getBasis() * result.m_hitNormalLocal;
        if (normal.dot(m_convexToWorld - m_convexFromWorld) >= 0.0f) {
            return m_closestHitFraction;
        }
        return ClosestConvexResultCallback::addSingleResult(result, normalInWorldSpace);
    }

private:
    const btCollisionObject& self;
    const ControllerFilters& filters;
};
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
    return SweepHit{callback.m_closestHitFraction * glm::length(motion),
                    glm::normalize(toGlm(callback.m_hitNormalWorld))};
}
