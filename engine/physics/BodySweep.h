#pragma once

#include <btBulletCollisionCommon.h>
#include <memory>
#include <optional>

struct BulletBody;

// The box round everything a body's shape covers through a step, its turn included. Two bodies that
// touch during the step have overlapping boxes.
struct SweptBox {
    btVector3 min;
    btVector3 max;
};

SweptBox sweptBoxOf(const btCollisionShape& shape, const btTransform& from, const btTransform& to);
SweptBox sweptBoxOf(const BulletBody& body);
bool overlaps(const SweptBox& a, const SweptBox& b);

// A body's motion through a step as the sweeps follow it: a steady velocity and turn from one pose
// to the other.
struct StepMotion {
    StepMotion(const btTransform& from, const btTransform& to);
    // The pose at this fraction of the step.
    btTransform at(btScalar fraction) const;

    btTransform from;
    btVector3 linear;  // per step
    btVector3 angular; // per step, radians about the axis
};

// Where a sweep through a step first touched something.
struct BodyTouch {
    btScalar fraction; // of the motion, 0 at its start
    btVector3 normal;  // unit, world, from what was touched towards the swept shape
    int sweptChild = 0; // the touching shapes' indices in their bodies
    int otherChild = 0;
    btVector3 point{0.0f, 0.0f, 0.0f}; // where, on what was touched, in the frame the sweep was given
};

// How far a moving shape is from what it is swept against, at some pose of its motion.
struct Gap {
    btScalar distance; // negative: overlap
    btVector3 normal;  // unit, from what is swept against towards the moving shape
    btVector3 point;   // the nearest point of what is swept against
};

// The first moment of the motion at which the gap that `gapAt(pose)` measures closes to a
// millimetre, by conservative advancement: each advance is the gap over the fastest the shape can
// close in, its centre along the normal and its turn with reach (metres: its farthest point from the
// centre). A start within reach is a touch at 0. Never later than the real touch: a sweep that runs
// out of advances reports where it got to. gapAt may find nothing to measure (none).
template <typename GapAt>
std::optional<BodyTouch> advanceToTouch(const StepMotion& motion, btScalar reach, GapAt&& gapAt) {
    constexpr btScalar touchDistance = 0.001f;
    constexpr int maxAdvances = 32;
    const btScalar turnReach = motion.angular.length() * reach;
    btScalar fraction = 0.0f;
    std::optional<Gap> gap = gapAt(motion.from);
    for (int i = 0; gap && i < maxAdvances; ++i) {
        if (gap->distance < touchDistance) {
            break;
        }
        const btScalar closing = -motion.linear.dot(gap->normal) + turnReach;
        if (closing <= SIMD_EPSILON) {
            return std::nullopt; // moving apart, turning too slowly to come back within the step
        }
        fraction += gap->distance / closing;
        if (fraction > 1.0f) {
            return std::nullopt;
        }
        gap = gapAt(motion.at(fraction));
    }
    if (!gap) {
        return std::nullopt;
    }
    return BodyTouch{fraction, gap->normal, 0, 0, gap->point};
}

// The convex shape carried through the motion against the still convex shape at `pose`, as
// advanceToTouch advances. A start in which they already touch is a touch at 0, with the normal of
// the overlap.
std::optional<BodyTouch> castConvex(const btConvexShape& moving, const StepMotion& motion, const btConvexShape& still,
                                    const btTransform& pose);

// The moving body's start pose carried along with the other body's motion through the step: the
// motion from there to the moving body's end pose is the motion relative to the other body at its
// end pose.
btTransform relativeStart(const BulletBody& moving, const BulletBody& other);

// The convex hull of a compound made only of boxes: their corners, drawn in by a few millimetres and
// rounded out again by as much. Null for any other compound. Against a flat face it reaches as far
// as the boxes do; between two corners of the star they make it fills in, and a sweep of it meets an
// edge or a disc there a little early, never late.
std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound);

// Each of the moving body's shapes swept through the step against each of the other's: the exact
// shapes, for touches that are only reported (a disc crossing a hitbox).
std::optional<BodyTouch> firstTouchOfShapes(const BulletBody& moving, const BulletBody& other);
