#pragma once

#include <btBulletCollisionCommon.h>
#include <memory>

// The convex hull of a compound made only of boxes, which the sweeps cast once where they would cast
// each box: the boxes' corners drawn in by the hull's margin on every axis, and rounded out again by
// as much. Square to a side of a box it reaches as far as the boxes do; where a corner of a box leads
// it falls short by up to the margin times (sqrt 3 - 1), 4 mm, so a sweep meets a face that a corner
// comes at that much late. Between two corners of the star the boxes make it fills in, and there a
// sweep meets an edge or a disc early, by up to 7 cm. Null for any other compound.
std::unique_ptr<btConvexHullShape> hullOfBoxes(const btCompoundShape& compound);
