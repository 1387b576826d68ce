#include "engine/physics/TriangleFacts.h"

#include "engine/physics/CookedTriangleMesh.h"

#include <algorithm>
#include <numeric>
#include <glm/geometric.hpp>

namespace {
// Places closer than this (metres) are one place: corners that meshes repeat per face, and the joins
// between meshes laid against each other.
constexpr float weld = 1e-4f;
// Faces meeting at less than this angle (about 3 degrees) are one flat face: the seam is no edge.
constexpr float flatCosine = 0.9986f;

struct Face {
    glm::vec3 corners[3]{};
    glm::vec3 normal{0.0f};
    glm::vec3 low{0.0f};
    glm::vec3 high{0.0f};
    int part = 0;
    std::size_t index = 0;
};

// Where an edge of one face runs along an edge of another.
struct Neighbour {
    std::size_t face;
    int edge;
    std::size_t other;
};

std::vector<Face> facesOf(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes) {
    std::vector<Face> faces;
    for (std::size_t part = 0; part < meshes.size(); ++part) {
        const std::vector<glm::vec3>& positions = meshes[part]->getPositions();
        const std::vector<glm::uvec3>& triangles = meshes[part]->getTriangles();
        for (std::size_t t = 0; t < triangles.size(); ++t) {
            Face face;
            for (int k = 0; k < 3; ++k) {
                face.corners[k] = positions[triangles[t][k]];
            }
            face.normal = glm::normalize(glm::cross(face.corners[1] - face.corners[0], face.corners[2] - face.corners[0]));
            face.low = glm::min(face.corners[0], glm::min(face.corners[1], face.corners[2])) - glm::vec3(weld);
            face.high = glm::max(face.corners[0], glm::max(face.corners[1], face.corners[2])) + glm::vec3(weld);
            face.part = static_cast<int>(part);
            face.index = t;
            faces.push_back(face);
        }
    }
    return faces;
}

bool boxesMeet(const Face& a, const Face& b) {
    return glm::all(glm::lessThanEqual(a.low, b.high)) && glm::all(glm::lessThanEqual(b.low, a.high));
}

// Every pair of faces whose bounds meet, each once: a sweep along x over the faces sorted by where
// they begin.
template <typename Visit>
void forEachNearPair(const std::vector<Face>& faces, Visit&& visit) {
    std::vector<std::size_t> order(faces.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return faces[a].low.x < faces[b].low.x; });
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size() && faces[order[j]].low.x <= faces[order[i]].high.x; ++j) {
            if (boxesMeet(faces[order[i]], faces[order[j]])) {
                visit(order[i], order[j]);
            }
        }
    }
}

float distanceToLine(const glm::vec3& point, const glm::vec3& from, const glm::vec3& along) {
    const glm::vec3 offset = point - from;
    return glm::length(offset - along * glm::dot(offset, along));
}

// Whether edge j of a and edge k of b lie on one line and share a stretch of it.
bool runAlong(const Face& a, int j, const Face& b, int k) {
    const glm::vec3 from = a.corners[j];
    const glm::vec3 span = a.corners[(j + 1) % 3] - from;
    const float length = glm::length(span);
    if (length < weld) {
        return false;
    }
    const glm::vec3 along = span / length;
    const glm::vec3 c = b.corners[k];
    const glm::vec3 d = b.corners[(k + 1) % 3];
    if (distanceToLine(c, from, along) > weld || distanceToLine(d, from, along) > weld) {
        return false;
    }
    const float u = glm::dot(c - from, along);
    const float v = glm::dot(d - from, along);
    return std::min(std::max(u, v), length) - std::max(std::min(u, v), 0.0f) > weld;
}

// Whether the point lies on the triangle of these corners and unit normal, within the weld.
bool onTriangle(const glm::vec3 (&corners)[3], const glm::vec3& normal, const glm::vec3& point) {
    if (std::abs(glm::dot(normal, point - corners[0])) > weld) {
        return false;
    }
    for (int j = 0; j < 3; ++j) {
        const glm::vec3 edge = corners[(j + 1) % 3] - corners[j];
        const glm::vec3 inward = glm::normalize(glm::cross(normal, edge));
        if (glm::dot(inward, point - corners[j]) < -weld) {
            return false;
        }
    }
    return true;
}

// A face is covered when its corners, the middles of its edges and its centre all lie on faces
// that look the other way.
bool covered(const Face& face, const std::vector<const Face*>& against) {
    const glm::vec3* c = face.corners;
    const glm::vec3 samples[] = {c[0], c[1], c[2], 0.5f * (c[0] + c[1]), 0.5f * (c[1] + c[2]), 0.5f * (c[2] + c[0]),
                                 (c[0] + c[1] + c[2]) / 3.0f};
    return !against.empty() && std::all_of(std::begin(samples), std::end(samples), [&](const glm::vec3& sample) {
        return std::any_of(against.begin(), against.end(),
                           [&](const Face* other) { return onTriangle(other->corners, other->normal, sample); });
    });
}

