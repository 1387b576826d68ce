#pragma once

#include <array>
#include <glm/vec3.hpp>
#include <string>
#include <utility>
#include <vector>

// One bone influence on a vertex: the joint's position in the model's joint list and its weight.
using Influence = std::pair<int, float>;

// Geometry as the generator writes it: parallel per-vertex positions and normals (a triangle's
// three indices address both), counter-clockwise triangles seen from the front, and optionally
// the bone influences of every vertex (empty for a mesh without a skin).
struct GeneratedMesh {
    std::string name{};
    std::vector<glm::vec3> positions{};
    std::vector<glm::vec3> normals{};
    std::vector<std::array<unsigned, 3>> triangles{};
    std::vector<std::vector<Influence>> influences{};
};
