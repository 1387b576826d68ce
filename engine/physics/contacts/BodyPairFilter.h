#pragma once

#include "engine/physics/contacts/CollisionFilter.h"

#include <btBulletCollisionCommon.h>
#include <optional>

// The pair flags of two bodies as the collision filter decides them from their filter words, or
// nothing for a pair that must not exist: suppressed by the filter, two bodies of which neither is
// dynamic (static and kinematic bodies never pair with each other), or one passing the other by.
std::optional<PairFlags> pairFlagsOf(const btCollisionObject& object0, const btCollisionObject& object1);

// The broadphase's gate: pairs that must not exist are never created, so they never reach the
// narrow phase. It replaces the broadphase's group and mask test.
class BodyPairFilter : public btOverlapFilterCallback {
public:
    bool needBroadphaseCollision(btBroadphaseProxy* proxy0, btBroadphaseProxy* proxy1) const override;
};
