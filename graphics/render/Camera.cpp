#include "graphics/render/Camera.h"

#include <cmath>
#include <glm/geometric.hpp>

namespace {
// π / 180 as a 32-bit float: degrees to radians.
constexpr float radiansPerDegree = 0.017453292f;
} // namespace

Camera::Camera(float pitch, float yaw, float fovY, float aspect, float zNear, float zFar)
    : pitch(pitch), yaw(yaw), fovY(fovY), aspect(aspect), zNear(zNear), zFar(zFar) {}

void Camera::updateVectors() {
    if (orientationValid) {
        return;
    }
    const float p = pitch * radiansPerDegree;
    const float y = yaw * radiansPerDegree;
    front = glm::vec3(std::sin(y) * std::cos(p), std::sin(p), std::cos(y) * std::cos(p));
    right = glm::normalize(glm::cross(worldUp, front));
    // Unit length already for a valid frame, so not normalised again.
    up = glm::cross(front, right);
    orientationValid = true;
}

const glm::mat4& Camera::getProjectionMatrix() {
    if (!projectionValid) {
        const float t = std::tan(fovY * radiansPerDegree / 2.0f);
        projection = glm::mat4(0.0f);
        projection[0][0] = 1.0f / (aspect * t);
        projection[1][1] = 1.0f / t;
        projection[2][2] = -(zFar + zNear) / (zFar - zNear);
        projection[2][3] = -1.0f;
        projection[3][2] = -(2.0f * zFar * zNear) / (zFar - zNear);
        projectionValid = true;
    }
    return projection;
}

glm::mat4 Camera::getViewMatrix(const glm::vec3& eye) {
    updateVectors();
    // Rows right, up, front, then the translation by -eye folded in: R × T.
    glm::mat4 result(1.0f);
    for (int column = 0; column < 3; ++column) {
        result[column][0] = right[column];
        result[column][1] = up[column];
        result[column][2] = front[column];
    }
    result[3] = glm::vec4(-glm::dot(right, eye), -glm::dot(up, eye), -glm::dot(front, eye), 1.0f);
    return result;
}
