#pragma once

#include <btBulletCollisionCommon.h>
#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>

// The narrow phase of a box against one triangle of the level, as the library's dispatcher calls it
// for each triangle near the box: the contact points of BoxTriangleContact, written to the
// manifold that the mesh's algorithm shares among its triangles.
class BoxTriangleCollision : public btCollisionAlgorithm {
public:
    explicit BoxTriangleCollision(const btCollisionAlgorithmConstructionInfo& info) : btCollisionAlgorithm(info) {}

    // body0 is the box, body1 a triangle of a triangle mesh.
    void processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                          const btDispatcherInfo& dispatchInfo, btManifoldResult* result) override;
    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override {
        return 1.0f;
    }
    void getAllContactManifolds(btManifoldArray&) override {}

    struct CreateFunc : btCollisionAlgorithmCreateFunc {
        btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                       const btCollisionObjectWrapper*,
                                                       const btCollisionObjectWrapper*) override;
    };
};
