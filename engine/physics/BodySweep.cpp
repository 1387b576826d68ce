#include "engine/physics/BodySweep.h"

#include "engine/physics/BulletBody.h"

#include <BulletCollision/NarrowPhaseCollision/btContinuousConvexCollision.h>
#include <BulletCollision/NarrowPhaseCollision/btGjkEpaPenetrationDepthSolver.h>
#include <BulletCollision/NarrowPhaseCollision/btVoronoiSimplexSolver.h>

namespace {
// The hull's rounding (metres): enough for the casts' distance queries to stay clear of overlap
// resolution, little enough that a corner arriving first is met within 4 mm of where it is.
constexpr btScalar hullMargin = 0.005f;
} // namespace

SweptBox sweptBoxOf(const BulletBody& body) {
    SweptBox box;
    btVector3 endMin, endMax;
    const btCollisionShape& shape = *body.body.getCollisionShape();
    shape.getAabb(body.stepStart, box.min, box.max);
    shape.getAabb(body.body.getWorldTransform(), endMin, endMax);
    box.min.setMin(endMin);
    box.max.setMax(endMax);
    return box;
}

bool overlaps(const SweptBox& a, const SweptBox& b) {
    return a.min.x() <= b.max.x() && b.min.x() <= a.max.x() && a.min.y() <= b.max.y() && b.min.y() <= a.max.y() &&
           a.min.z() <= b.max.z() && b.min.z() <= a.max.z();
}

std::optional<BodyTouch> castConvex(const btConvexShape& moving, const btTransform& from, const btTransform& to,
                                    const btConvexShape& still, const btTransform& pose) {
    btVoronoiSimplexSolver simplex;
    btGjkEpaPenetrationDepthSolver overlap;
    btContinuousConvexCollision cast(&moving, &still, &simplex, &overlap);
    btConvexCast::CastResult result;
    if (!cast.calcTimeOfImpact(from, to, pose, pose, result) || result.m_normal.length2() <= 1e-4f) {
        return std::nullopt;
    }
    return BodyTouch{result.m_fraction, result.m_normal.normalized()};
}

btTransform relativeStart(const BulletBody& moving, const BulletBody& other) {
    return other.body.getWorldTransform() * other.stepStart.inverse() * moving.stepStart;
}

std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound) {
    if (compound.getNumChildShapes() == 0) {
        return nullptr;
    }
    auto hull = std::make_unique<btConvexHullShape>();
    for (int i = 0; i < compound.getNumChildShapes(); ++i) {
        const btCollisionShape* child = compound.getChildShape(i);
        if (child->getShapeType() != BOX_SHAPE_PROXYTYPE) {
            return nullptr;
        }
        const btVector3 half = static_cast<const btBoxShape*>(child)->getHalfExtentsWithMargin() -
                               btVector3(hullMargin, hullMargin, hullMargin);
        for (int corner = 0; corner < 8; ++corner) {
            const btVector3 local(corner & 1 ? half.x() : -half.x(), corner & 2 ? half.y() : -half.y(),
                                  corner & 4 ? half.z() : -half.z());
            hull->addPoint(compound.getChildTransform(i) * local, false);
        }
    }
    hull->recalcLocalAabb();
    hull->setMargin(hullMargin);
    return hull;
}

std::optional<BodyTouch> firstTouchOfShapes(const BulletBody& moving, const BulletBody& other) {
    const btTransform start = relativeStart(moving, other);
    const btTransform& end = moving.body.getWorldTransform();
    const btTransform& otherPose = other.body.getWorldTransform();
    std::optional<BodyTouch> first;
    for (int i = 0; i < moving.compound.getNumChildShapes(); ++i) {
        const btCollisionShape* shape = moving.compound.getChildShape(i);
        const btTransform local = moving.compound.getChildTransform(i);
        for (int j = 0; j < other.compound.getNumChildShapes(); ++j) {
            const btCollisionShape* target = other.compound.getChildShape(j);
            if (!shape->isConvex() || !target->isConvex()) {
                continue;
            }
            const auto touch = castConvex(*static_cast<const btConvexShape*>(shape), start * local, end * local,
                                          *static_cast<const btConvexShape*>(target),
                                          otherPose * other.compound.getChildTransform(j));
            if (touch && (!first || touch->fraction < first->fraction)) {
                first = BodyTouch{touch->fraction, touch->normal, i, j};
            }
        }
    }
    return first;
}
