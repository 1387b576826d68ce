#pragma once

#include <btBulletCollisionCommon.h>

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
