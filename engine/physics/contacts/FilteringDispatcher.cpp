#include "engine/physics/contacts/FilteringDispatcher.h"

#include "engine/physics/contacts/BodyPairFilter.h"

bool FilteringDispatcher::needsCollision(const btCollisionObject* object0, const btCollisionObject* object1) {
    const std::optional<PairFlags> flags = pairFlagsOf(*object0, *object1);
    return flags && (*flags & PairFlag::DetectDiscreteContact) &&
           btCollisionDispatcher::needsCollision(object0, object1);
}

bool FilteringDispatcher::needsResponse(const btCollisionObject* object0, const btCollisionObject* object1) {
    const std::optional<PairFlags> flags = pairFlagsOf(*object0, *object1);
    return flags && (*flags & PairFlag::SolveContact) && btCollisionDispatcher::needsResponse(object0, object1);
}
