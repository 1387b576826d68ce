#include "engine/physics/sweeps/SweptBox.h"

#include "engine/physics/BulletBody.h"

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
