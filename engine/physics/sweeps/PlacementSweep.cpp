#include "engine/physics/sweeps/PlacementSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/BulletMath.h"
#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/sweeps/ConvexCast.h"
#include "engine/scene/Component.h"

namespace {
btBoxShape boxOf(const Geometry& geometry) {
    const glm::vec3 half = geometry.getHalfExtents();
    btBoxShape box(toBullet(half));
    box.setMargin(PhysicsTolerances::boxMarginOf(half, PhysicsTolerances::placementBoxMargin));
    return box;
}

bool isHitboxOfAnother(const RigidBody& body, const GameObject* passedOwner) {
    return body.getType() == BodyType::Kinematic && hasGroup(body.getFilterWord(), CollisionGroup::Hitbox) &&
           !(body.userData != nullptr && body.userData->getOwner() == passedOwner);
}

// The shape's pose when the unturned body's centre is at.
btTransform poseAt(const btVector3& at, const btTransform& local) {
    return btTransform(btMatrix3x3::getIdentity(), at) * local;
}
} // namespace

glm::vec3 PlacementSweep::place(const std::vector<LocalShape>& shapes, const glm::vec3& from, const glm::vec3& to,
                                const std::vector<std::unique_ptr<RigidBody>>& bodies, const GameObject* passedOwner) {
    const btVector3 start = toBullet(from);
    const btVector3 end = toBullet(to);
    std::optional<Meeting> first;
    for (const LocalShape& shape : shapes) {
        if (shape.geometry.getType() != GeometryType::Box || !shape.geometry.isValid() || !shape.localPose.isValid()) {
            continue;
        }
        const btBoxShape box = boxOf(shape.geometry);
        const btTransform local = toBullet(Pose(glm::normalize(shape.localPose.rotation), shape.localPose.position));
        for (const auto& body : bodies) {
            if (body->getType() == BodyType::Static) {
                meetLevel(box, local, start, end, *body, first);
            } else if (isHitboxOfAnother(*body, passedOwner)) {
                meetHitbox(box, local, start, end, *body, first);
            }
        }
    }
    return first ? toGlm(first->at) : to;
}

// A face of the level pushes what overlaps it: the body goes where the box touched the face, moved
// along the face's normal until the box's nearest point is `clearance` off it. A start already
// overlapping the face (a box wider than the gap between the path's start and a wall) comes out of
// it the same way.
void PlacementSweep::meetLevel(const btBoxShape& box, const btTransform& local, const btVector3& from,
                               const btVector3& to, const RigidBody& level, std::optional<Meeting>& first) {
    const std::optional<BodyTouch> touch =
        levelSweep.firstTouch(box, poseAt(from, local), poseAt(to, local), level.bullet(), 0.0f);
    if (!touch || (first && touch->fraction > first->fraction)) {
        return;
    }
    const btVector3 centre = from.lerp(to, touch->fraction);
    const btTransform pose = poseAt(centre, local);
    const btVector3 nearest = pose * box.localGetSupportingVertex(pose.getBasis().transpose() * -touch->normal);
    const btScalar gap = touch->normal.dot(nearest - touch->point);
    const Meeting meeting{touch->fraction, centre + touch->normal * (PhysicsTolerances::clearance - gap)};
    // Boxes that meet at once (both already in the face) are pushed out as far as the deepest needs.
    if (!first || touch->fraction < first->fraction || (meeting.at - centre).length2() > (first->at - centre).length2()) {
        first = meeting;
    }
}

// A hitbox pushes nothing: the body goes on the path `clearance` short of where the box touched it,
// or to the path's start when the start already touches it, so that it is met in the first step.
void PlacementSweep::meetHitbox(const btBoxShape& box, const btTransform& local, const btVector3& from,
                                const btVector3& to, const RigidBody& hitbox, std::optional<Meeting>& first) {
    const btCompoundShape& compound = hitbox.bullet().compound;
    const btTransform& pose = hitbox.bullet().body.getWorldTransform();
    const StepMotion motion(poseAt(from, local), poseAt(to, local));
    const btScalar length = (to - from).length();
    for (int i = 0; i < compound.getNumChildShapes(); ++i) {
        const btCollisionShape* child = compound.getChildShape(i);
        if (!child->isConvex()) {
            continue;
        }
        const std::optional<BodyTouch> touch =
            castConvex(box, motion, *static_cast<const btConvexShape*>(child), pose * compound.getChildTransform(i));
        if (touch && (!first || touch->fraction < first->fraction)) {
            const btScalar back = length > SIMD_EPSILON ? PhysicsTolerances::clearance / length : 0.0f;
            first = Meeting{touch->fraction, from.lerp(to, btMax(touch->fraction - back, btScalar(0.0f)))};
        }
    }
}
