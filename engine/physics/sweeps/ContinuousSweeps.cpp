#include "engine/physics/sweeps/ContinuousSweeps.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/contacts/BodyPairFilter.h"
#include "engine/physics/sweeps/ConvexCast.h"
#include "engine/physics/sweeps/SweepResponse.h"

#include <algorithm>

namespace {
bool sweptAgainst(const RigidBody& body, const RigidBody& other) {
    const std::optional<PairFlags> flags = pairFlagsOf(body.bullet().body, other.bullet().body);
    return flags && (*flags & PairFlag::SolveContact) && (*flags & PairFlag::DetectCcdContact);
}

// Half the thickness of the body's bounds across their thinnest side, metres (a disc's half thickness).
btScalar halfThickness(const BulletBody& body) {
    btVector3 min, max;
    body.compound.getAabb(btTransform::getIdentity(), min, max);
    const btVector3 half = 0.5f * (max - min);
    return half[half.minAxis()];
}

// Two dynamic bodies moving less than their thicknesses apart in a step cannot pass through each
// other: if they meet, the step ends with them overlapping, and the solver parts them on the side they
// came from. Most pairs that come close (discs flying side by side, discs in a heap) are such pairs.
bool mayPassThrough(const RigidBody& body, const RigidBody& other) {
    const btTransform start = relativeStart(body.bullet(), other.bullet());
    const btScalar thickness = 2.0f * (halfThickness(body.bullet()) + halfThickness(other.bullet()));
    return (body.bullet().body.getWorldTransform().getOrigin() - start.getOrigin()).length2() > thickness * thickness;
}

// Whether any point of the body may have moved further than distance in the step: its centre's
// motion and what its turn swings its farthest point through.
bool movesFurtherThan(const BulletBody& body, btScalar distance) {
    const btTransform& end = body.body.getWorldTransform();
    const btScalar turn = end.getRotation().angleShortestPath(body.stepStart.getRotation());
    const btScalar travel = (end.getOrigin() - body.stepStart.getOrigin()).length() +
                            turn * body.body.getCollisionShape()->getAngularMotionDisc();
    return travel > distance;
}

// Two dynamic bodies, one with continuous detection, whose centres closed in on each other faster
// than bodies bounce at when the step began.
bool closingFast(const RigidBody& a, const RigidBody& b) {
    if (a.getType() != BodyType::Dynamic || b.getType() != BodyType::Dynamic || (!a.isCcdEnabled() && !b.isCcdEnabled())) {
        return false;
    }
    const btVector3 apart = b.bullet().stepStart.getOrigin() - a.bullet().stepStart.getOrigin();
    const btScalar distance = apart.length();
    const btVector3 closing = b.bullet().stepStartVelocity - a.bullet().stepStartVelocity;
    return distance > SIMD_EPSILON && closing.dot(apart) < -bounceThreshold * distance;
}

std::pair<RigidBody*, RigidBody*> orderedPair(RigidBody* a, RigidBody* b) {
    return a->getId() < b->getId() ? std::make_pair(a, b) : std::make_pair(b, a);
}

bool byIds(const std::pair<RigidBody*, RigidBody*>& x, const std::pair<RigidBody*, RigidBody*>& y) {
    return std::make_pair(x.first->getId(), x.second->getId()) < std::make_pair(y.first->getId(), y.second->getId());
}

btScalar deepestOf(const btPersistentManifold& manifold) {
    btScalar deepest = BT_LARGE_FLOAT;
    for (int i = 0; i < manifold.getNumContacts(); ++i) {
        deepest = btMin(deepest, manifold.getContactPoint(i).getDistance());
    }
    return deepest;
}

// The convex shapes a body is swept with: its hull, or else each of its convex shapes.
template <typename Visit>
void forEachSweptShape(const BulletBody& body, Visit&& visit) {
    if (body.hull) {
        visit(*body.hull, btTransform::getIdentity(), 0);
        return;
    }
    for (int i = 0; i < body.compound.getNumChildShapes(); ++i) {
        const btCollisionShape* child = body.compound.getChildShape(i);
        if (child->isConvex()) {
            visit(*static_cast<const btConvexShape*>(child), body.compound.getChildTransform(i), i);
        }
    }
}

// The moving body carried from `from` to `to` against the other body at its end pose.
std::optional<BodyTouch> touchAlong(const BulletBody& moving, const btTransform& from, const btTransform& to,
                                    const BulletBody& other) {
    std::optional<BodyTouch> first;
    forEachSweptShape(moving, [&](const btConvexShape& shape, const btTransform& local, int child) {
        forEachSweptShape(other, [&](const btConvexShape& target, const btTransform& targetLocal, int targetChild) {
            std::optional<BodyTouch> touch = castConvex(shape, StepMotion(from * local, to * local), target,
                                                        other.body.getWorldTransform() * targetLocal);
            if (touch && (!first || touch->fraction < first->fraction)) {
                first = BodyTouch{touch->fraction, touch->normal, child, targetChild};
            }
        });
    });
    return first;
}

// Where two bodies that overlap when the step begins came together: the normal of their first touch
// had they arrived along this step's relative motion. Corners that meet head on overlap at a slant;
// they touched along the line they came on. The overlap's own normal when the way back overlaps too.
btVector3 approachNormal(const BulletBody& moving, const BulletBody& other, const btVector3& overlapNormal) {
    const btTransform start = relativeStart(moving, other);
    const btVector3 motion = moving.body.getWorldTransform().getOrigin() - start.getOrigin();
    const btTransform before(start.getBasis(), start.getOrigin() - motion);
    const std::optional<BodyTouch> touch = touchAlong(moving, before, start, other);
    return touch && touch->fraction > 0.0f ? touch->normal : overlapNormal;
}

} // namespace

