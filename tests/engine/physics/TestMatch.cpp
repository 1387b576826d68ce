#include "tests/engine/physics/TestMatch.h"

#include <cmath>

namespace {
constexpr float dt = 1.0f / 60.0f;
} // namespace

Throw throwFromEye(const glm::vec3& capsuleCentre, float yaw, float pitch) {
    const glm::vec3 heading(std::sin(yaw), 0.0f, std::cos(yaw));
    const glm::vec3 view = std::cos(pitch) * heading + glm::vec3(0.0f, std::sin(pitch), 0.0f);
    const glm::vec3 eye = capsuleCentre - dogBelowCentre + glm::vec3(0.0f, 1.0f, 0.0f) + 1.3f * heading;
    return {Pose(eye + view), 40.0f * view, eye};
}

glm::vec3 walkDisplacement(int player, int step) {
    const float angle = step * dt + player;
    return glm::vec3(-std::sin(angle), 0.0f, std::cos(angle)) * (3.0f * dt) + glm::vec3(0.0f, -0.1f, 0.0f);
}
