#include "engine/physics/Pose.h"

#include <cmath>

Pose Pose::inverse() const {
    const glm::quat inverted = glm::conjugate(rotation);
    return Pose(inverted, inverted * -position);
}

bool Pose::isValid() const {
    const bool finite = std::isfinite(rotation.x) && std::isfinite(rotation.y) && std::isfinite(rotation.z) &&
                        std::isfinite(rotation.w) && std::isfinite(position.x) && std::isfinite(position.y) &&
                        std::isfinite(position.z);
    return finite && std::abs(glm::length(rotation) - 1.0f) <= 1e-3f;
}
