#include "engine/physics/contacts/BoxTriangleCollision.h"

#include "engine/physics/contacts/BoxTriangleContact.h"
#include "engine/physics/level/LevelCollisionMesh.h"

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
    // How far apart the box and the triangle may lie and still get contact points: the library's
    // contact breaking threshold, 2% of the smaller of the two shapes' bounding radii (about 1 cm for a
    // disc's box). Points found further out the manifold drops again, so it is read, not chosen.
    const btScalar contactReach = manifold->getContactBreakingThreshold();
    const TriangleFacts facts = level ? level->getFacts(body1->m_partId, body1->m_index) : TriangleFacts{};
    BoxTriangleContact contact(box->getHalfExtentsWithMargin(), corners, facts, contactReach);
    // A face partly covered by another solid needs no look at its covers here: a box touches only
    // what lies outside the covering solid, and the floor under every crate would cost that look.
    contact.find([&](const btVector3& normal, const btVector3& onTriangle, btScalar distance) {
        result->addContactPoint(boxToWorld.getBasis() * normal, boxToWorld * onTriangle, distance);
    });
}

btCollisionAlgorithm* BoxTriangleCollision::CreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                                 const btCollisionObjectWrapper*,
                                                                                 const btCollisionObjectWrapper*) {
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(BoxTriangleCollision));
    return new (memory) BoxTriangleCollision(info);
}
