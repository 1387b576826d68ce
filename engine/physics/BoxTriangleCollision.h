#pragma once

#include <btBulletCollisionCommon.h>
#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>

// Contact points between a box and one triangle of the level, by separating axes and clipping: a
// box lying on a face touches it at every corner in the same step, so the solver holds it flat and
// stops it square, where a single deepest point per step lets it rock, spin and sink an edge.
//
// The triangle's own facts decide what may push: a triangle of a closed solid pushes only out of its
// front; a box that lies wholly behind it is left to the faces it is near. Only real edges of the
// level (see TriangleFacts) may give a contact a normal other than the face's, so a box sliding
// over the seam between two triangles of a flat floor meets the floor, not the seam's ridge.
class BoxTriangleCollision : public btCollisionAlgorithm {
public:
    explicit BoxTriangleCollision(const btCollisionAlgorithmConstructionInfo& info) : btCollisionAlgorithm(info) {}

    // body0 is the box, body1 a triangle of a triangle mesh; the contacts go to the manifold that the
    // mesh's algorithm shares among its triangles.
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
