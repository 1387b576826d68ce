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

// Where a sweep through a step first touched something.
struct BodyTouch {
    btScalar fraction; // of the motion, 0 at its start
    btVector3 normal;  // unit, world, from what was touched towards the swept shape
    int sweptChild = 0; // the touching shapes' indices in their bodies
    int otherChild = 0;
};

// The convex shape carried from `from` to `to`, its turn included, against the still convex shape at
// `pose`: the first moment the two come within a millimetre while approaching. A start in which
// they already touch is a touch at fraction 0, with the normal of the overlap. Conservative: it
// never reports a touch later than the real one.
std::optional<BodyTouch> castConvex(const btConvexShape& moving, const btTransform& from, const btTransform& to,
                                    const btConvexShape& still, const btTransform& pose);

// The moving body's start pose carried along with the other body's motion through the step: the
// motion from there to the moving body's end pose is the motion relative to the other body at its
// end pose.
btTransform relativeStart(const BulletBody& moving, const BulletBody& other);

// The convex hull of a compound made only of boxes: their corners, drawn in by a few millimetres and
// rounded out again by as much, so casts of it find touches without resolving overlaps. Null for
// any other compound. It is as large as the boxes wherever they meet a flat face.
std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound);

// Each of the moving body's shapes swept through the step against each of the other's: the exact
// shapes, for touches that are only reported (a disc crossing a hitbox).
std::optional<BodyTouch> firstTouchOfShapes(const BulletBody& moving, const BulletBody& other);
