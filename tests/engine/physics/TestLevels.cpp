#include "tests/engine/physics/TestLevels.h"

#include "graphics/model/ModelImport.h"

#include <cmath>
#include <glm/trigonometric.hpp>

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

LevelMesh gridMesh(float size, float cell) {
    LevelMesh mesh;
    const int cells = static_cast<int>(std::lround(size / cell));
    for (int i = 0; i <= cells; ++i) {
        for (int j = 0; j <= cells; ++j) {
            mesh.positions.emplace_back(i * cell - 0.5f * size, 0.0f, j * cell - 0.5f * size);
        }
    }
    const auto corner = [&](int i, int j) { return static_cast<unsigned>(i * (cells + 1) + j); };
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            mesh.triangles.push_back({corner(i, j), corner(i, j + 1), corner(i + 1, j + 1)});
            mesh.triangles.push_back({corner(i, j), corner(i + 1, j + 1), corner(i + 1, j)});
        }
    }
    return mesh;
}

std::vector<LevelMesh> arenaLevel() {
    const ModelData arena = loadModel("assets/models/map_rescaled.dae");
    std::vector<LevelMesh> meshes;
    for (std::size_t i = 0; i < arena.subMeshes.size(); ++i) {
        meshes.push_back({arena.subMeshes[i].positions, arena.subMeshes[i].triangles, arena.meshTransforms[i]});
    }
    return meshes;
}
