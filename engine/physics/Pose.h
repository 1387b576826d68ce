#pragma once

#include <cstddef>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

// A rigid transform: rotation, then position, laid out exactly like a GameObject's rotation and
// position, so a body's pose and an object's pose are the same seven floats (quaternion x, y, z, w,
// then x, y, z).
struct Pose {
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 position{0.0f};

    Pose() = default;
    Pose(const glm::quat& rotation, const glm::vec3& position) : rotation(rotation), position(position) {}
    explicit Pose(const glm::vec3& position) : position(position) {}

    glm::vec3 transform(const glm::vec3& point) const { return rotation * point + position; }
    // The pose of a frame given in this one, e.g. actor pose * shape's local pose.
    Pose operator*(const Pose& local) const { return Pose(rotation * local.rotation, transform(local.position)); }
    Pose inverse() const;
    // Finite, with a unit quaternion (within 1e-3). The world refuses anything else.
    bool isValid() const;
};

static_assert(offsetof(glm::quat, x) == 0 && offsetof(glm::quat, w) == 12,
              "Pose needs glm's quaternion stored as x, y, z, w");
static_assert(offsetof(Pose, rotation) == 0 && offsetof(Pose, position) == 16 && sizeof(Pose) == 28,
              "Pose must be laid out as a GameObject's rotation followed by its position");
