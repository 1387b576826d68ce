#include "engine/physics/sweeps/HullOfBoxes.h"

#include "engine/physics/PhysicsTolerances.h"

std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound) {
    if (compound.getNumChildShapes() == 0) {
        return nullptr;
    }
    const btScalar margin = PhysicsTolerances::hullMargin;
    auto hull = std::make_unique<btConvexHullShape>();
    for (int i = 0; i < compound.getNumChildShapes(); ++i) {
        const btCollisionShape* child = compound.getChildShape(i);
        if (child->getShapeType() != BOX_SHAPE_PROXYTYPE) {
            return nullptr;
        }
        const btVector3 half = static_cast<const btBoxShape*>(child)->getHalfExtentsWithMargin() -
                               btVector3(margin, margin, margin);
        for (int corner = 0; corner < 8; ++corner) {
            const btVector3 local(corner & 1 ? half.x() : -half.x(), corner & 2 ? half.y() : -half.y(),
                                  corner & 4 ? half.z() : -half.z());
            hull->addPoint(compound.getChildTransform(i) * local, false);
        }
    }
    hull->recalcLocalAabb();
    hull->setMargin(margin);
    return hull;
}
