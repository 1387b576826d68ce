#pragma once

#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/sweeps/StepMotion.h"

#include <optional>

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

// The first moment of the motion at which the gap that `gapAt(pose)` measures closes to the touch
// distance (a millimetre), by conservative advancement: each advance is the gap over the fastest the
// shape can close in, its centre along the normal and its turn with reach (metres: its farthest
// point from the centre). A start already within the touch distance is a touch at 0. Never later
// than the real touch: a sweep that runs out of advances reports where it got to. gapAt may find
// nothing to measure (none).
template <typename GapAt>
std::optional<BodyTouch> advanceToTouch(const StepMotion& motion, btScalar reach, GapAt&& gapAt) {
    const btScalar turnReach = motion.angular.length() * reach;
    btScalar fraction = 0.0f;
    std::optional<Gap> gap = gapAt(motion.from);
    for (int i = 0; gap && i < PhysicsTolerances::maxAdvances; ++i) {
        if (gap->distance < PhysicsTolerances::touchDistance) {
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
