#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <string>
#include <vector>

// The CPU arrays a Mesh is built from. The per-vertex arrays are parallel: entry i of each belongs
// to vertex i. Nothing checks their lengths; the import fills them consistently.
struct SubMesh {
    std::string name;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::uvec3> triangles;
    std::vector<glm::vec2> textureCoordinates;
    std::vector<glm::uvec4> boneIds;
    std::vector<glm::vec4> boneWeights;
};
