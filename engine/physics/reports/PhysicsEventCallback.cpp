#include "engine/physics/reports/PhysicsEventCallback.h"

#include "engine/Logging.h"
#include "engine/physics/HitboxComponent.h"

namespace {
void queuePair(const ContactPair& pair) {
    const Logger& log = getGeneralLogger();
    log->debug("Pair found!");
    log->debug("FilterData0: {}", pair.shapes[0].filterData.word0);
    log->debug("FilterData1: {}", pair.shapes[1].filterData.word0);
    int receiver = -1;
    if (hasGroup(pair.shapes[0].filterData.word0, CollisionGroup::Hitbox)) {
        receiver = 0;
    } else if (hasGroup(pair.shapes[1].filterData.word0, CollisionGroup::Hitbox)) {
        receiver = 1;
    } else {
        return;
    }
    auto* hitbox = dynamic_cast<HitboxComponent*>(pair.shapes[receiver].userData);
    if (hitbox == nullptr) {
        return;
    }
    const ContactShape& other = pair.shapes[1 - receiver];
    GameObject* otherObject = nullptr;
    if (hasGroup(other.filterData.word0, CollisionGroup::DynamicBody) && other.userData != nullptr) {
        otherObject = other.userData->getOwner();
    }
    hitbox->queueContact(otherObject);
}
} // namespace

void PhysicsEventCallback::onContact(const ContactPair* pairs, std::uint32_t count) {
    getGeneralLogger()->debug("onContact(), {} pairs", count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const PairFlags events = pairs[i].events;
        if ((events & (PairFlag::NotifyTouchFound | PairFlag::NotifyTouchCcd)) != 0) {
            queuePair(pairs[i]);
        }
    }
}
