#pragma once

#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>
#include <vector>

class CookedTriangleMesh;

// What a body meeting a triangle of the level must know of it besides its corners, found once for
// the whole level: its meshes are solids laid against each other (a ramp against a platform, one
// floor slab beside another) and open sheets, so a triangle's neighbours may belong to another mesh.
struct TriangleFacts {
    // Bit j: the edge from corner j to corner j + 1 is a real edge of the level seen from the front,
    // where the surface turns away from a body in front. A seam inside a flat face, or a fold towards
    // the body, is no edge: a body sliding over it must not catch on it, so contacts there take the
    // face's normal.
    std::uint8_t edges = 0b111;
    // The same seen from the back, for a sheet: what is a ridge from one side is a valley from the other.
    std::uint8_t backEdges = 0b111;
    // A triangle of a closed solid is met from its front only (the outside: the level's solids are
    // wound outward when it is built); one of an open sheet encloses nothing and is met from both sides.
    bool twoSided = false;
    // Covered by faces of other solids laid against it (a ramp's back against a platform's side):
    // inside the level, never met at all.
    bool inner = false;
    // Faces that cover part of it (the platform's side behind the ramp): where they lie, it is inside
    // the level. An index into LevelFacts::covers, and how many.
    std::uint32_t firstCover = 0;
    std::uint32_t coverCount = 0;
};

// A face of a solid laid against a triangle of another.
struct Cover {
    glm::vec3 corners[3];
    glm::vec3 normal;
};

// A triangle by its mesh and its index in it.
struct TriangleRef {
    int part;
    int index;
};

// A closed solid of the level: its faces, and their bounds.
struct Solid {
    glm::vec3 low{0.0f};
    glm::vec3 high{0.0f};
    std::vector<TriangleRef> faces;
};

struct LevelFacts {
    // Indexed as the meshes and their triangles are.
    std::vector<std::vector<TriangleFacts>> triangles;
    std::vector<Cover> covers;
    std::vector<Solid> solids;

    // Whether the point, on the triangle, lies where another solid covers it.
    bool hidden(int part, int index, const glm::vec3& point) const;
};

// The facts of every triangle of every mesh. Edges and faces are matched by place within a tenth of
// a millimetre, also across meshes and where one edge runs along part of a longer one. The meshes'
// solids are wound outward on the way (see orientSolids).
LevelFacts findTriangleFacts(std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes);
