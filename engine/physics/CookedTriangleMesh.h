#pragma once

#include "engine/physics/LevelMesh.h"

#include <cstdint>
#include <memory>
#include <vector>

// What a box meeting a triangle of the level must know of it besides its corners.
struct TriangleFacts {
    // Bit j: the edge from corner j to corner j + 1 is a real edge of the level, where the surface
    // turns outwards. A seam inside a flat face, or a fold inwards, is no edge: a body sliding over
    // it must not catch on it, so contacts there take the face's normal.
    std::uint8_t edges = 0b111;
    // A triangle of a closed solid is met from its front only (the side its corners turn
    // counter-clockwise on); one of an open sheet encloses nothing and is met from both sides.
    bool twoSided = false;
};

// One mesh of the level made ready for collision: the positions with the mesh transform applied,
// the triangles that have an area, and what each triangle's edges and sides are. Plain arrays; the
// collision shape over them points into them, so they never change after cooking.
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
    const TriangleFacts& getFacts(std::size_t triangle) const { return facts[triangle]; }
    std::size_t getTriangleCount() const { return triangles.size(); }

private:
    void findEdges();

    std::vector<glm::vec3> positions;
    std::vector<glm::uvec3> triangles;
    std::vector<TriangleFacts> facts;
};
