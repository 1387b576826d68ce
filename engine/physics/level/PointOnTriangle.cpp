#include "engine/physics/level/PointOnTriangle.h"

#include "engine/physics/PhysicsTolerances.h"

#include <cmath>
#include <glm/geometric.hpp>

bool withinSides(const glm::vec3 (&corners)[3], const glm::vec3& normal, const glm::vec3& point, float margin) {
    for (int j = 0; j < 3; ++j) {
        const glm::vec3 inward = glm::normalize(glm::cross(normal, corners[(j + 1) % 3] - corners[j]));
        if (glm::dot(inward, point - corners[j]) < -margin) {
            return false;
        }
    }
    return true;
}

bool onTriangle(const glm::vec3 (&corners)[3], const glm::vec3& normal, const glm::vec3& point) {
    return std::abs(glm::dot(normal, point - corners[0])) <= PhysicsTolerances::weld &&
           withinSides(corners, normal, point, PhysicsTolerances::weld);
}
