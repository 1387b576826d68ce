#include "engine/physics/contacts/BodyPairFilter.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/contacts/PassingBodies.h"

std::optional<PairFlags> pairFlagsOf(const btCollisionObject& object0, const btCollisionObject& object1) {
    const RigidBody* body0 = rigidBodyOf(&object0);
    const RigidBody* body1 = rigidBodyOf(&object1);
    if (!body0 || !body1 || (body0->getType() != BodyType::Dynamic && body1->getType() != BodyType::Dynamic) ||
        passingBy(*body0, *body1)) {
        return std::nullopt;
    }
    PairFlags flags = 0;
    const FilterData data0{body0->getFilterWord()};
    const FilterData data1{body1->getFilterWord()};
    if (filterShader(data0, data1, flags) == FilterFlag::Suppress) {
        return std::nullopt;
    }
    return flags;
}

bool BodyPairFilter::needBroadphaseCollision(btBroadphaseProxy* proxy0, btBroadphaseProxy* proxy1) const {
    const auto* object0 = static_cast<const btCollisionObject*>(proxy0->m_clientObject);
    const auto* object1 = static_cast<const btCollisionObject*>(proxy1->m_clientObject);
    return object0 && object1 && pairFlagsOf(*object0, *object1).has_value();
}
