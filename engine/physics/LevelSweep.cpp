#include "engine/physics/LevelSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/LevelCollisionMesh.h"

#include <BulletCollision/CollisionShapes/btTriangleShape.h>

namespace {
// A touch of a plane is a gap below this (metres); a sweep that needs more advances than this to
// close the gap stops where it got to, never later than the touch.
constexpr btScalar touchDistance = 0.001f;
constexpr int maxAdvances = 32;

// How far the shape at pose keeps above the plane through `on` with this unit normal (negative
// when it reaches through it).
btScalar clearance(const btConvexShape& shape, const btTransform& pose, const btVector3& normal, const btVector3& on) {
    const btVector3 local = pose.getBasis().transpose() * -normal;
    return normal.dot(pose * shape.localGetSupportingVertexWithoutMargin(local) - on) - shape.getMargin();
}

// The first moment the shape comes within a millimetre of the plane, by conservative advancement:
// each advance is the clearance over the fastest the shape can close in on the plane. A start
// within reach is a touch at 0. Exact for faces as large as the arena's walls, where a distance
// query of the shape against the triangle loses its precision and may miss the touch.
std::optional<btScalar> planeTouch(const btConvexShape& shape, const StepMotion& motion, const btVector3& normal,
                                   const btVector3& on) {
    const btScalar closing = -motion.linear.dot(normal) + motion.angular.length() * shape.getAngularMotionDisc();
    if (closing <= 0.0f) {
        return std::nullopt;
    }
    btScalar fraction = 0.0f;
    btTransform at = motion.from;
    for (int i = 0; i < maxAdvances; ++i) {
        const btScalar gap = clearance(shape, at, normal, on);
        if (gap < touchDistance) {
            return fraction;
        }
        fraction += gap / closing;
        if (fraction > 1.0f) {
            return std::nullopt;
        }
        at = motion.at(fraction);
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

// The face first: where the shape meets the triangle's plane over the triangle, that is the touch;
// elsewhere it may meet an edge or a corner, or pass by.
std::optional<BodyTouch> touchOf(const btConvexShape& shape, const StepMotion& motion, const btVector3* corners,
                                 const btVector3& normal) {
    const std::optional<btScalar> fraction = planeTouch(shape, motion, normal, corners[0]);
    if (!fraction) {
        return std::nullopt;
    }
    const btTransform at = motion.at(*fraction);
    const btVector3 lowest = at * shape.localGetSupportingVertexWithoutMargin(at.getBasis().transpose() * -normal);
    if (over(corners, normal, lowest)) {
        return BodyTouch{*fraction, normal, 0, 0, lowest - normal * normal.dot(lowest - corners[0])};
    }
    btTriangleShape triangle(corners[0], corners[1], corners[2]);
    triangle.setMargin(0.0f);
    return castConvex(shape, motion, triangle, btTransform::getIdentity());
}
} // namespace

void LevelSweep::Gather::processTriangle(btVector3* triangle, int part, int index) {
    into.push_back({{triangle[0], triangle[1], triangle[2]}, part, index});
}

std::optional<btVector3> LevelSweep::facing(const Candidate& candidate, const LevelCollisionMesh& mesh,
                                            const btVector3& start) {
    const btVector3* c = candidate.corners;
    btVector3 normal = (c[1] - c[0]).cross(c[2] - c[0]);
    const TriangleFacts& facts = mesh.getFacts(candidate.part, candidate.index);
    if (facts.inner || normal.length2() < SIMD_EPSILON * SIMD_EPSILON) {
        return std::nullopt;
    }
    normal.normalize();
    if (normal.dot(start - c[0]) >= 0.0f) {
        return normal;
    }
    // A face of a solid is only met from the front.
    return facts.twoSided ? std::optional<btVector3>(-normal) : std::nullopt;
}

std::optional<BodyTouch> LevelSweep::firstTouch(const btConvexShape& shape, const btTransform& local,
                                                const BulletBody& moving, const BulletBody& level, btScalar slop) {
    const LevelCollisionMesh* mesh = LevelCollisionMesh::of(*level.body.getCollisionShape());
    if (!mesh) {
        return std::nullopt;
    }
    const btTransform& levelPose = level.body.getWorldTransform();
    const btTransform to = levelPose.inverseTimes(moving.body.getWorldTransform() * local);
    const StepMotion motion(levelPose.inverseTimes(moving.stepStart * local), to);
    const SweptBox bounds = sweptBoxOf(shape, motion.from, to);
    candidates.clear();
    Gather gather(candidates);
    mesh->getShape().processAllTriangles(&gather, bounds.min, bounds.max);

    std::optional<BodyTouch> first;
    for (const Candidate& candidate : candidates) {
        const std::optional<btVector3> normal = facing(candidate, *mesh, motion.from.getOrigin());
        if (!normal) {
            continue;
        }
        // Only a face that the step carries the shape deeper into than the slop is swept.
        const btScalar endClearance = clearance(shape, to, *normal, candidate.corners[0]);
        if (endClearance >= -slop || endClearance >= clearance(shape, motion.from, *normal, candidate.corners[0]) - slop) {
            continue;
        }
        std::optional<BodyTouch> touch = touchOf(shape, motion, candidate.corners, *normal);
        if (!touch || (first && touch->fraction >= first->fraction) ||
            mesh->hidden(candidate.part, candidate.index, touch->point)) {
            continue;
        }
        // Where the body already touched the face when the step began, or the cast found its back,
        // the face pushes the body out of its front.
        if (touch->fraction <= 0.0f || touch->normal.dot(*normal) < 0.0f) {
            touch->normal = *normal;
        }
        first = BodyTouch{touch->fraction, levelPose.getBasis() * touch->normal, 0, candidate.part,
                          levelPose * touch->point};
    }
    return first;
}
