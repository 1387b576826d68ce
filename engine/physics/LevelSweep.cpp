#include "engine/physics/LevelSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/LevelCollisionMesh.h"

#include <BulletCollision/CollisionShapes/btTriangleShape.h>
#include <LinearMath/btTransformUtil.h>

namespace {
// A touch is a gap below this (metres); a sweep that needs more advances than this to close the gap
// stops where it got to, never later than the touch.
constexpr btScalar touchDistance = 0.001f;
constexpr int maxAdvances = 32;

// How far the shape at pose keeps above the plane through `on` with this unit normal (negative
// when it reaches through it).
btScalar clearance(const btConvexShape& shape, const btTransform& pose, const btVector3& normal, const btVector3& on) {
    const btVector3 local = pose.getBasis().transpose() * -normal;
    return normal.dot(pose * shape.localGetSupportingVertexWithoutMargin(local) - on) - shape.getMargin();
}
// The first moment the shape carried from `from` to `to`, turning at a steady rate, comes within a
// millimetre of the plane, by conservative advancement: each advance is the clearance over the
// fastest the shape can close in on the plane. A start within reach is a touch at 0. Exact for faces
// as large as the arena's walls, where a distance query of the shape against the triangle loses its
// precision and may miss the touch.
std::optional<btScalar> planeTouch(const btConvexShape& shape, const btTransform& from, const btTransform& to,
                                   const btVector3& normal, const btVector3& on) {
    btVector3 linear, angular;
    btTransformUtil::calculateVelocity(from, to, 1.0f, linear, angular);
    const btScalar closing = -linear.dot(normal) + angular.length() * shape.getAngularMotionDisc();
    if (closing <= 0.0f) {
        return std::nullopt;
    }
    btScalar fraction = 0.0f;
    btTransform at = from;
    for (int i = 0; i < maxAdvances; ++i) {
        const btScalar gap = clearance(shape, at, normal, on);
        if (gap < touchDistance) {
            return fraction;
        }
        fraction += gap / closing;
        if (fraction > 1.0f) {
            return std::nullopt;
        }
        btTransformUtil::integrateTransform(from, linear, angular, fraction, at);
    }
    return fraction;
}

// Whether the point, on the triangle's plane or near it, lies over the triangle.
bool over(const btVector3* corners, const btVector3& normal, const btVector3& point) {
    for (int j = 0; j < 3; ++j) {
        const btVector3 edge = corners[(j + 1) % 3] - corners[j];
        if (normal.cross(edge).dot(point - corners[j]) < 0.0f) {
            return false;
        }
    }
    return true;
}
} // namespace

void LevelSweep::Gather::processTriangle(btVector3* triangle, int part, int index) {
    into.push_back({{triangle[0], triangle[1], triangle[2]}, part, index});
}

// The face first: where the shape meets the triangle's plane over the triangle, that is the touch;
// elsewhere it may meet an edge or a corner, or pass by.
std::optional<BodyTouch> LevelSweep::touchOf(const btConvexShape& shape, const btTransform& from, const btTransform& to,
                                            const btVector3* corners, const btVector3& normal) {
    if (const std::optional<btScalar> fraction = planeTouch(shape, from, to, normal, corners[0])) {
        btTransform at;
        btVector3 linear, angular;
        btTransformUtil::calculateVelocity(from, to, 1.0f, linear, angular);
        btTransformUtil::integrateTransform(from, linear, angular, *fraction, at);
        const btVector3 lowest = at * shape.localGetSupportingVertexWithoutMargin(at.getBasis().transpose() * -normal);
        if (over(corners, normal, lowest)) {
            return BodyTouch{*fraction, normal};
        }
    } else {
        return std::nullopt;
    }
    btTriangleShape triangle(corners[0], corners[1], corners[2]);
    triangle.setMargin(0.0f);
    return castConvex(shape, from, to, triangle, btTransform::getIdentity());
}

std::optional<BodyTouch> LevelSweep::firstTouch(const btConvexShape& shape, const btTransform& local,
                                                const BulletBody& moving, const BulletBody& level, btScalar slop) {
    const LevelCollisionMesh* mesh = LevelCollisionMesh::of(*level.body.getCollisionShape());
    if (!mesh) {
        return std::nullopt;
    }
    const btTransform& levelPose = level.body.getWorldTransform();
    const btTransform from = levelPose.inverseTimes(moving.stepStart * local);
    const btTransform to = levelPose.inverseTimes(moving.body.getWorldTransform() * local);
    btVector3 min, max, endMin, endMax;
    shape.getAabb(from, min, max);
    shape.getAabb(to, endMin, endMax);
    min.setMin(endMin);
    max.setMax(endMax);
    candidates.clear();
    Gather gather(candidates);
    mesh->getShape().processAllTriangles(&gather, min, max);

    std::optional<BodyTouch> first;
    for (const Candidate& candidate : candidates) {
        const btVector3* c = candidate.corners;
        btVector3 normal = (c[1] - c[0]).cross(c[2] - c[0]);
        if (normal.length2() < SIMD_EPSILON) {
            continue;
        }
        normal.normalize();
        const TriangleFacts& facts = mesh->getMesh(candidate.part).getFacts(static_cast<std::size_t>(candidate.index));
        const bool frontStart = normal.dot(from.getOrigin() - c[0]) >= 0.0f;
        if (!frontStart) {
            if (!facts.twoSided) {
                continue; // a face of a solid is only met from the front
            }
            normal = -normal;
        }
        const btScalar endClearance = clearance(shape, to, normal, c[0]);
        if (endClearance >= -slop || endClearance >= clearance(shape, from, normal, c[0]) - slop) {
            continue;
        }
        std::optional<BodyTouch> touch = touchOf(shape, from, to, c, normal);
        if (!touch || (first && touch->fraction >= first->fraction)) {
            continue;
        }
        // Where the body already touched the face when the step began, or the cast found its back,
        // the face pushes the body out of its front.
        if (touch->fraction <= 0.0f || touch->normal.dot(normal) < 0.0f) {
            touch->normal = normal;
        }
        touch->normal = levelPose.getBasis() * touch->normal;
        first = touch;
    }
    return first;
}
