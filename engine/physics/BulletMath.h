#pragma once

// Conversions between the engine's math types and the physics library's. Only for engine/physics.
#include "engine/physics/Pose.h"

#include <LinearMath/btTransform.h>

inline btVector3 toBullet(const glm::vec3& v) { return btVector3(v.x, v.y, v.z); }
inline glm::vec3 toGlm(const btVector3& v) { return glm::vec3(v.x(), v.y(), v.z()); }
inline btQuaternion toBullet(const glm::quat& q) { return btQuaternion(q.x, q.y, q.z, q.w); }
inline glm::quat toGlm(const btQuaternion& q) { return glm::quat(q.w(), q.x(), q.y(), q.z()); }
inline btTransform toBullet(const Pose& pose) { return btTransform(toBullet(pose.rotation), toBullet(pose.position)); }
inline Pose toPose(const btTransform& transform) {
    return Pose(toGlm(transform.getRotation()), toGlm(transform.getOrigin()));
}
