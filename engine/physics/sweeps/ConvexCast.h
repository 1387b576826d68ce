#pragma once

#include "engine/physics/sweeps/ConservativeAdvancement.h"

// The convex shape carried through the motion against the still convex shape at `pose`, as
// advanceToTouch advances, measuring the gap between the two by the library's distance query. A
// start in which they already touch is a touch at 0, with the normal of the overlap.
std::optional<BodyTouch> castConvex(const btConvexShape& moving, const StepMotion& motion, const btConvexShape& still,
                                    const btTransform& pose);
