#include "engine/physics/sweeps/LevelSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
#include "engine/physics/level/LevelCollisionMesh.h"
#include "engine/physics/level/PointOnTriangle.h"
#include "engine/physics/sweeps/ConvexCast.h"
#include "engine/physics/sweeps/SweptBox.h"

#include <BulletCollision/CollisionShapes/btTriangleShape.h>

namespace {
// How far the shape at pose keeps above the plane through `on` with this unit normal (negative
// when it reaches through it), and the point of the plane under its lowest point.
Gap clearance(const btConvexShape& shape, const btTransform& pose, const btVector3& normal, const btVector3& on) {
    const btVector3 lowest = pose * shape.localGetSupportingVertexWithoutMargin(pose.getBasis().transpose() * -normal);
    const btScalar above = normal.dot(lowest - on);
    return Gap{above - shape.getMargin(), normal, lowest - normal * above};
}

// Whether the point, on the triangle's plane or near it, lies over the triangle.
bool over(const btVector3* corners, const btVector3& normal, const btVector3& point) {
    const glm::vec3 triangle[3] = {toGlm(corners[0]), toGlm(corners[1]), toGlm(corners[2])};
    return withinSides(triangle, toGlm(normal), toGlm(point), 0.0f);
}

// The face first: where the shape meets the triangle's plane over the triangle, that is the touch;
// elsewhere it may meet an edge or a corner, or pass by. The plane is met exactly even on faces as
// large as the arena's walls, where a distance query of the shape against the triangle loses its
// precision and may miss the touch.
std::optional<BodyTouch> touchOf(const btConvexShape& shape, const StepMotion& motion, const btVector3* corners,
                                 const btVector3& normal) {
    const auto gapAt = [&](const btTransform& at) { return std::optional<Gap>(clearance(shape, at, normal, corners[0])); };
    const std::optional<BodyTouch> onPlane = advanceToTouch(motion, shape.getAngularMotionDisc(), gapAt);
    if (!onPlane || over(corners, normal, onPlane->point)) {
        return onPlane;
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
    return firstTouch(shape, moving.stepStart * local, moving.body.getWorldTransform() * local, level, slop);
}

std::optional<BodyTouch> LevelSweep::firstTouch(const btConvexShape& shape, const btTransform& start,
                                                const btTransform& end, const BulletBody& level, btScalar slop) {
    const LevelCollisionMesh* mesh = LevelCollisionMesh::of(*level.body.getCollisionShape());
    if (!mesh) {
        return std::nullopt;
    }
    const btTransform& levelPose = level.body.getWorldTransform();
    const btTransform to = levelPose.inverseTimes(end);
    const StepMotion motion(levelPose.inverseTimes(start), to);
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
        const btScalar endClearance = clearance(shape, to, *normal, candidate.corners[0]).distance;
        const btScalar startClearance = clearance(shape, motion.from, *normal, candidate.corners[0]).distance;
        if (endClearance >= -slop || endClearance >= startClearance - slop) {
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
