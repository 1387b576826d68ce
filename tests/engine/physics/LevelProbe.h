#pragma once

#include "engine/physics/level/LevelMesh.h"

#include <glm/vec3.hpp>
#include <optional>
#include <vector>

// A second, independent look at the level's triangles, for tests that judge what the physics world
// did: which points lie inside the level's solids and how deep, and whether a segment crosses a
// surface. Plain geometry over each mesh's triangles, sharing no code with the world. Every mesh
// must be closed (the arena's are: boxes, wedges and prisms), so a point is inside a mesh when a ray
// from it crosses the mesh an odd number of times.
class LevelProbe {
public:
    explicit LevelProbe(const std::vector<LevelMesh>& meshes);

    // How deep the point lies inside the level (metres): its distance to the nearest triangle of the
    // mesh it lies inside, the deepest over all meshes; 0 outside every mesh.
    float depth(const glm::vec3& point) const;
    // The deepest of the points inside the level; the same as depth() of each, done at once.
    float deepest(const std::vector<glm::vec3>& points) const;
    // Whether the segment passes through a triangle of the level.
    bool crosses(const glm::vec3& from, const glm::vec3& to) const;
    // The height of the first surface straight below the point, if there is one.
    std::optional<float> surfaceBelow(const glm::vec3& point) const;

private:
    struct Triangle {
        glm::vec3 a, b, c;
    };
    struct Solid {
        std::vector<Triangle> triangles;
        glm::vec3 min{0.0f};
        glm::vec3 max{0.0f};
    };

    bool inside(const Solid& solid, const glm::vec3& point) const;
    float depthIn(const Solid& solid, const glm::vec3& point) const;

    std::vector<Solid> solids;
};
