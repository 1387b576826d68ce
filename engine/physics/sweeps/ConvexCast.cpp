#include "engine/physics/sweeps/ConvexCast.h"

#include <BulletCollision/NarrowPhaseCollision/btGjkEpaPenetrationDepthSolver.h>
#include <BulletCollision/NarrowPhaseCollision/btGjkPairDetector.h>
#include <BulletCollision/NarrowPhaseCollision/btPointCollector.h>
#include <BulletCollision/NarrowPhaseCollision/btVoronoiSimplexSolver.h>

namespace {
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

std::optional<BodyTouch> castConvex(const btConvexShape& moving, const StepMotion& motion, const btConvexShape& still,
                                    const btTransform& pose) {
    return advanceToTouch(motion, moving.getAngularMotionDisc(),
                          [&](const btTransform& at) { return closestOf(moving, at, still, pose); });
}
