#include "engine/physics/level/LevelFaces.h"

#include "engine/physics/PhysicsTolerances.h"
#include "engine/physics/level/CookedTriangleMesh.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <numeric>

namespace {
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
    if (length < PhysicsTolerances::weld) {
        return false;
    }
    const glm::vec3 along = span / length;
    const glm::vec3 c = b.corners[k];
    const glm::vec3 d = b.corners[(k + 1) % 3];
    if (distanceToLine(c, from, along) > PhysicsTolerances::weld || distanceToLine(d, from, along) > PhysicsTolerances::weld) {
        return false;
    }
    const float u = glm::dot(c - from, along);
    const float v = glm::dot(d - from, along);
    return std::min(std::max(u, v), length) - std::max(std::min(u, v), 0.0f) > PhysicsTolerances::weld;
}

bool onOnePlane(const Face& a, const Face& b) {
    return std::abs(glm::dot(a.normal, b.normal)) > PhysicsTolerances::flatSeamCosine &&
           std::abs(glm::dot(a.normal, b.corners[0] - a.corners[0])) < PhysicsTolerances::weld;
}

} // namespace

glm::vec3 centreOf(const Face& face) { return (face.corners[0] + face.corners[1] + face.corners[2]) / 3.0f; }

void Face::reverse() {
    std::swap(corners[1], corners[2]);
    normal = -normal;
}

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
            face.low = glm::min(face.corners[0], glm::min(face.corners[1], face.corners[2])) - glm::vec3(PhysicsTolerances::weld);
            face.high = glm::max(face.corners[0], glm::max(face.corners[1], face.corners[2])) + glm::vec3(PhysicsTolerances::weld);
            face.part = static_cast<int>(part);
            face.index = t;
            faces.push_back(face);
        }
    }
    return faces;
}

Meetings meetingsOf(const std::vector<Face>& faces) {
    Meetings meetings;
    forEachNearPair(faces, [&](std::size_t a, std::size_t b) {
        if (onOnePlane(faces[a], faces[b])) {
            meetings.coplanar.push_back({a, b});
        }
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                if (runAlong(faces[a], j, faces[b], k)) {
                    meetings.neighbours.push_back({a, j, b, k});
                    meetings.neighbours.push_back({b, k, a, j});
                }
            }
        }
    });
    return meetings;
}

bool foldsBack(const Face& face, int j, const Face& other) {
    const glm::vec3 centre = centreOf(other);
    if (std::abs(glm::dot(face.normal, centre - face.corners[j])) > PhysicsTolerances::weld) {
        return false; // off the face's plane: however sharp the turn, a solid's edge
    }
    const glm::vec3 inward = glm::cross(face.normal, face.corners[(j + 1) % 3] - face.corners[j]);
    return glm::dot(inward, centre - face.corners[j]) > 0.0f;
}
