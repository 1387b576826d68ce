#include "engine/physics/BodySweep.h"

#include "engine/physics/BulletBody.h"

namespace {
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
        if (minDepth >= 0.0f && -motion.dot(hitNormal) * (1.0f - result.m_hitFraction) <= minDepth) {
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
    for (int i = 0; i < moving.compound.getNumChildShapes(); ++i) {
        const btCollisionShape* child = moving.compound.getChildShape(i);
        if (!child->isConvex()) {
            continue;
        }
        const btTransform& local = moving.compound.getChildTransform(i);
        FirstHit hit(end.getOrigin() - start.getOrigin(), minDepth);
        btCollisionWorld::objectQuerySingle(static_cast<const btConvexShape*>(child), start * local, end * local,
                                            &other.body, other.body.getCollisionShape(),
                                            otherEnd, hit, 0.0f);
        if (hit.hasHit() && (!first || hit.m_closestHitFraction < first->fraction)) {
            first = BodyTouch{hit.m_closestHitFraction, hit.normal.normalized(), i, hit.childIndex};
        }
    }
    return first;
}
