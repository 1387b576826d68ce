#include "engine/physics/contacts/ContactMaterials.h"

#include "engine/physics/BulletBody.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/Shape.h"
#include "engine/physics/level/LevelCollisionMesh.h"

namespace {
// The shape of ours that a contact belongs to: the wrapper of a compound child, or of a triangle of
// the level, whose parent is the level's mesh and whose part is the mesh's shape.
const Shape* shapeOf(const btCollisionObjectWrapper* wrapper, int part) {
    for (; wrapper; wrapper = wrapper->m_parent) {
        const btCollisionShape& shape = *wrapper->getCollisionShape();
        if (const LevelCollisionMesh* level = LevelCollisionMesh::of(shape)) {
            return level->getShapeOf(part);
        }
        if (const void* own = shape.getUserPointer()) {
            return static_cast<const Shape*>(own);
        }
    }
    return nullptr;
}

void combine(btManifoldPoint& point, const Shape& shape0, const Shape& shape1) {
    point.m_combinedFriction = combinedFriction(shape0.material, shape1.material);
    point.m_combinedRestitution = combinedRestitution(shape0.material, shape1.material);
}

bool onContactAdded(btManifoldPoint& point, const btCollisionObjectWrapper* wrapper0, int part0, int,
                    const btCollisionObjectWrapper* wrapper1, int part1, int) {
    const Shape* shape0 = shapeOf(wrapper0, part0);
    const Shape* shape1 = shapeOf(wrapper1, part1);
    if (shape0 && shape1) {
        combine(point, *shape0, *shape1);
    }
    return true; // the library ignores the result
}
} // namespace

void installContactMaterials() { gContactAddedCallback = onContactAdded; }
