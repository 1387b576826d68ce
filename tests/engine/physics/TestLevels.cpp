#include "tests/engine/physics/TestLevels.h"

#include "graphics/model/ModelImport.h"

#include <cmath>
#include <glm/trigonometric.hpp>
#include <utility>

LevelMesh boxMesh(const glm::vec3& min, const glm::vec3& max) {
    LevelMesh mesh;
    for (int i = 0; i < 8; ++i) {
        mesh.positions.emplace_back(i & 1 ? max.x : min.x, i & 2 ? max.y : min.y, i & 4 ? max.z : min.z);
    }
    // Corner i has x from bit 0, y from bit 1, z from bit 2.
    mesh.triangles = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                      {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    return mesh;
}

LevelMesh floorMesh(float half, float y) {
    return boxMesh(glm::vec3(-half, y - 1.0f, -half), glm::vec3(half, y, half));
}

LevelMesh rampMesh(float x0, float length, float degrees, float halfWidth) {
    const float x1 = x0 + length;
    const float top = length * std::tan(glm::radians(degrees));
    LevelMesh mesh;
    mesh.positions = {{x0, 0.0f, -halfWidth}, {x0, 0.0f, halfWidth}, {x1, 0.0f, -halfWidth},
                      {x1, 0.0f, halfWidth},  {x1, top, -halfWidth}, {x1, top, halfWidth}};
    mesh.triangles = {{0, 1, 5}, {0, 5, 4}, {2, 4, 5}, {2, 5, 3}, {0, 4, 2}, {1, 3, 5}, {0, 2, 3}, {0, 3, 1}};
    return mesh;
}

LevelMesh sheetMesh(const glm::vec3& corner, const glm::vec3& edge0, const glm::vec3& edge1) {
    LevelMesh mesh;
    mesh.positions = {corner, corner + edge0, corner + edge0 + edge1, corner + edge1};
    mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
    return mesh;
}

LevelMesh gridMesh(int quads, float side, float y) {
    const float half = 0.5f * side * static_cast<float>(quads);
    const unsigned row = static_cast<unsigned>(quads) + 1;
    LevelMesh mesh;
    for (unsigned i = 0; i < row; ++i) {
        for (unsigned k = 0; k < row; ++k) {
            mesh.positions.emplace_back(side * static_cast<float>(i) - half, y, side * static_cast<float>(k) - half);
        }
    }
    // Corner i * row + k lies at x index i, z index k; each square's two triangles share its diagonal.
    for (unsigned i = 0; i + 1 < row; ++i) {
        for (unsigned k = 0; k + 1 < row; ++k) {
            const unsigned corner = i * row + k;
            mesh.triangles.push_back({corner, corner + 1, corner + row + 1});
            mesh.triangles.push_back({corner, corner + row + 1, corner + row});
        }
    }
    return mesh;
}

LevelMesh backToBackMesh(const glm::vec3& corner, const glm::vec3& edge0, const glm::vec3& edge1) {
    LevelMesh mesh = sheetMesh(corner, edge0, edge1);
    const LevelMesh back = windingReversed({mesh}).front();
    const glm::uvec3 offset(static_cast<unsigned>(mesh.positions.size()));
    mesh.positions.insert(mesh.positions.end(), back.positions.begin(), back.positions.end());
    for (const glm::uvec3& triangle : back.triangles) {
        mesh.triangles.push_back(triangle + offset);
    }
    return mesh;
}

std::vector<LevelMesh> windingReversed(std::vector<LevelMesh> meshes) {
    for (LevelMesh& mesh : meshes) {
        for (glm::uvec3& triangle : mesh.triangles) {
            std::swap(triangle.y, triangle.z);
        }
    }
    return meshes;
}

std::vector<LevelMesh> arenaLevel() {
    const ModelData arena = loadModel("assets/models/map_rescaled.dae");
    std::vector<LevelMesh> meshes;
    for (std::size_t i = 0; i < arena.subMeshes.size(); ++i) {
        meshes.push_back({arena.subMeshes[i].positions, arena.subMeshes[i].triangles, arena.meshTransforms[i]});
    }
    return meshes;
}
