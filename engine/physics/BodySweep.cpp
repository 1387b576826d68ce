#include "engine/physics/BodySweep.h"

#include "engine/physics/BulletBody.h"

#include <BulletCollision/NarrowPhaseCollision/btContinuousConvexCollision.h>
#include <BulletCollision/NarrowPhaseCollision/btVoronoiSimplexSolver.h>
#include <algorithm>

namespace {
// The hull is cast this much smaller than the boxes (metres). A disc resting or sliding on a surface
// is pressed into it by up to the solver's slop; so it starts its cast clear of the surface, instead
// of overlapping it, which makes a cast several times dearer. Keep it below the boxes' margin.
constexpr btScalar hullInset = 0.01f;

// Whether a touch at fraction of the motion would, with the rest of the motion, carry the shape more
// than minDepth into the surface of that normal; any touch counts when minDepth is below 0.
bool deepEnough(const btVector3& motion, const btVector3& normal, btScalar fraction, btScalar minDepth) {
    return minDepth < 0.0f || -motion.dot(normal) * (1.0f - fraction) > minDepth;
}

// The earliest accepted touch of one convex shape's sweep, with the index of the child of the
// swept-against compound that it touched.
struct FirstHit : btCollisionWorld::ConvexResultCallback {
    FirstHit(const btVector3& motion, btScalar minDepth) : motion(motion), minDepth(minDepth) {}

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool normalInWorldSpace) override {
        if (result.m_hitFraction >= m_closestHitFraction) {
            return m_closestHitFraction;
        }
        const btVector3 hitNormal = normalInWorldSpace ? result.m_hitNormalLocal
                                                       : result.m_hitCollisionObject->getWorldTransform().getBasis() *
                                                             result.m_hitNormalLocal;
        if (!deepEnough(motion, hitNormal, result.m_hitFraction, minDepth)) {
            return m_closestHitFraction;
        }
        m_closestHitFraction = result.m_hitFraction;
        normal = hitNormal;
        childIndex = result.m_localShapeInfo ? result.m_localShapeInfo->m_triangleIndex : 0;
        return m_closestHitFraction;
    }

    btVector3 motion;
    btScalar minDepth;
    btVector3 normal{0.0f, 0.0f, 0.0f};
    int childIndex = -1;
};
// Whether the moving body's bounding sphere, carried from start to end, comes within reach of the
// other body's bounding sphere at its end pose: a cheap test that passes over most pairs of discs
// whose boxes only overlap because they are long.
bool spheresMeet(const BulletBody& moving, const btTransform& start, const btTransform& end, const BulletBody& other,
                 const btTransform& otherEnd) {
    btVector3 movingCentre, otherCentre;
    btScalar movingRadius, otherRadius;
    moving.compound.getBoundingSphere(movingCentre, movingRadius);
    other.body.getCollisionShape()->getBoundingSphere(otherCentre, otherRadius);
    const btVector3 from = start * movingCentre;
    const btVector3 path = end * movingCentre - from;
    const btVector3 target = otherEnd * otherCentre;
    const btScalar length2 = path.length2();
    const btScalar along = length2 > 0.0f ? btClamped((target - from).dot(path) / length2, btScalar(0.0f), btScalar(1.0f)) : 0.0f;
    const btScalar reach = movingRadius + otherRadius;
    return (from + path * along - target).length2() <= reach * reach;
}

// Two hulls are cast against each other directly, without resolving a start in which they already
// overlap (that is the contact solver's case, and the costliest part of a cast): no touch then.
std::optional<BodyTouch> hullTouch(const BulletBody& moving, const btTransform& start, const btTransform& end,
                                   const BulletBody& other, const btTransform& otherEnd, btScalar minDepth) {
    btVoronoiSimplexSolver simplex;
    btContinuousConvexCollision cast(moving.hull.get(), other.hull.get(), &simplex, nullptr);
    btConvexCast::CastResult result;
    result.m_fraction = 1.0f;
    if (!cast.calcTimeOfImpact(start, end, otherEnd, otherEnd, result) || result.m_normal.length2() <= 1e-4f) {
        return std::nullopt;
    }
    const btVector3 normal = result.m_normal.normalized();
    if (!deepEnough(end.getOrigin() - start.getOrigin(), normal, result.m_fraction, minDepth)) {
        return std::nullopt;
    }
    return BodyTouch{result.m_fraction, normal, 0, 0};
}
} // namespace

