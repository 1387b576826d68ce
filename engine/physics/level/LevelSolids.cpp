#include "engine/physics/level/LevelSolids.h"

#include "engine/physics/level/CookedTriangleMesh.h"

#include <algorithm>
#include <glm/geometric.hpp>

namespace {
constexpr std::uint8_t allEdges = 0b111;

// The neighbours of each face that continue its surface: of its mesh, not folded back onto it.
struct Surfaces {
    std::vector<std::size_t> first; // per face, into joins; one more at the end
    std::vector<const Neighbour*> joins;
};

Surfaces surfacesOf(const std::vector<Face>& faces, const Meetings& meetings) {
    Surfaces surfaces{std::vector<std::size_t>(faces.size() + 1, 0), {}};
    std::vector<const Neighbour*> joins;
    for (const Neighbour& neighbour : meetings.neighbours) {
        const Face& face = faces[neighbour.face];
        const Face& other = faces[neighbour.other];
        if (face.part == other.part && !foldsBack(face, neighbour.edge, other)) {
            joins.push_back(&neighbour);
            ++surfaces.first[neighbour.face + 1];
        }
    }
    for (std::size_t face = 0; face < faces.size(); ++face) {
        surfaces.first[face + 1] += surfaces.first[face];
    }
    surfaces.joins.resize(joins.size());
    std::vector<std::size_t> next(surfaces.first.begin(), surfaces.first.end() - 1);
    for (const Neighbour* join : joins) {
        surfaces.joins[next[join->face]++] = join;
    }
    return surfaces;
}

glm::vec3 edgeOf(const Face& face, int j) { return face.corners[(j + 1) % 3] - face.corners[j]; }

// Six times the volume the faces enclose, turned faces counted turned: below 0 for a solid wound
// inward. Measured from one of its corners, so that a solid far from the origin keeps its precision.
float enclosedVolume(const std::vector<Face>& faces, const std::vector<std::size_t>& members,
                     const std::vector<bool>& turned) {
    const glm::vec3 origin = faces[members.front()].corners[0];
    float volume = 0.0f;
    for (const std::size_t f : members) {
        const glm::vec3* c = faces[f].corners;
        const float part = glm::dot(c[0] - origin, glm::cross(c[1] - origin, c[2] - origin));
        volume += turned[f] ? -part : part;
    }
    return volume;
}

struct Surface {
    std::vector<std::size_t> members;
    bool closed = true;
    // Every edge joins two faces only. Where more meet (two boxes of one mesh laid against each other,
    // steps of a stair) the winding of one face says nothing of the next across that edge.
    bool manifold = true;
};

// The faces reached from seed, each marked turned where its winding runs against the seed's: two
// faces wound alike run along their common edge in opposite directions.
Surface walk(std::size_t seed, const std::vector<Face>& faces, const Surfaces& surfaces, std::vector<bool>& reached,
             std::vector<bool>& turned) {
    Surface surface;
    reached[seed] = true;
    surface.members.push_back(seed);
    for (std::size_t next = 0; next < surface.members.size(); ++next) {
        const std::size_t face = surface.members[next];
        std::uint8_t joined = 0;
        for (std::size_t i = surfaces.first[face]; i < surfaces.first[face + 1]; ++i) {
            const Neighbour& join = *surfaces.joins[i];
            surface.manifold = surface.manifold && (joined >> join.edge & 1) == 0;
            joined |= static_cast<std::uint8_t>(1u << join.edge);
            if (!reached[join.other]) {
                const bool alike = glm::dot(edgeOf(faces[face], join.edge), edgeOf(faces[join.other], join.otherEdge)) < 0.0f;
                reached[join.other] = true;
                turned[join.other] = turned[face] != !alike;
                surface.members.push_back(join.other);
            }
        }
        surface.closed = surface.closed && joined == allEdges;
    }
    return surface;
}

void turnOver(std::size_t face, std::vector<Face>& faces, std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes) {
    faces[face].reverse();
    meshes[faces[face].part]->reverseTriangle(faces[face].index);
}
} // namespace

std::vector<std::uint32_t> orientSolids(std::vector<Face>& faces, Meetings& meetings,
                                        std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes) {
    const Surfaces surfaces = surfacesOf(faces, meetings);
    std::vector<std::uint32_t> solids(faces.size(), noSolid);
    std::vector<bool> reached(faces.size(), false);
    std::vector<bool> turned(faces.size(), false);
    std::uint32_t count = 0;
    for (std::size_t seed = 0; seed < faces.size(); ++seed) {
        if (reached[seed]) {
            continue;
        }
        const Surface surface = walk(seed, faces, surfaces, reached, turned);
        if (!surface.manifold) {
            // Kept as the model winds it, and turned over whole if that is inward.
            for (const std::size_t face : surface.members) {
                turned[face] = false;
            }
        }
        const bool inward = surface.closed && enclosedVolume(faces, surface.members, turned) < 0.0f;
        for (const std::size_t face : surface.members) {
            turned[face] = turned[face] != inward;
            solids[face] = surface.closed ? count : noSolid;
        }
        count += surface.closed ? 1 : 0;
    }
    for (std::size_t face = 0; face < faces.size(); ++face) {
        if (turned[face]) {
            turnOver(face, faces, meshes);
        }
    }
    for (Neighbour& neighbour : meetings.neighbours) {
        neighbour.edge = turned[neighbour.face] ? 2 - neighbour.edge : neighbour.edge;
        neighbour.otherEdge = turned[neighbour.other] ? 2 - neighbour.otherEdge : neighbour.otherEdge;
    }
    return solids;
}
