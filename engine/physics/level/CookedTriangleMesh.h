#pragma once

#include "engine/physics/level/LevelMesh.h"

#include <memory>
#include <utility>
#include <vector>

// One mesh of the level made ready for collision: the positions with the mesh transform applied and
// the triangles that have an area. Plain arrays; the collision shape over them points into them, so
// they never change once it is made.
class CookedTriangleMesh {
public:
    // Empty for a mesh that does not make a collision mesh: fewer than 3 points, no triangles, an
    // index out of range, a position or transform that is not finite, or no triangle with an area.
    static std::unique_ptr<CookedTriangleMesh> cook(const LevelMesh& mesh);

    CookedTriangleMesh(std::vector<glm::vec3> positions, std::vector<glm::uvec3> triangles);
    CookedTriangleMesh(const CookedTriangleMesh&) = delete;
    CookedTriangleMesh& operator=(const CookedTriangleMesh&) = delete;

    const std::vector<glm::vec3>& getPositions() const { return positions; }
    const std::vector<glm::uvec3>& getTriangles() const { return triangles; }
    // Turns a triangle over (its last two corners change places): for the level's set-up, before the
    // collision shape is made.
    void reverseTriangle(std::size_t index) { std::swap(triangles[index].y, triangles[index].z); }

private:
    std::vector<glm::vec3> positions;
    std::vector<glm::uvec3> triangles;
};
