#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vector>

// One mesh of the static level, as plain data: its vertex positions, its triangles (indices into
// positions) and the transform the renderer applies to it. The world applies the transform in full,
// rotation and scale included, so the level collides with exactly what is drawn.
struct LevelMesh {
    std::vector<glm::vec3> positions;
    std::vector<glm::uvec3> triangles;
    glm::mat4 transform{1.0f};
};