// Whether the neighbour across edge j turns away behind the face, and how flat the turn is.
struct Turn {
    bool away;
    float flatness;
};

Turn turnTo(const Face& face, int j, const Face& neighbour) {
    const glm::vec3 centre = (neighbour.corners[0] + neighbour.corners[1] + neighbour.corners[2]) / 3.0f;
    return {glm::dot(face.normal, centre - face.corners[j]) < 0.0f, glm::dot(face.normal, neighbour.normal)};
}
// Which faces lie against a face of another solid, and which edges of faces run along which.
struct Meetings {
    std::vector<std::vector<const Face*>> covers; // per face: the faces that look the other way on it
    std::vector<Neighbour> neighbours;
};

Meetings meetingsOf(const std::vector<Face>& faces) {
    Meetings meetings{std::vector<std::vector<const Face*>>(faces.size()), {}};
    forEachNearPair(faces, [&](std::size_t a, std::size_t b) {
        if (glm::dot(faces[a].normal, faces[b].normal) < -flatCosine &&
            std::abs(glm::dot(faces[a].normal, faces[b].corners[0] - faces[a].corners[0])) < weld) {
            meetings.covers[a].push_back(&faces[b]);
            meetings.covers[b].push_back(&faces[a]);
        }
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                if (runAlong(faces[a], j, faces[b], k)) {
                    meetings.neighbours.push_back({a, j, b});
                    meetings.neighbours.push_back({b, k, a});
                }
            }
        }
    });
    return meetings;
}

// A mesh with a rim is a sheet: every triangle with an edge that no other triangle of its mesh has.
void findSheets(const std::vector<Face>& faces, const Meetings& meetings, std::vector<TriangleFacts*>& facts) {
    std::vector<std::uint8_t> joinedInMesh(faces.size(), 0);
    for (const Neighbour& neighbour : meetings.neighbours) {
        if (faces[neighbour.face].part == faces[neighbour.other].part) {
            joinedInMesh[neighbour.face] |= static_cast<std::uint8_t>(1u << neighbour.edge);
        }
    }
    for (std::size_t face = 0; face < faces.size(); ++face) {
        facts[face]->twoSided = joinedInMesh[face] != 0b111;
    }
}

void findCovers(const std::vector<Face>& faces, const Meetings& meetings, std::vector<TriangleFacts*>& facts,
                std::vector<Cover>& covers) {
    for (std::size_t face = 0; face < faces.size(); ++face) {
        TriangleFacts& own = *facts[face];
        own.inner = !own.twoSided && covered(faces[face], meetings.covers[face]);
        if (!own.inner && !own.twoSided) {
            own.firstCover = static_cast<std::uint32_t>(covers.size());
            own.coverCount = static_cast<std::uint32_t>(meetings.covers[face].size());
            for (const Face* cover : meetings.covers[face]) {
                covers.push_back({{cover->corners[0], cover->corners[1], cover->corners[2]}, cover->normal});
            }
        }
    }
}

// Across an edge, the flattest of the faces that run along it on a solid decides: where a ramp's
// slope meets a platform's top, the top, not the platform's side behind the ramp.
void findEdges(const std::vector<Face>& faces, const Meetings& meetings, std::vector<TriangleFacts*>& facts) {
    std::vector<Turn> flattest(3 * faces.size(), Turn{true, -2.0f});
    for (const Neighbour& neighbour : meetings.neighbours) {
        const TriangleFacts& own = *facts[neighbour.face];
        const TriangleFacts& other = *facts[neighbour.other];
        const bool sameMesh = faces[neighbour.face].part == faces[neighbour.other].part;
        if (other.inner || (!sameMesh && (own.twoSided || other.twoSided))) {
            continue;
        }
        const Turn turn = turnTo(faces[neighbour.face], neighbour.edge, faces[neighbour.other]);
        Turn& best = flattest[3 * neighbour.face + static_cast<std::size_t>(neighbour.edge)];
        if (turn.flatness > best.flatness) {
            best = turn;
        }
    }
    for (std::size_t face = 0; face < faces.size(); ++face) {
        for (int j = 0; j < 3; ++j) {
            const Turn& turn = flattest[3 * face + static_cast<std::size_t>(j)];
            if (!turn.away || turn.flatness > flatCosine) {
                facts[face]->edges &= static_cast<std::uint8_t>(~(1u << j));
            }
        }
    }
}
} // namespace

LevelFacts findTriangleFacts(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes) {
    const std::vector<Face> faces = facesOf(meshes);
    const Meetings meetings = meetingsOf(faces);
    LevelFacts level;
    for (const auto& mesh : meshes) {
        level.triangles.emplace_back(mesh->getTriangles().size());
    }
    std::vector<TriangleFacts*> facts;
    for (const Face& face : faces) {
        facts.push_back(&level.triangles[face.part][face.index]);
    }
    findSheets(faces, meetings, facts);
    findCovers(faces, meetings, facts, level.covers);
    findEdges(faces, meetings, facts);
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
