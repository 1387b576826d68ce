#include "engine/physics/ContinuousSweeps.h"

#include "engine/physics/BodyPairFilter.h"
#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"

#include <algorithm>

namespace {
// Touches shallower than this (metres) are left to the contact solver of the next step: resting and
// sliding contacts, and the last millimetres of a slow approach. Deeper ones show a disc inside a wall.
constexpr btScalar solverSlop = 0.01f;
// How far short of its touch a stopped body is put (metres), so that the next step starts clear.
constexpr btScalar backOff = 0.005f;
// How far behind the centre's start the ray of the last guard begins (metres): enough for a start
// exactly on a face, too little to catch a face that the centre is leaving.
constexpr btScalar rayLead = 0.001f;

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
    if (other.getType() != BodyType::Dynamic) {
        return true;
    }
    const btTransform start = relativeStart(body.bullet(), other.bullet());
    const btScalar thickness = 2.0f * (halfThickness(body.bullet()) + halfThickness(other.bullet()));
    return (body.bullet().body.getWorldTransform().getOrigin() - start.getOrigin()).length2() > thickness * thickness;
}

btScalar inverseMass(const RigidBody& body) { return body.getType() == BodyType::Dynamic ? 1.0f / body.getMass() : 0.0f; }

// A moved body's velocity is the step's displacement; a simulated one has its own.
btVector3 velocityOf(const RigidBody& body, float dt) {
    const BulletBody& simulated = body.bullet();
    if (body.getType() == BodyType::Dynamic) {
        return simulated.body.getLinearVelocity();
    }
    return (simulated.body.getWorldTransform().getOrigin() - simulated.stepStart.getOrigin()) / dt;
}

// Puts the body where it was at the fraction of its motion from start to its end pose, less the
// back-off, and bounces the velocity it has into the other body off the normal.
void stopAt(RigidBody& body, const btTransform& start, btScalar fraction, RigidBody& other, const btVector3& normal,
            float dt) {
    btRigidBody& moving = body.bullet().body;
    const btTransform end = moving.getWorldTransform();
    const btScalar length = (end.getOrigin() - start.getOrigin()).length();
    fraction = length > 0.0f ? std::max(fraction - backOff / length, btScalar(0.0f)) : 0.0f;
    const btTransform stopped(start.getRotation().slerp(end.getRotation(), fraction),
                              start.getOrigin().lerp(end.getOrigin(), fraction));
    moving.setWorldTransform(stopped);
    moving.setInterpolationWorldTransform(stopped);
    const btScalar into = (velocityOf(body, dt) - velocityOf(other, dt)).dot(normal);
    if (into < 0.0f) {
        const float restitution = combinedRestitution(body.getShape(0).material, other.getShape(0).material);
        const btScalar impulse = -(1.0f + restitution) * into / (inverseMass(body) + inverseMass(other));
        moving.setLinearVelocity(moving.getLinearVelocity() + normal * (impulse * inverseMass(body)));
        if (other.getType() == BodyType::Dynamic) {
            btRigidBody& pushed = other.bullet().body;
            pushed.setLinearVelocity(pushed.getLinearVelocity() - normal * (impulse * inverseMass(other)));
            pushed.activate(true);
        }
    }
    body.bullet().world->updateSingleAabb(&moving);
}
} // namespace

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
    std::sort(partners.begin(), partners.end(), [](const auto& x, const auto& y) {
        return std::make_pair(x.first->getId(), x.second->getId()) < std::make_pair(y.first->getId(), y.second->getId());
    });
}

void ContinuousSweeps::sweep(RigidBody& body, float dt) {
    const SweptBox box = sweptBoxOf(body.bullet());
    std::optional<BodyTouch> first;
    RigidBody* touched = nullptr;
    const auto consider = [&](RigidBody& other) {
        if (!sweptAgainst(body, other) || !mayPassThrough(body, other)) {
            return;
        }
        const std::optional<BodyTouch> touch = firstTouch(body.bullet(), other.bullet(), solverSlop);
        if (touch && (!first || touch->fraction < first->fraction)) {
            first = touch;
            touched = &other;
        }
    };
    for (const auto& [other, otherBox] : targets) {
        if (overlaps(box, otherBox)) {
            consider(*other);
        }
    }
    const auto byId = [](const std::pair<RigidBody*, RigidBody*>& entry, std::uint64_t id) { return entry.first->getId() < id; };
    for (auto it = std::lower_bound(partners.begin(), partners.end(), body.getId(), byId);
         it != partners.end() && it->first == &body; ++it) {
        consider(*it->second);
    }
    if (first) {
        stopAt(body, relativeStart(body.bullet(), touched->bullet()), first->fraction, *touched, first->normal, dt);
    }
    keepCentreOutOfLevel(body, dt);
}

// The last guard: bodies pressed slowly into the level by others, each step less than the solver's
// slop, are never stopped by the sweep above, and a zero-thickness sheet lets the solver push them
// out on the far side. So the centre never changes sides of a level surface: a ray follows it
// through the step, starting a little behind where it began, for a centre that the last step left
// exactly on a face (a ray that starts on a face does not hit it).
void ContinuousSweeps::keepCentreOutOfLevel(RigidBody& body, float dt) const {
    const btTransform& start = body.bullet().stepStart;
    const btVector3 to = body.bullet().body.getWorldTransform().getOrigin();
    const btScalar length = (to - start.getOrigin()).length();
    if (length < 1e-6f) {
        return;
    }
    const btVector3 from = start.getOrigin() - (to - start.getOrigin()) * (rayLead / length);
    btCollisionWorld::ClosestRayResultCallback hit(from, to);
    const btTransform rayFrom(btQuaternion::getIdentity(), from);
    const btTransform rayTo(btQuaternion::getIdentity(), to);
    RigidBody* surface = nullptr;
    for (const auto& [piece, box] : targets) {
        if (piece->getType() != BodyType::Static) {
            continue;
        }
        btRigidBody& object = piece->bullet().body;
        const btScalar closest = hit.m_closestHitFraction;
        btCollisionWorld::rayTestSingle(rayFrom, rayTo, &object, object.getCollisionShape(), object.getWorldTransform(), hit);
        surface = hit.m_closestHitFraction < closest ? piece : surface;
    }
    if (!surface) {
        return;
    }
    btVector3 normal = hit.m_hitNormalWorld.normalized();
    if (normal.dot(to - from) > 0.0f) {
        normal = -normal;
    }
    const btScalar fraction = (hit.m_closestHitFraction * (to - from).length() - rayLead) / length;
    stopAt(body, start, fraction, *surface, normal, dt);
}
