#include "engine/physics/level/CookedTriangleMesh.h"

#include "engine/physics/Finite.h"
#include "engine/physics/PhysicsTolerances.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <glm/vec4.hpp>
#include <iterator>

static_assert(sizeof(glm::vec3) == 3 * sizeof(float) && sizeof(glm::uvec3) == 3 * sizeof(int),
              "the collision mesh reads positions and triangles as tightly packed triples");

namespace {
// Slivers whose area is a millionth of their longest edge squared would give contact normals of
// noise; they go like triangles with two equal corners.
bool hasArea(const std::vector<glm::vec3>& positions, const glm::uvec3& triangle) {
    const glm::vec3 a = positions[triangle.x];
    const glm::vec3 b = positions[triangle.y];
    const glm::vec3 c = positions[triangle.z];
    const float longest = std::max({glm::dot(b - a, b - a), glm::dot(c - b, c - b), glm::dot(a - c, a - c)});
    return longest > 0.0f && glm::length(glm::cross(b - a, c - a)) > PhysicsTolerances::sliverRatio * longest;
}

std::vector<glm::vec3> transformed(const LevelMesh& mesh) {
    std::vector<glm::vec3> result;
    result.reserve(mesh.positions.size());
    for (const glm::vec3& position : mesh.positions) {
        const glm::vec4 point = mesh.transform * glm::vec4(position, 1.0f);
        result.emplace_back(glm::vec3(point) / point.w);
    }
    return result;
}

} // namespace

std::unique_ptr<CookedTriangleMesh> CookedTriangleMesh::cook(const LevelMesh& mesh) {
    if (mesh.positions.size() < 3 || mesh.triangles.empty()) {
        return nullptr;
    }
    const std::size_t count = mesh.positions.size();
    for (const glm::uvec3& triangle : mesh.triangles) {
        if (triangle.x >= count || triangle.y >= count || triangle.z >= count) {
            return nullptr;
        }
    }
    std::vector<glm::vec3> positions = transformed(mesh);
    if (!std::all_of(positions.begin(), positions.end(), [](const glm::vec3& p) { return isFinite(p); })) {
        return nullptr;
    }
    std::vector<glm::uvec3> triangles;
    triangles.reserve(mesh.triangles.size());
    std::copy_if(mesh.triangles.begin(), mesh.triangles.end(), std::back_inserter(triangles),
                 [&](const glm::uvec3& triangle) { return hasArea(positions, triangle); });
    if (triangles.empty()) {
        return nullptr;
    }
    return std::make_unique<CookedTriangleMesh>(std::move(positions), std::move(triangles));
}

CookedTriangleMesh::CookedTriangleMesh(std::vector<glm::vec3> positionsIn, std::vector<glm::uvec3> trianglesIn)
    : positions(std::move(positionsIn)), triangles(std::move(trianglesIn)) {}
