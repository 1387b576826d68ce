#pragma once

#include <btBulletCollisionCommon.h>

struct BulletBody;

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

// The moving body's start pose carried along with the other body's motion through the step: the
// motion from there to the moving body's end pose is the motion relative to the other body at its
// end pose.
btTransform relativeStart(const BulletBody& moving, const BulletBody& other);
