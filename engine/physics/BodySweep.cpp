#include "engine/physics/BodySweep.h"

#include "engine/physics/BulletBody.h"

#include <BulletCollision/NarrowPhaseCollision/btGjkEpaPenetrationDepthSolver.h>
#include <BulletCollision/NarrowPhaseCollision/btGjkPairDetector.h>
#include <BulletCollision/NarrowPhaseCollision/btPointCollector.h>
#include <BulletCollision/NarrowPhaseCollision/btVoronoiSimplexSolver.h>
#include <LinearMath/btTransformUtil.h>

namespace {
// The hull's rounding (metres): enough for the casts' distance queries to stay clear of overlap
// resolution, little enough that a corner arriving first is met within 4 mm of where it is.
constexpr btScalar hullMargin = 0.005f;
std::optional<Gap> closestOf(const btConvexShape& moving, const btTransform& at, const btConvexShape& still,
                                 const btTransform& pose) {
    btVoronoiSimplexSolver simplex;
    btGjkEpaPenetrationDepthSolver overlap;
    btGjkPairDetector detector(&moving, &still, &simplex, &overlap);
    btGjkPairDetector::ClosestPointInput input;
    input.m_transformA = at;
    input.m_transformB = pose;
    btPointCollector result;
    detector.getClosestPoints(input, result, nullptr);
    if (!result.m_hasResult || result.m_normalOnBInWorld.length2() < 1e-4f) {
        return std::nullopt;
    }
    return Gap{result.m_distance, result.m_normalOnBInWorld.normalized(), result.m_pointInWorld};
}
} // namespace

SweptBox sweptBoxOf(const btCollisionShape& shape, const btTransform& from, const btTransform& to) {
    SweptBox box;
    btVector3 endMin, endMax;
    shape.getAabb(from, box.min, box.max);
    shape.getAabb(to, endMin, endMax);
    box.min.setMin(endMin);
    box.max.setMax(endMax);
    // Midway through a turn a point strays from the line between its two ends by up to this.
    if (from.getBasis() != to.getBasis()) {
        const btScalar turn = to.getRotation().angleShortestPath(from.getRotation());
        const btScalar stray = shape.getAngularMotionDisc() * (1.0f - btCos(0.5f * turn));
        box.min -= btVector3(stray, stray, stray);
        box.max += btVector3(stray, stray, stray);
    }
    return box;
}

SweptBox sweptBoxOf(const BulletBody& body) {
    return sweptBoxOf(*body.body.getCollisionShape(), body.stepStart, body.body.getWorldTransform());
}

bool overlaps(const SweptBox& a, const SweptBox& b) {
    return a.min.x() <= b.max.x() && b.min.x() <= a.max.x() && a.min.y() <= b.max.y() && b.min.y() <= a.max.y() &&
           a.min.z() <= b.max.z() && b.min.z() <= a.max.z();
}

StepMotion::StepMotion(const btTransform& from, const btTransform& to) : from(from) {
    btTransformUtil::calculateVelocity(from, to, 1.0f, linear, angular);
}

btTransform StepMotion::at(btScalar fraction) const {
    btTransform pose;
    btTransformUtil::integrateTransform(from, linear, angular, fraction, pose);
    return pose;
}

std::optional<BodyTouch> castConvex(const btConvexShape& moving, const StepMotion& motion, const btConvexShape& still,
                                    const btTransform& pose) {
    return advanceToTouch(motion, moving.getAngularMotionDisc(),
                          [&](const btTransform& at) { return closestOf(moving, at, still, pose); });
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
            const auto touch = castConvex(*static_cast<const btConvexShape*>(shape), StepMotion(start * local, end * local),
                                          *static_cast<const btConvexShape*>(target),
                                          otherPose * other.compound.getChildTransform(j));
            if (touch && (!first || touch->fraction < first->fraction)) {
                first = BodyTouch{touch->fraction, touch->normal, i, j, touch->point};
            }
        }
    }
    return first;
}
