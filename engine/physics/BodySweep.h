#pragma once

#include <btBulletCollisionCommon.h>
#include <memory>
#include <optional>

struct BulletBody;

// The box round a body's bounds at the start and at the end of a step. Two bodies that touch
// during the step have overlapping boxes, whatever their motions.
struct SweptBox {
    btVector3 min;
    btVector3 max;
};

SweptBox sweptBoxOf(const BulletBody& body);
bool overlaps(const SweptBox& a, const SweptBox& b);

// Where one body's sweep through a step first touched another.
struct BodyTouch {
    btScalar fraction; // of the step, 0 at its start
    btVector3 normal;  // unit, world, from the other body towards the swept one
    int sweptChild;    // the touching shapes' indices in their bodies
    int otherChild;
};

// Sweeps the moving body's convex shapes (or its hull) from their poses at the start of the step to those at its
// end against the other body, in the other body's frame of motion (so a moving capsule, hitbox or
// disc is swept against too; the motion is then relative to the other body at its end pose). The
// other body is met as its hull when it has one. With
// minDepth below 0, the first touch of any kind; otherwise only a touch after which the rest of the
// motion would carry the shape more than minDepth metres into the other body: the resting and
// sliding contacts that the solver handles, and surfaces the motion leaves, are passed over.
std::optional<BodyTouch> firstTouch(const BulletBody& moving, BulletBody& other, btScalar minDepth);

// The convex hull of a compound made only of boxes, rounded by their margin as the boxes are and a
// centimetre smaller all round; null for any other compound.
std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound);

// The moving body's motion through the step as firstTouch sweeps it, at the other body's end pose.
btTransform relativeStart(const BulletBody& moving, const BulletBody& other);
