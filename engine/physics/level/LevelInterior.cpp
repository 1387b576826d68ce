#include "engine/physics/level/LevelInterior.h"

#include "engine/physics/level/CookedTriangleMesh.h"

#include <algorithm>
#include <glm/geometric.hpp>

namespace {
// Askew to every axis and diagonal, so that the ray from a point in a box-shaped level runs along no
// face or edge, where a crossing could count twice or not at all.
const glm::vec3 rayDirection = glm::normalize(glm::vec3(0.3137f, 0.8912f, 0.3275f));

struct Corners {
    glm::vec3 a, b, c;
};

Corners cornersOf(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes, const TriangleRef& face) {
    const CookedTriangleMesh& mesh = *meshes[face.part];
    const glm::uvec3 triangle = mesh.getTriangles()[face.index];
    return {mesh.getPositions()[triangle.x], mesh.getPositions()[triangle.y], mesh.getPositions()[triangle.z]};
}

bool rayCrosses(const glm::vec3& from, const Corners& t) {
    const glm::vec3 ab = t.b - t.a;
    const glm::vec3 ac = t.c - t.a;
    const glm::vec3 p = glm::cross(rayDirection, ac);
    const float det = glm::dot(ab, p);
    if (std::abs(det) < 1e-12f) {
        return false; // along the face's plane
    }
    const glm::vec3 s = (from - t.a) / det;
    const float u = glm::dot(s, p);
    const glm::vec3 q = glm::cross(s, ab);
    const float v = glm::dot(rayDirection, q);
    return u >= 0.0f && v >= 0.0f && u + v <= 1.0f && glm::dot(ac, q) > 0.0f;
}

// The point of the triangle nearest to p: in its face, on an edge or at a corner.
glm::vec3 nearestOn(const Corners& t, const glm::vec3& p) {
    const glm::vec3 ab = t.b - t.a, ac = t.c - t.a, ap = p - t.a;
    const float d1 = glm::dot(ab, ap), d2 = glm::dot(ac, ap);
    if (d1 <= 0.0f && d2 <= 0.0f) {
        return t.a;
    }
    const glm::vec3 bp = p - t.b;
    const float d3 = glm::dot(ab, bp), d4 = glm::dot(ac, bp);
    if (d3 >= 0.0f && d4 <= d3) {
        return t.b;
    }
    const glm::vec3 cp = p - t.c;
    const float d5 = glm::dot(ab, cp), d6 = glm::dot(ac, cp);
    if (d6 >= 0.0f && d5 <= d6) {
        return t.c;
    }
    const float vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
    if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) {
        return t.a + ab * (d1 / (d1 - d3));
    }
    if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) {
        return t.a + ac * (d2 / (d2 - d6));
    }
    if (va <= 0.0f && d4 - d3 >= 0.0f && d5 - d6 >= 0.0f) {
        return t.b + (t.c - t.b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    }
    const float scale = 1.0f / (va + vb + vc);
    return t.a + ab * (vb * scale) + ac * (vc * scale);
}

bool holds(const Solid& solid, const glm::vec3& point) {
    return glm::all(glm::lessThanEqual(solid.low, point)) && glm::all(glm::lessThanEqual(point, solid.high));
}

bool inside(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes, const Solid& solid, const glm::vec3& point) {
    bool odd = false;
    for (const TriangleRef& face : solid.faces) {
        odd = odd != rayCrosses(point, cornersOf(meshes, face));
    }
    return odd;
}

bool isBarred(const glm::vec3& way, std::span<const glm::vec3> barred) {
    return std::any_of(barred.begin(), barred.end(),
                       [&](const glm::vec3& direction) { return glm::dot(way, direction) > 0.5f * glm::length(way); });
}

std::optional<glm::vec3> nearestOpenPlace(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes,
                                          const LevelFacts& facts, const Solid& solid, const glm::vec3& point,
                                          std::span<const glm::vec3> barred) {
    std::optional<glm::vec3> nearest;
    for (const TriangleRef& face : solid.faces) {
        if (facts.triangles[face.part][face.index].inner) {
            continue;
        }
        const glm::vec3 place = nearestOn(cornersOf(meshes, face), point);
        const bool nearer = !nearest || glm::distance(place, point) < glm::distance(*nearest, point);
        if (nearer && !isBarred(place - point, barred) && !facts.hidden(face.part, face.index, place)) {
            nearest = place;
        }
    }
    return nearest;
}
} // namespace

std::optional<glm::vec3> wayOut(const std::vector<std::unique_ptr<CookedTriangleMesh>>& meshes, const LevelFacts& facts,
                                const glm::vec3& point, std::span<const glm::vec3> barred) {
    for (const Solid& solid : facts.solids) {
        if (holds(solid, point) && inside(meshes, solid, point)) {
            const std::optional<glm::vec3> place = nearestOpenPlace(meshes, facts, solid, point, barred);
            return place ? std::optional<glm::vec3>(*place - point) : std::nullopt;
        }
    }
    return std::nullopt;
}