// Room for a match's discs and more, so that a step allocates nothing in the game.
ContinuousSweeps::ContinuousSweeps() {
    targets.reserve(8);
    partners.reserve(64);
    solved.reserve(64);
    contacts.reserve(128);
}

void ContinuousSweeps::sortContacts(btDispatcher& dispatcher) {
    solved.clear();
    contacts.clear();
    for (int i = 0; i < dispatcher.getNumManifolds(); ++i) {
        btPersistentManifold* manifold = dispatcher.getManifoldByIndexInternal(i);
        RigidBody* a = rigidBodyOf(manifold->getBody0());
        RigidBody* b = rigidBodyOf(manifold->getBody1());
        if (manifold->getNumContacts() > 0 && a && b && (a->isCcdEnabled() || b->isCcdEnabled())) {
            contacts.push_back({orderedPair(a, b), manifold});
        }
    }
    // A pair of compounds touches in a manifold per pair of shapes: it is taken whole or not at all.
    std::sort(contacts.begin(), contacts.end(), [](const auto& x, const auto& y) { return byIds(x.first, y.first); });
    for (auto first = contacts.begin(); first != contacts.end();) {
        const auto last =
            std::find_if(first, contacts.end(), [&](const auto& entry) { return entry.first != first->first; });
        const bool touches =
            std::all_of(first, last, [](const auto& entry) { return deepestOf(*entry.second) >= -PhysicsTolerances::solverSlop; });
        const auto [a, b] = first->first;
        if (touches && closingFast(*a, *b) && sweptAgainst(*a, *b)) {
            std::for_each(first, last, [](const auto& entry) { entry.second->clearManifold(); });
        } else {
            solved.push_back(first->first);
        }
        first = last;
    }
}

bool ContinuousSweeps::contains(const std::vector<BodyPair>& pairs, const RigidBody& a, const RigidBody& b) {
    const std::pair<std::uint64_t, std::uint64_t> ids = std::minmax(a.getId(), b.getId());
    const auto idsOf = [](const BodyPair& pair) { return std::make_pair(pair.first->getId(), pair.second->getId()); };
    const auto found = std::lower_bound(pairs.begin(), pairs.end(), ids,
                                        [&](const BodyPair& pair, const auto& key) { return idsOf(pair) < key; });
    return found != pairs.end() && idsOf(*found) == ids;
}

void ContinuousSweeps::apply(const std::vector<std::unique_ptr<RigidBody>>& bodies, btOverlappingPairCache& pairs,
                             float dt) {
    targets.clear();
    for (const auto& body : bodies) {
        if (body->getType() != BodyType::Dynamic && body->getNbShapes() > 0 &&
            !hasGroup(body->getFilterWord(), CollisionGroup::Hitbox)) {
            targets.push_back({body.get(), sweptBoxOf(body->bullet())});
        }
    }
    findPartners(pairs);
    for (const auto& body : bodies) {
        if (body->isCcdEnabled() && body->getNbShapes() > 0) {
            sweep(*body, dt);
        }
    }
}

