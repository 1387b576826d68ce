#pragma once

#include <glm/vec3.hpp>

// Whether the point, seen along the unit normal, lies within the triangle's sides, or no more than
// margin (metres) beyond them.
bool withinSides(const glm::vec3 (&corners)[3], const glm::vec3& normal, const glm::vec3& point, float margin);
// Whether the point lies on the triangle of these corners and unit normal, within the weld.
bool onTriangle(const glm::vec3 (&corners)[3], const glm::vec3& normal, const glm::vec3& point);
