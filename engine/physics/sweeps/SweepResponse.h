#pragma once

#include "engine/physics/sweeps/ConservativeAdvancement.h"

class RigidBody;

// What the continuous sweeps do at the first touch of a body's step: the body is put back where it
// touched, just clear of the surface (a dynamic partner back where it was at that moment too), and
// the part of the two bodies' relative velocity that goes into the surface bounces off it: with the
// restitution of the two shapes that touched, none below the bounce threshold, the impulse shared by
// their masses through their centres. That is less than the contact solver does: there is no
// friction, so a disc keeps its speed along the surface through the step in which it lands, and no
// turn from an impulse off the centre, so spin and tumble are left as they were. The solver takes
// both up from the next step on, when the two touch.
void stopAtTouch(RigidBody& body, RigidBody& other, const BodyTouch& touch, float dt);

// Whether the two bodies' velocities close in along the normal (from the other towards the first).
// dt: the step's length in seconds, for the velocities of bodies that are moved, not simulated.
bool approaching(const RigidBody& body, const RigidBody& other, const btVector3& normal, float dt);