void ContinuousSweeps::findPartners(btOverlappingPairCache& pairs) {
    partners.clear();
    const btBroadphasePairArray& array = pairs.getOverlappingPairArray();
    for (int i = 0; i < array.size(); ++i) {
        RigidBody* a = rigidBodyOf(static_cast<const btCollisionObject*>(array[i].m_pProxy0->m_clientObject));
        RigidBody* b = rigidBodyOf(static_cast<const btCollisionObject*>(array[i].m_pProxy1->m_clientObject));
        if (!a || !b || a->getType() != BodyType::Dynamic || b->getType() != BodyType::Dynamic) {
            continue;
        }
        if (!a->isCcdEnabled() || (b->isCcdEnabled() && b->getId() < a->getId())) {
            std::swap(a, b);
        }
        if (a->isCcdEnabled()) {
            partners.push_back({a, b});
        }
    }
    std::sort(partners.begin(), partners.end(), byIds);
}

std::optional<BodyTouch> ContinuousSweeps::levelTouch(const RigidBody& body, const RigidBody& level) {
    const BulletBody& moving = body.bullet();
    std::optional<BodyTouch> touch;
    // Resting, or nearly, a body cannot sink deeper than the slop in this step.
    if (!movesFurtherThan(moving, PhysicsTolerances::solverSlop)) {
        return touch;
    }
    forEachSweptShape(moving, [&](const btConvexShape& shape, const btTransform& local, int child) {
        std::optional<BodyTouch> found = levelSweep.firstTouch(shape, local, moving, level.bullet(), PhysicsTolerances::solverSlop);
        if (found && (!touch || found->fraction < touch->fraction)) {
            touch = BodyTouch{found->fraction, found->normal, child, found->otherChild};
        }
    });
    return touch;
}

std::optional<BodyTouch> ContinuousSweeps::bodyTouch(const RigidBody& body, const RigidBody& other) const {
    const BulletBody& moving = body.bullet();
    if (other.getType() == BodyType::Dynamic && !closingFast(body, other) && !mayPassThrough(body, other)) {
        return std::nullopt;
    }
    std::optional<BodyTouch> touch =
        touchAlong(moving, relativeStart(moving, other.bullet()), moving.body.getWorldTransform(), other.bullet());
    // Bodies in contact as the step begins are the solver's, unless the pair was taken from it; a
    // pair within touching distance but without contact points is the sweeps' too.
    if (touch && touch->fraction <= 0.0f) {
        if (contains(solved, body, other)) {
            return std::nullopt;
        }
        if (closingFast(body, other)) {
            touch->normal = approachNormal(moving, other.bullet(), touch->normal);
        }
    }
    return touch;
}

void ContinuousSweeps::consider(RigidBody& body, RigidBody& other, float dt, std::optional<Hit>& first) {
    if (!sweptAgainst(body, other)) {
        return;
    }
    const bool level = other.getType() == BodyType::Static;
    const std::optional<BodyTouch> touch = level ? levelTouch(body, other) : bodyTouch(body, other);
    // A turning body may come within touching distance of a body while its centre moves away: that
    // is the solver's to hold, where a stop would freeze the body in place. A face of the level that
    // the step carries a body deeper into is met whatever carries it there: a spin that swings an
    // edge into the floor is stopped too, and the solver holds the edge from the next step on.
    if (touch && (!first || touch->fraction < first->touch.fraction) &&
        (level || approaching(body, other, touch->normal, dt))) {
        first = Hit{*touch, &other};
    }
}

void ContinuousSweeps::sweep(RigidBody& body, float dt) {
    std::optional<Hit> first;
    // A body asleep does not move, but one that moves may run into it.
    if (body.bullet().body.isActive()) {
        const SweptBox box = sweptBoxOf(body.bullet());
        for (const auto& [other, otherBox] : targets) {
            if (overlaps(box, otherBox)) {
                consider(body, *other, dt, first);
            }
        }
    }
    const auto byId = [](const BodyPair& entry, std::uint64_t id) { return entry.first->getId() < id; };
    for (auto it = std::lower_bound(partners.begin(), partners.end(), body.getId(), byId);
         it != partners.end() && it->first == &body; ++it) {
        consider(body, *it->second, dt, first);
    }
    if (first) {
        stopAtTouch(body, *first->other, first->touch, dt);
    }
}
