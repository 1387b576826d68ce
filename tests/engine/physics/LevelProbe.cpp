#include "tests/engine/physics/LevelProbe.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <glm/vec4.hpp>

namespace {
// The inside test's ray: a direction no face or edge of the arena lies along.
const glm::vec3 parityDirection = glm::normalize(glm::vec3(0.5772f, 0.6133f, 0.5389f));

// Where the ray from origin along direction meets the triangle, as a multiple of direction; nothing
// when it misses or runs parallel.
std::optional<float> rayHit(const glm::vec3& origin, const glm::vec3& direction, const glm::vec3& a,
                            const glm::vec3& b, const glm::vec3& c) {
    const glm::vec3 ab = b - a;
    const glm::vec3 ac = c - a;
    const glm::vec3 p = glm::cross(direction, ac);
    const float det = glm::dot(ab, p);
    if (std::abs(det) < 1e-12f) {
        return std::nullopt;
    }
    const glm::vec3 s = origin - a;
    const float u = glm::dot(s, p) / det;
    const glm::vec3 q = glm::cross(s, ab);
    const float v = glm::dot(direction, q) / det;
    const float t = glm::dot(ac, q) / det;
    if (u < 0.0f || v < 0.0f || u + v > 1.0f || t < 0.0f) {
        return std::nullopt;
    }
    return t;
}

// The closest point of the triangle to p, by the regions of its corners, edges and face.
glm::vec3 closestOnTriangle(const glm::vec3& p, const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    const glm::vec3 ab = b - a, ac = c - a, ap = p - a;
    const float d1 = glm::dot(ab, ap), d2 = glm::dot(ac, ap);
    if (d1 <= 0.0f && d2 <= 0.0f) {
        return a;
    }
    const glm::vec3 bp = p - b;
    const float d3 = glm::dot(ab, bp), d4 = glm::dot(ac, bp);
    if (d3 >= 0.0f && d4 <= d3) {
        return b;
    }
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) {
        return a + ab * (d1 / (d1 - d3));
    }
    const glm::vec3 cp = p - c;
    const float d5 = glm::dot(ab, cp), d6 = glm::dot(ac, cp);
    if (d6 >= 0.0f && d5 <= d6) {
        return c;
    }
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) {
        return a + ac * (d2 / (d2 - d6));
    }
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0.0f && d4 - d3 >= 0.0f && d5 - d6 >= 0.0f) {
        return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    }
    const float denominator = 1.0f / (va + vb + vc);
    return a + ab * (vb * denominator) + ac * (vc * denominator);
}

bool within(const glm::vec3& point, const glm::vec3& min, const glm::vec3& max) {
    return glm::all(glm::greaterThanEqual(point, min)) && glm::all(glm::lessThanEqual(point, max));
}
} // namespace

LevelProbe::LevelProbe(const std::vector<LevelMesh>& meshes) {
    for (const LevelMesh& mesh : meshes) {
        Solid solid;
        solid.min = glm::vec3(INFINITY);
        solid.max = glm::vec3(-INFINITY);
        std::vector<glm::vec3> points;
        for (const glm::vec3& position : mesh.positions) {
            const glm::vec4 point = mesh.transform * glm::vec4(position, 1.0f);
            points.push_back(glm::vec3(point) / point.w);
            solid.min = glm::min(solid.min, points.back());
            solid.max = glm::max(solid.max, points.back());
        }
        for (const glm::uvec3& triangle : mesh.triangles) {
            solid.triangles.push_back({points[triangle.x], points[triangle.y], points[triangle.z]});
        }
        solids.push_back(std::move(solid));
    }
}

bool LevelProbe::inside(const Solid& solid, const glm::vec3& point) const {
    int crossings = 0;
    for (const Triangle& triangle : solid.triangles) {
        crossings += rayHit(point, parityDirection, triangle.a, triangle.b, triangle.c).has_value() ? 1 : 0;
    }
    return crossings % 2 == 1;
}

float LevelProbe::depthIn(const Solid& solid, const glm::vec3& point) const {
    if (!within(point, solid.min, solid.max) || !inside(solid, point)) {
        return 0.0f;
    }
    float nearest = INFINITY;
    for (const Triangle& triangle : solid.triangles) {
        nearest = std::min(nearest, glm::distance(point, closestOnTriangle(point, triangle.a, triangle.b, triangle.c)));
    }
    return nearest;
}

float LevelProbe::depth(const glm::vec3& point) const { return deepest({point}); }

float LevelProbe::deepest(const std::vector<glm::vec3>& points) const {
    glm::vec3 lower(INFINITY), upper(-INFINITY);
    for (const glm::vec3& point : points) {
        lower = glm::min(lower, point);
        upper = glm::max(upper, point);
    }
    float result = 0.0f;
    for (const Solid& solid : solids) {
        if (glm::any(glm::lessThan(upper, solid.min)) || glm::any(glm::greaterThan(lower, solid.max))) {
            continue;
        }
        for (const glm::vec3& point : points) {
            result = std::max(result, depthIn(solid, point));
        }
    }
    return result;
}

bool LevelProbe::crosses(const glm::vec3& from, const glm::vec3& to) const {
    const glm::vec3 lower = glm::min(from, to);
    const glm::vec3 upper = glm::max(from, to);
    for (const Solid& solid : solids) {
        if (glm::any(glm::lessThan(upper, solid.min)) || glm::any(glm::greaterThan(lower, solid.max))) {
            continue;
        }
        for (const Triangle& triangle : solid.triangles) {
            const std::optional<float> t = rayHit(from, to - from, triangle.a, triangle.b, triangle.c);
            if (t && *t <= 1.0f) {
                return true;
            }
        }
    }
    return false;
}

std::optional<float> LevelProbe::surfaceBelow(const glm::vec3& point) const {
    std::optional<float> highest;
    for (const Solid& solid : solids) {
        for (const Triangle& triangle : solid.triangles) {
            const glm::vec3 down(0.0f, -1.0f, 0.0f);
            if (const std::optional<float> t = rayHit(point, down, triangle.a, triangle.b, triangle.c)) {
                highest = std::max(highest.value_or(-INFINITY), point.y - *t);
            }
        }
    }
    return highest;
}
