#pragma once

#include "engine/physics/LevelMesh.h"

#include <btBulletCollisionCommon.h>
#include <memory>
#include <vector>

// One mesh of the level made into a collision mesh: the positions with the mesh transform applied,
// the triangles that have an area, and the bounding-volume tree over them. It owns the arrays; the
// collision shape only points into them, so they never change after cooking.
class CookedTriangleMesh {
public:
    // Empty for a mesh that does not make a collision mesh: fewer than 3 points, no triangles, an
    // index out of range, a position or transform that is not finite, or no triangle with an area.
    static std::unique_ptr<CookedTriangleMesh> cook(const LevelMesh& mesh);

    CookedTriangleMesh(std::vector<glm::vec3> positions, std::vector<glm::uvec3> triangles);
    CookedTriangleMesh(const CookedTriangleMesh&) = delete;
    CookedTriangleMesh& operator=(const CookedTriangleMesh&) = delete;

    btBvhTriangleMeshShape& getShape() { return *shape; }
    std::size_t getTriangleCount() const { return triangles.size(); }

private:
    std::vector<glm::vec3> positions;
    std::vector<glm::uvec3> triangles;
    btTriangleIndexVertexArray vertexArray;
    std::unique_ptr<btBvhTriangleMeshShape> shape;
};
