#include "engine/physics/sweeps/StepMotion.h"

#include "engine/physics/BulletBody.h"

#include <LinearMath/btTransformUtil.h>

StepMotion::StepMotion(const btTransform& from, const btTransform& to) : from(from) {
    btTransformUtil::calculateVelocity(from, to, 1.0f, linear, angular);
}

btTransform StepMotion::at(btScalar fraction) const {
    btTransform pose;
    btTransformUtil::integrateTransform(from, linear, angular, fraction, pose);
    return pose;
}

btTransform relativeStart(const BulletBody& moving, const BulletBody& other) {
    return other.body.getWorldTransform() * other.stepStart.inverse() * moving.stepStart;
}
