#include "engine/physics/level/TriangleFacts.h"

#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/level/CookedTriangleMesh.h"
#include "engine/physics/level/LevelFaces.h"
#include "engine/physics/level/LevelSolids.h"
#include "engine/physics/level/PointOnTriangle.h"

#include <algorithm>
#include <glm/geometric.hpp>

namespace {
// A face is covered when its corners, the middles of its edges and its centre all lie on faces
// that look the other way.
bool covered(const Face& face, const std::vector<const Face*>& against) {
    const glm::vec3* c = face.corners;
    const glm::vec3 samples[] = {c[0], c[1], c[2], 0.5f * (c[0] + c[1]), 0.5f * (c[1] + c[2]), 0.5f * (c[2] + c[0]),
                                 centreOf(face)};
    return !against.empty() && std::all_of(std::begin(samples), std::end(samples), [&](const glm::vec3& sample) {
        return std::any_of(against.begin(), against.end(),
                           [&](const Face* other) { return onTriangle(other->corners, other->normal, sample); });
    });
}

// How the surface goes on across an edge: behind the face or in front of it, and how flat the turn is.
struct Turn {
    bool found = false;
    bool behind = false;
    float flatness = -2.0f;
};

// The neighbour's normal is taken as wound alike with the face (the two run along their common edge
// in opposite directions): sheets of two meshes may be wound either way round.
Turn turnTo(const Face& face, int j, const Face& neighbour, int k) {
    const glm::vec3 along = face.corners[(j + 1) % 3] - face.corners[j];
    const glm::vec3 back = neighbour.corners[(k + 1) % 3] - neighbour.corners[k];
    const glm::vec3 normal = glm::dot(along, back) < 0.0f ? neighbour.normal : -neighbour.normal;
    return {true, glm::dot(face.normal, centreOf(neighbour) - face.corners[j]) < 0.0f, glm::dot(face.normal, normal)};
}

// An edge is real for a body on one side of the face where nothing goes on across it, or where the
// surface turns away from the body and not flatly.
bool realFromFront(const Turn& turn) { return !turn.found || (turn.behind && turn.flatness <= PhysicsTolerances::flatSeamCosine); }
bool realFromBack(const Turn& turn) { return !turn.found || (!turn.behind && turn.flatness <= PhysicsTolerances::flatSeamCosine); }

void findSheets(const std::vector<std::uint32_t>& solids, std::vector<TriangleFacts*>& facts) {
    for (std::size_t face = 0; face < facts.size(); ++face) {
        facts[face]->twoSided = solids[face] == noSolid;
    }
}

// Per face, the faces of solids laid against it that look the other way.
std::vector<std::vector<const Face*>> coversOf(const std::vector<Face>& faces, const Meetings& meetings,
                                               const std::vector<TriangleFacts*>& facts) {
    std::vector<std::vector<const Face*>> covers(faces.size());
    for (const auto& [a, b] : meetings.coplanar) {
        if (!facts[a]->twoSided && !facts[b]->twoSided && glm::dot(faces[a].normal, faces[b].normal) < 0.0f) {
            covers[a].push_back(&faces[b]);
            covers[b].push_back(&faces[a]);
        }
    }
    return covers;
}

void findCovers(const std::vector<Face>& faces, const Meetings& meetings, std::vector<TriangleFacts*>& facts,
                std::vector<Cover>& covers) {
    const std::vector<std::vector<const Face*>> against = coversOf(faces, meetings, facts);
    for (std::size_t face = 0; face < faces.size(); ++face) {
        TriangleFacts& own = *facts[face];
        own.inner = !own.twoSided && covered(faces[face], against[face]);
        if (!own.inner && !own.twoSided) {
            own.firstCover = static_cast<std::uint32_t>(covers.size());
            own.coverCount = static_cast<std::uint32_t>(against[face].size());
            for (const Face* cover : against[face]) {
                covers.push_back({{cover->corners[0], cover->corners[1], cover->corners[2]}, cover->normal});
            }
        }
    }
}

// Across an edge, the flattest of the faces that go on from it decides: where a ramp's slope meets a
// platform's top, the top, not the platform's side behind the ramp. A sheet and a solid never make
// one surface, and a face folded back onto this one goes on nowhere.
void findEdges(const std::vector<Face>& faces, const Meetings& meetings, std::vector<TriangleFacts*>& facts) {
    std::vector<Turn> flattest(3 * faces.size());
    for (const Neighbour& neighbour : meetings.neighbours) {
        const Face& face = faces[neighbour.face];
        const Face& other = faces[neighbour.other];
        if (facts[neighbour.other]->inner || facts[neighbour.face]->twoSided != facts[neighbour.other]->twoSided ||
            foldsBack(face, neighbour.edge, other)) {
            continue;
        }
        const Turn turn = turnTo(face, neighbour.edge, other, neighbour.otherEdge);
        Turn& best = flattest[3 * neighbour.face + static_cast<std::size_t>(neighbour.edge)];
        if (turn.flatness > best.flatness) {
            best = turn;
        }
    }
    for (std::size_t face = 0; face < faces.size(); ++face) {
        facts[face]->edges = 0;
        facts[face]->backEdges = 0;
        for (int j = 0; j < 3; ++j) {
            const Turn& turn = flattest[3 * face + static_cast<std::size_t>(j)];
            facts[face]->edges |= static_cast<std::uint8_t>(realFromFront(turn) << j);
            facts[face]->backEdges |= static_cast<std::uint8_t>(realFromBack(turn) << j);
        }
    }
}

std::vector<Solid> solidsOf(const std::vector<Face>& faces, const std::vector<std::uint32_t>& solidOfFace) {
    std::vector<Solid> solids;
    for (std::size_t face = 0; face < faces.size(); ++face) {
        const std::uint32_t index = solidOfFace[face];
        if (index == noSolid) {
            continue;
        }
        if (index >= solids.size()) {
            solids.resize(index + 1, Solid{faces[face].low, faces[face].high, {}});
        }
        Solid& solid = solids[index];
        solid.low = glm::min(solid.low, faces[face].low);
        solid.high = glm::max(solid.high, faces[face].high);
        solid.faces.push_back({faces[face].part, static_cast<int>(faces[face].index)});
    }
    return solids;
}
} // namespace

LevelFacts findTriangleFacts(std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes) {
    std::vector<Face> faces = facesOf(meshes);
    Meetings meetings = meetingsOf(faces);
    const std::vector<std::uint32_t> solids = orientSolids(faces, meetings, meshes);
    LevelFacts level;
    for (const auto& mesh : meshes) {
        level.triangles.emplace_back(mesh->getTriangles().size());
    }
    std::vector<TriangleFacts*> facts;
    for (const Face& face : faces) {
        facts.push_back(&level.triangles[face.part][face.index]);
    }
    findSheets(solids, facts);
    findCovers(faces, meetings, facts, level.covers);
    findEdges(faces, meetings, facts);
    level.solids = solidsOf(faces, solids);
    return level;
}

bool LevelFacts::hidden(int part, int index, const glm::vec3& point) const {
    const TriangleFacts& facts = triangles[part][index];
    for (std::uint32_t i = facts.firstCover; i < facts.firstCover + facts.coverCount; ++i) {
        if (onTriangle(covers[i].corners, covers[i].normal, point)) {
            return true;
        }
    }
    return false;
}
