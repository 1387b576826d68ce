#include "engine/physics/BoxTriangleCollision.h"

#include "engine/physics/BoxTriangleContact.h"
#include "engine/physics/LevelCollisionMesh.h"

#include <BulletCollision/CollisionShapes/btTriangleShape.h>

namespace {
const LevelCollisionMesh* levelOf(const btCollisionObjectWrapper& triangle) {
    return triangle.m_parent ? LevelCollisionMesh::of(*triangle.m_parent->getCollisionShape()) : nullptr;
}
} // namespace

void BoxTriangleCollision::processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                                            const btDispatcherInfo&, btManifoldResult* result) {
    btPersistentManifold* manifold = result->getPersistentManifold();
    if (!manifold) {
        return;
    }
    const auto* box = static_cast<const btBoxShape*>(body0->getCollisionShape());
    const auto* triangle = static_cast<const btTriangleShape*>(body1->getCollisionShape());
    const btTransform& boxToWorld = body0->getWorldTransform();
    const btTransform toBox = boxToWorld.inverseTimes(body1->getWorldTransform());
    const btVector3 corners[3] = {toBox * triangle->m_vertices1[0], toBox * triangle->m_vertices1[1],
                                  toBox * triangle->m_vertices1[2]};
    const LevelCollisionMesh* level = levelOf(*body1);
    const TriangleFacts facts = level ? level->getFacts(body1->m_partId, body1->m_index) : TriangleFacts{};
    BoxTriangleContact contact(box->getHalfExtentsWithMargin(), corners, facts, manifold->getContactBreakingThreshold());
    contact.find([&](const btVector3& normal, const btVector3& onTriangle, btScalar distance) {
        const btVector3 point = boxToWorld * onTriangle;
        // Where another solid covers the triangle, it is inside the level and pushes nothing.
        const btVector3 inLevel = body1->getWorldTransform().invXform(point);
        if (facts.coverCount == 0 || !level->hidden(body1->m_partId, body1->m_index, inLevel)) {
            result->addContactPoint(boxToWorld.getBasis() * normal, point, distance);
        }
    });
}

btCollisionAlgorithm* BoxTriangleCollision::CreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                                 const btCollisionObjectWrapper*,
                                                                                 const btCollisionObjectWrapper*) {
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(BoxTriangleCollision));
    return new (memory) BoxTriangleCollision(info);
}
