#include "engine/physics/ContactMaterials.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/Shape.h"

namespace {
// The shape of ours that a contact belongs to: the wrapper of a compound child, or of a triangle
// inside a level mesh, whose parent is the mesh.
const Shape* shapeOf(const btCollisionObjectWrapper* wrapper) {
    for (; wrapper; wrapper = wrapper->m_parent) {
        if (const void* shape = wrapper->getCollisionShape()->getUserPointer()) {
            return static_cast<const Shape*>(shape);
        }
    }
    return nullptr;
}

void combine(btManifoldPoint& point, const Shape& shape0, const Shape& shape1) {
    point.m_combinedFriction = combinedFriction(shape0.material, shape1.material);
    point.m_combinedRestitution = combinedRestitution(shape0.material, shape1.material);
}

bool onContactAdded(btManifoldPoint& point, const btCollisionObjectWrapper* wrapper0, int, int,
                    const btCollisionObjectWrapper* wrapper1, int, int) {
    const Shape* shape0 = shapeOf(wrapper0);
    const Shape* shape1 = shapeOf(wrapper1);
    if (shape0 && shape1) {
        combine(point, *shape0, *shape1);
    }
    return true; // the library ignores the result
}
} // namespace

void installContactMaterials() { gContactAddedCallback = onContactAdded; }
