#include "engine/physics/sweeps/ShapeSweep.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/sweeps/ConvexCast.h"

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
