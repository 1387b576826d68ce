#pragma once

#include <btBulletCollisionCommon.h>
#include <memory>
#include <vector>

struct BulletBody;
class RigidBody;

// Two bodies that pass through each other for a while: one made where the other already is. A disc
// thrown by a player with a wall within about a metre ahead starts inside the thrower's capsule, the
// only room left on the thrower's side of the wall. Left to collide, the contact solver parts the
// deep overlap with an impulse of its own: the disc leaves the wall at 0.6 of the throw's speed
// (twice the wall's rebound) and drifts sideways, and thrown upwards it flies over the far wall of
// the arena. Passing by, the disc meets the wall, bounces back through its thrower at the wall's
// rebound and flies on; from the moment their boxes part, the two collide as any pair does.

// Whether either of the two bodies passes the other by.
bool passingBy(const RigidBody& body0, const RigidBody& body1);

// Ends the body's pass once its bounding box and the other's have parted. Called before each step,
// so a pass never outlasts a step in which the two were apart.
void endPassWhenApart(BulletBody& body);

// The passes through a body that leaves the world end with it.
void forgetPassesBy(const std::vector<std::unique_ptr<RigidBody>>& bodies, const RigidBody& leaving);
