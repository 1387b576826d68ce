#pragma once

#include "engine/physics/sweeps/ConservativeAdvancement.h"

struct BulletBody;

// Each of the moving body's shapes swept through the step against each of the other's: the exact
// shapes, not their hull, for touches that are only reported (a disc crossing a hitbox), where a
// sweep meeting the hull between two points of a disc's star would report a touch that never was.
std::optional<BodyTouch> firstTouchOfShapes(const BulletBody& moving, const BulletBody& other);
