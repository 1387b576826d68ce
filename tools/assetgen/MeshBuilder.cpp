#include "tools/assetgen/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>
#include <numbers>

namespace {
// Below this a triangle's area (in square metres) counts as degenerate: the physics cooking and
// the smooth-normal pass both misbehave on such slivers, so the generator refuses to write one.
constexpr float minimumArea = 1e-7f;

glm::vec3 apply(const glm::mat4& m, glm::vec3 p) { return glm::vec3(m * glm::vec4(p, 1.0f)); }
} // namespace

MeshBuilder::MeshBuilder(std::string name) : transform(1.0f) { mesh.name = std::move(name); }

void MeshBuilder::setTransform(const glm::mat4& value) { transform = value; }

void MeshBuilder::setInfluences(InfluenceRule rule) { influences = std::move(rule); }

void MeshBuilder::setBone(int bone) {
    influences = [bone](glm::vec3) { return std::vector<Influence>{{bone, 1.0f}}; };
}

unsigned MeshBuilder::addVertex(glm::vec3 position, glm::vec3 normal) {
    mesh.positions.push_back(position);
    mesh.normals.push_back(glm::normalize(normal));
    if (influences) {
        mesh.influences.push_back(influences(position));
    }
    return static_cast<unsigned>(mesh.positions.size() - 1);
}

void MeshBuilder::addTriangle(unsigned a, unsigned b, unsigned c) {
    const glm::vec3& pa = mesh.positions[a];
    const float area = 0.5f * glm::length(glm::cross(mesh.positions[b] - pa, mesh.positions[c] - pa));
    if (!(area > minimumArea)) {
        std::fprintf(stderr, "degenerate triangle in mesh '%s'\n", mesh.name.c_str());
        std::exit(1);
    }
    mesh.triangles.push_back({a, b, c});
}

void MeshBuilder::addFace(const std::vector<glm::vec3>& polygon, glm::vec3 inside) {
    std::vector<glm::vec3> points;
    for (glm::vec3 p : polygon) {
        points.push_back(apply(transform, p));
    }
    const glm::vec3 centre = apply(transform, inside);
    glm::vec3 normal = glm::normalize(glm::cross(points[1] - points[0], points[2] - points[0]));
    if (glm::dot(normal, points[0] - centre) < 0.0f) {
        std::reverse(points.begin(), points.end());
        normal = -normal;
    }
    const unsigned first = addVertex(points[0], normal);
    unsigned previous = addVertex(points[1], normal);
    for (std::size_t i = 2; i < points.size(); ++i) {
        const unsigned next = addVertex(points[i], normal);
        addTriangle(first, previous, next);
        previous = next;
    }
}

void MeshBuilder::addBox(glm::vec3 min, glm::vec3 max) { addTaperedBox(min, max, 0.0f, 0.0f); }

void MeshBuilder::addTaperedBox(glm::vec3 min, glm::vec3 max, float taperX, float taperZ) {
    const glm::vec3 b[4] = {{min.x, min.y, min.z}, {max.x, min.y, min.z}, {max.x, min.y, max.z},
                            {min.x, min.y, max.z}};
    const glm::vec3 t[4] = {{min.x + taperX, max.y, min.z + taperZ},
                            {max.x - taperX, max.y, min.z + taperZ},
                            {max.x - taperX, max.y, max.z - taperZ},
                            {min.x + taperX, max.y, max.z - taperZ}};
    const glm::vec3 inside = (min + max) * 0.5f;
    addFace({b[0], b[1], b[2], b[3]}, inside);
    addFace({t[0], t[1], t[2], t[3]}, inside);
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        addFace({b[i], b[j], t[j], t[i]}, inside);
    }
}

void MeshBuilder::addExtrudedPolygon(const std::vector<glm::vec2>& outline, float bottom, float top) {
    glm::vec3 inside(0.0f, (bottom + top) * 0.5f, 0.0f);
    for (glm::vec2 p : outline) {
        inside += glm::vec3(p.x, 0.0f, p.y) / static_cast<float>(outline.size());
    }
    std::vector<glm::vec3> lower, upper;
    for (glm::vec2 p : outline) {
        lower.emplace_back(p.x, bottom, p.y);
        upper.emplace_back(p.x, top, p.y);
    }
    addFace(lower, inside);
    addFace(upper, inside);
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const std::size_t j = (i + 1) % outline.size();
        addFace({lower[i], lower[j], upper[j], upper[i]}, inside);
    }
}

void MeshBuilder::addChamferedBox(glm::vec3 min, glm::vec3 max, float chamfer) {
    const float c = chamfer;
    const glm::vec2 outline[8] = {{min.y + c, min.z}, {max.y - c, min.z}, {max.y, min.z + c}, {max.y, max.z - c},
                                  {max.y - c, max.z}, {min.y + c, max.z}, {min.y, max.z - c}, {min.y, min.z + c}};
    const glm::vec3 inside = (min + max) * 0.5f;
    std::vector<glm::vec3> back, front;
    for (glm::vec2 p : outline) {
        back.emplace_back(min.x, p.x, p.y);
        front.emplace_back(max.x, p.x, p.y);
    }
    addFace(back, inside);
    addFace(front, inside);
    for (int i = 0; i < 8; ++i) {
        const int j = (i + 1) % 8;
        addFace({back[i], back[j], front[j], front[i]}, inside);
    }
}

void MeshBuilder::addPyramid(glm::vec3 min, glm::vec3 max) {
    const glm::vec3 base[4] = {{min.x, min.y, min.z}, {max.x, min.y, min.z}, {max.x, min.y, max.z},
                               {min.x, min.y, max.z}};
    const glm::vec3 apex((min.x + max.x) * 0.5f, max.y, (min.z + max.z) * 0.5f);
    const glm::vec3 inside((min.x + max.x) * 0.5f, min.y + (max.y - min.y) * 0.25f,
                           (min.z + max.z) * 0.5f);
    addFace({base[0], base[1], base[2], base[3]}, inside);
    for (int i = 0; i < 4; ++i) {
        addFace({base[i], base[(i + 1) % 4], apex}, inside);
    }
}

void MeshBuilder::addRevolution(const std::vector<glm::vec2>& profile, int segments) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(transform)));
    for (std::size_t j = 0; j + 1 < profile.size(); ++j) {
        const glm::vec2 p = profile[j], q = profile[j + 1];
        const glm::vec2 outward(q.y - p.y, -(q.x - p.x)); // right of the travel, in (r, y)
        for (int k = 0; k < segments; ++k) {
            const float a0 = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k) / segments;
            const float a1 = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k + 1) / segments;
            auto at = [&](glm::vec2 point, float angle) {
                return apply(transform, {point.x * std::cos(angle), point.y, point.x * std::sin(angle)});
            };
            auto normalAt = [&](float angle) {
                return normalMatrix * glm::vec3(outward.x * std::cos(angle), outward.y,
                                                outward.x * std::sin(angle));
            };
            // Increasing angle runs from +X towards +Z, so p(a1), then p(a0) winds outwards.
            const unsigned pa0 = addVertex(at(p, a0), normalAt(a0));
            const unsigned qa0 = addVertex(at(q, a0), normalAt(a0));
            const unsigned qa1 = addVertex(at(q, a1), normalAt(a1));
            const unsigned pa1 = addVertex(at(p, a1), normalAt(a1));
            if (q.x > 0.0f) {
                addTriangle(pa0, qa0, qa1);
            }
            if (p.x > 0.0f) {
                addTriangle(pa0, qa1, pa1);
            }
        }
    }
}

GeneratedMesh MeshBuilder::build() && { return std::move(mesh); }