SweptBox sweptBoxOf(const BulletBody& body) {
    SweptBox box;
    btVector3 endMin, endMax;
    body.compound.getAabb(body.stepStart, box.min, box.max);
    body.compound.getAabb(body.body.getWorldTransform(), endMin, endMax);
    box.min.setMin(endMin);
    box.max.setMax(endMax);
    return box;
}

bool overlaps(const SweptBox& a, const SweptBox& b) {
    return a.min.x() <= b.max.x() && b.min.x() <= a.max.x() && a.min.y() <= b.max.y() && b.min.y() <= a.max.y() &&
           a.min.z() <= b.max.z() && b.min.z() <= a.max.z();
}

btTransform relativeStart(const BulletBody& moving, const BulletBody& other) {
    return other.body.getWorldTransform() * other.stepStart.inverse() * moving.stepStart;
}

std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound) {
    if (compound.getNumChildShapes() == 0) {
        return nullptr;
    }
    auto hull = std::make_unique<btConvexHullShape>();
    btScalar margin = BT_LARGE_FLOAT;
    for (int i = 0; i < compound.getNumChildShapes(); ++i) {
        const btCollisionShape* child = compound.getChildShape(i);
        if (child->getShapeType() != BOX_SHAPE_PROXYTYPE) {
            return nullptr;
        }
        const auto* box = static_cast<const btBoxShape*>(child);
        margin = std::min(margin, box->getMargin());
        const btVector3 half = box->getHalfExtentsWithMargin() - btVector3(margin, margin, margin);
        for (int corner = 0; corner < 8; ++corner) {
            const btVector3 local(corner & 1 ? half.x() : -half.x(), corner & 2 ? half.y() : -half.y(),
                                  corner & 4 ? half.z() : -half.z());
            hull->addPoint(compound.getChildTransform(i) * local, false);
        }
    }
    hull->recalcLocalAabb();
    hull->setMargin(margin - hullInset);
    return hull;
}

std::optional<BodyTouch> firstTouch(const BulletBody& moving, BulletBody& other, btScalar minDepth) {
    const btTransform& otherEnd = other.body.getWorldTransform();
    const btTransform start = relativeStart(moving, other);
    const btTransform& end = moving.body.getWorldTransform();
    std::optional<BodyTouch> first;
    // A motion no longer than minDepth cannot carry a shape deeper than that.
    if ((minDepth >= 0.0f && (end.getOrigin() - start.getOrigin()).length2() <= minDepth * minDepth) ||
        !spheresMeet(moving, start, end, other, otherEnd)) {
        return first;
    }
    if (moving.hull && other.hull) {
        return hullTouch(moving, start, end, other, otherEnd, minDepth);
    }
    const int casts = moving.hull ? 1 : moving.compound.getNumChildShapes();
    for (int i = 0; i < casts; ++i) {
        const btCollisionShape* shape = moving.hull ? moving.hull.get() : moving.compound.getChildShape(i);
        if (!shape->isConvex()) {
            continue;
        }
        const btTransform local = moving.hull ? btTransform::getIdentity() : moving.compound.getChildTransform(i);
        FirstHit hit(end.getOrigin() - start.getOrigin(), minDepth);
        btCollisionWorld::objectQuerySingle(static_cast<const btConvexShape*>(shape), start * local, end * local,
                                            &other.body, other.body.getCollisionShape(), otherEnd, hit, 0.0f);
        if (hit.hasHit() && (!first || hit.m_closestHitFraction < first->fraction)) {
            first = BodyTouch{hit.m_closestHitFraction, hit.normal.normalized(), i, hit.childIndex};
        }
    }
    return first;
}
