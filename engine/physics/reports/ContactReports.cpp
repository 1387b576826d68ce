#include "engine/physics/reports/ContactReports.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/contacts/BodyPairFilter.h"
#include "engine/physics/sweeps/ShapeSweep.h"

#include <algorithm>

namespace {
using Key = std::pair<std::uint64_t, std::uint64_t>;

Key keyOf(const RigidBody& body0, const RigidBody& body1) {
    return std::minmax(body0.getId(), body1.getId());
}

bool contains(const std::vector<Key>& keys, const Key& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

ContactShape contactShapeOf(const RigidBody& body, int index) {
    const std::size_t shape = index >= 0 && static_cast<std::size_t>(index) < body.getNbShapes() ? index : 0;
    return ContactShape{body.getShape(shape).simulationFilterData, body.getShape(shape).userData};
}
} // namespace

// Room for the hitboxes of a match and the discs that cross them, so that a step allocates nothing
// in the game.
ContactReports::ContactReports() {
    for (std::vector<Key>* keys : {&touching, &previous, &reportKeys}) {
        keys->reserve(32);
    }
    reports.reserve(32);
    hitboxes.reserve(8);
}

void ContactReports::collect(btDispatcher& dispatcher, const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    reports.clear();
    reportKeys.clear();
    touching.clear();
    findTouches(dispatcher);
    sweepFastBodies(bodies);
    previous.swap(touching);
}

void ContactReports::forget(const RigidBody& body) {
    const auto involves = [&](const Key& key) { return key.first == body.getId() || key.second == body.getId(); };
    std::erase_if(previous, involves);
}

void ContactReports::findTouches(btDispatcher& dispatcher) {
    for (int i = 0; i < dispatcher.getNumManifolds(); ++i) {
        const btPersistentManifold& manifold = *dispatcher.getManifoldByIndexInternal(i);
        RigidBody* body0 = rigidBodyOf(manifold.getBody0());
        RigidBody* body1 = rigidBodyOf(manifold.getBody1());
        if (manifold.getNumContacts() == 0 || !body0 || !body1 ||
            !hasGroup(body0->getFilterWord() | body1->getFilterWord(), CollisionGroup::Hitbox)) {
            continue;
        }
        const std::optional<PairFlags> flags = pairFlagsOf(*manifold.getBody0(), *manifold.getBody1());
        const Key key = keyOf(*body0, *body1);
        if (!flags || !(*flags & PairFlag::NotifyTouchFound) || contains(touching, key)) {
            continue;
        }
        touching.push_back(key);
        if (!contains(previous, key)) {
            const btManifoldPoint& point = manifold.getContactPoint(0);
            report(key, *body0, point.m_index0, *body1, point.m_index1, PairFlag::NotifyTouchFound);
        }
    }
}

void ContactReports::sweepFastBodies(const std::vector<std::unique_ptr<RigidBody>>& bodies) {
    hitboxes.clear();
    for (const auto& body : bodies) {
        if (body->getNbShapes() > 0 && hasGroup(body->getFilterWord(), CollisionGroup::Hitbox)) {
            hitboxes.push_back({body.get(), sweptBoxOf(body->bullet())});
        }
    }
    if (hitboxes.empty()) {
        return;
    }
    for (const auto& body : bodies) {
        if (!body->isCcdEnabled() || body->getNbShapes() == 0) {
            continue;
        }
        RigidBody* fast = body.get();
        const SweptBox fastBox = sweptBoxOf(fast->bullet());
        for (const auto& [hitbox, hitboxBox] : hitboxes) {
            if (!overlaps(fastBox, hitboxBox)) {
                continue;
            }
            const std::optional<PairFlags> flags = pairFlagsOf(fast->bullet().body, hitbox->bullet().body);
            const Key key = keyOf(*fast, *hitbox);
            if (!flags || !(*flags & PairFlag::NotifyTouchCcd) || contains(previous, key)) {
                continue;
            }
            const auto found = std::find(reportKeys.begin(), reportKeys.end(), key);
            if (const auto touch = firstTouchOfShapes(fast->bullet(), hitbox->bullet())) {
                if (found != reportKeys.end()) {
                    reports[found - reportKeys.begin()].events |= PairFlag::NotifyTouchCcd;
                } else {
                    report(key, *fast, touch->sweptChild, *hitbox, touch->otherChild, PairFlag::NotifyTouchCcd);
                    // The contact points of a step are found at its start, so a body that ends the
                    // step inside the hitbox shows as touching only in the next step: that is the
                    // same touch, not a new one.
                    touching.push_back(key);
                }
            }
        }
    }
}

void ContactReports::report(const Key& key, RigidBody& body0, int shape0, RigidBody& body1, int shape1,
                            PairFlags event) {
    reportKeys.push_back(key);
    reports.push_back(ContactPair{{contactShapeOf(body0, shape0), contactShapeOf(body1, shape1)}, event});
}

const std::vector<BodyPair>& ContactReports::getContacts(btDispatcher& dispatcher) {
    contacts.clear();
    for (int i = 0; i < dispatcher.getNumManifolds(); ++i) {
        const btPersistentManifold& manifold = *dispatcher.getManifoldByIndexInternal(i);
        RigidBody* body0 = rigidBodyOf(manifold.getBody0());
        RigidBody* body1 = rigidBodyOf(manifold.getBody1());
        if (manifold.getNumContacts() > 0 && body0 && body1) {
            contacts.push_back(body0->getId() < body1->getId() ? BodyPair{body0, body1} : BodyPair{body1, body0});
        }
    }
    const auto byIds = [](const BodyPair& a, const BodyPair& b) {
        return std::make_pair(a.first->getId(), a.second->getId()) < std::make_pair(b.first->getId(), b.second->getId());
    };
    std::sort(contacts.begin(), contacts.end(), byIds);
    contacts.erase(std::unique(contacts.begin(), contacts.end(),
                               [](const BodyPair& a, const BodyPair& b) {
                                   return a.first == b.first && a.second == b.second;
                               }),
                   contacts.end());
    return contacts;
}
