#pragma once

#include "engine/physics/BodySweep.h"

class RigidBody;

// What the continuous sweeps do at the first touch of a body's step: the body is put back where it
// touched, just clear of the surface (a dynamic partner back where it was at that moment too), and
// the part of the two bodies' relative velocity that goes into the surface bounces off it as the
// contact solver would bounce it: with the restitution of the two shapes that touched, none below
// the bounce threshold, the impulse shared by their masses. The turn is left as it is.
void stopAtTouch(RigidBody& body, RigidBody& other, const BodyTouch& touch, float dt);

// Whether the two bodies' velocities close in along the normal (from the other towards the first).
// dt: the step's length in seconds, for the velocities of bodies that are moved, not simulated.
bool approaching(const RigidBody& body, const RigidBody& other, const btVector3& normal, float dt);
