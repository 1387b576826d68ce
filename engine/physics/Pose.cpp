#include "engine/physics/Pose.h"

#include "engine/physics/Finite.h"

#include <cmath>

Pose Pose::inverse() const {
    const glm::quat inverted = glm::conjugate(rotation);
    return Pose(inverted, inverted * -position);
}

bool Pose::isValid() const {
    const bool finite = isFinite(glm::vec4(rotation.x, rotation.y, rotation.z, rotation.w)) && isFinite(position);
    return finite && std::abs(glm::length(rotation) - 1.0f) <= 1e-3f;
}
