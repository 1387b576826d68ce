#pragma once

#include "engine/physics/level/LevelCollisionMesh.h"

#include <btBulletDynamicsCommon.h>
#include <memory>
#include <vector>

class RigidBody;

// The simulation's side of a RigidBody. A body of spheres, capsules and boxes is a compound, so that
// its shapes sit at their local poses relative to the centre of mass, which is where the simulated
// body's frame is; the level is the one tree over its meshes.
struct BulletBody {
    explicit BulletBody(float mass)
        : body(btRigidBody::btRigidBodyConstructionInfo(mass, nullptr, &compound, btVector3(1.0f, 1.0f, 1.0f))) {}

    btCompoundShape compound;
    // The compound's children, owned here: spheres, capsules and boxes. Child i belongs to the
    // RigidBody's shape i, whose Shape is the child's user pointer.
    std::vector<std::unique_ptr<btCollisionShape>> primitives;
    // The level's meshes, when the body is the level; its collision shape then.
    std::unique_ptr<LevelCollisionMesh> level;
    btRigidBody body;
    // For bodies with continuous detection whose shapes are all boxes (discs): the convex hull of
    // those boxes in the compound's frame, which the sweeps cast once instead of once per box.
    std::unique_ptr<btConvexHullShape> hull;
    btDiscreteDynamicsWorld* world = nullptr;
    // The body's simulated transform and velocity when the current step began, for the sweeps
    // through the step.
    btTransform stepStart = btTransform::getIdentity();
    btVector3 stepStartVelocity{0.0f, 0.0f, 0.0f};
    // The body this one was made inside of and passes through until their bounding boxes part (see
    // PassingBodies.h); null for none.
    const btCollisionObject* passesBy = nullptr;
};

inline RigidBody* rigidBodyOf(const btCollisionObject* object) {
    return object ? static_cast<RigidBody*>(object->getUserPointer()) : nullptr;
}
