#include "engine/physics/CookedTriangleMesh.h"

#include "engine/physics/Finite.h"

#include <algorithm>
#include <array>
#include <glm/geometric.hpp>
#include <glm/vec4.hpp>
#include <map>

static_assert(sizeof(glm::vec3) == 3 * sizeof(float) && sizeof(glm::uvec3) == 3 * sizeof(int),
              "the collision mesh reads positions and triangles as tightly packed triples");

namespace {
// Faces meeting at less than this angle (about 3 degrees) are one flat face: the seam is no edge.
constexpr float flatCosine = 0.9986f;

// Slivers whose area is a millionth of their longest edge squared would give contact normals of
// noise; they go like triangles with two equal corners.
bool hasArea(const std::vector<glm::vec3>& positions, const glm::uvec3& triangle) {
    const glm::vec3 a = positions[triangle.x];
    const glm::vec3 b = positions[triangle.y];
    const glm::vec3 c = positions[triangle.z];
    const float longest = std::max({glm::dot(b - a, b - a), glm::dot(c - b, c - b), glm::dot(a - c, a - c)});
    return longest > 0.0f && glm::length(glm::cross(b - a, c - a)) > 1e-6f * longest;
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

// An edge by the places of its two ends, the same whichever triangle names it and in which order:
// meshes drawn with flat faces repeat their corners once per face.
using Place = std::array<float, 3>;
using EdgeKey = std::pair<Place, Place>;

EdgeKey keyOf(const glm::vec3& a, const glm::vec3& b) {
    const Place p{a.x, a.y, a.z};
    const Place q{b.x, b.y, b.z};
    return p < q ? EdgeKey{p, q} : EdgeKey{q, p};
}

glm::vec3 normalOf(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    return glm::normalize(glm::cross(b - a, c - a));
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
    : positions(std::move(positionsIn)), triangles(std::move(trianglesIn)), facts(triangles.size()) {
    findEdges();
}

// An edge shared by exactly two triangles is an edge of the solid when the second triangle turns
// away behind the first and not flat; one that only one triangle has is the rim of a sheet, and
// makes that triangle two-sided. An edge of more than two triangles (boxes of one mesh touching) is
// kept as an edge.
void CookedTriangleMesh::findEdges() {
    std::map<EdgeKey, std::vector<std::pair<std::size_t, int>>> users;
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        for (int j = 0; j < 3; ++j) {
            users[keyOf(positions[triangles[t][j]], positions[triangles[t][(j + 1) % 3]])].push_back({t, j});
        }
    }
    for (const auto& [key, sharing] : users) {
        if (sharing.size() == 1) {
            facts[sharing[0].first].twoSided = true;
            continue;
        }
        if (sharing.size() != 2) {
            continue;
        }
        for (int side = 0; side < 2; ++side) {
            const auto [t, j] = sharing[side];
            const std::size_t other = sharing[1 - side].first;
            const glm::uvec3 a = triangles[t];
            const glm::uvec3 b = triangles[other];
            const glm::vec3 normal = normalOf(positions[a.x], positions[a.y], positions[a.z]);
            const glm::vec3 otherNormal = normalOf(positions[b.x], positions[b.y], positions[b.z]);
            const glm::vec3 beyond = positions[b.x] + positions[b.y] + positions[b.z] - positions[a[j]] - positions[a[(j + 1) % 3]];
            const bool turnsAway = glm::dot(normal, beyond - positions[a[j]]) < 0.0f;
            if (!turnsAway || glm::dot(normal, otherNormal) > flatCosine) {
                facts[t].edges &= static_cast<std::uint8_t>(~(1u << j));
            }
        }
    }
}
