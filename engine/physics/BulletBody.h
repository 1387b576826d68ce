#pragma once

#include "engine/physics/CookedTriangleMesh.h"

#include <btBulletDynamicsCommon.h>
#include <memory>
#include <vector>

class RigidBody;

// The simulation's side of a RigidBody. Every body is a compound, so that its shapes sit at their
// local poses relative to the centre of mass, which is where the simulated body's frame is.
struct BulletBody {
    explicit BulletBody(float mass)
        : body(btRigidBody::btRigidBodyConstructionInfo(mass, nullptr, &compound, btVector3(1.0f, 1.0f, 1.0f))) {}

    btCompoundShape compound;
    // The compound's children, owned here: spheres, capsules and boxes, and the level's meshes. Child
    // i belongs to the RigidBody's shape i, whose Shape is the child's user pointer.
    std::vector<std::unique_ptr<btCollisionShape>> primitives;
    std::vector<std::unique_ptr<CookedTriangleMesh>> meshes;
    btRigidBody body;
    // For bodies with continuous detection whose shapes are all boxes (discs): the convex hull of
    // those boxes in the compound's frame, which the sweeps cast once instead of once per box.
    std::unique_ptr<btConvexHullShape> hull;
    btDiscreteDynamicsWorld* world = nullptr;
    // The body's simulated transform when the current step began, for the sweeps through the step.
    btTransform stepStart = btTransform::getIdentity();
};

inline RigidBody* rigidBodyOf(const btCollisionObject* object) {
    return object ? static_cast<RigidBody*>(object->getUserPointer()) : nullptr;
}
