#pragma once

#include "tools/assetgen/GeneratedMesh.h"

#include <glm/mat4x4.hpp>
#include <functional>
#include <glm/vec2.hpp>

// Builds low-poly geometry face by face. Every face gets vertices of its own with the face's
// normal (flat shading), except the surfaces of revolution, which are smooth around their axis.
// Points go through the current transform as they are added, and every vertex takes the current
// bone influences.
class MeshBuilder {
public:
    explicit MeshBuilder(std::string name);

    void setTransform(const glm::mat4& transform);
    // The bone influences of each vertex added from now on, from its position (after the
    // transform). Unset, the mesh has no skin.
    using InfluenceRule = std::function<std::vector<Influence>(glm::vec3)>;
    void setInfluences(InfluenceRule rule);
    // Every vertex added from now on is moved by this one bone alone.
    void setBone(int bone);

    // One flat face of a convex solid: a planar convex polygon given in either order, turned so
    // that it faces away from a point inside the solid (both in the builder's own space).
    void addFace(const std::vector<glm::vec3>& polygon, glm::vec3 inside);
    void addBox(glm::vec3 min, glm::vec3 max);
    // A box whose top face is shrunk by taper (per side, along x and z): legs, snouts, ears.
    void addTaperedBox(glm::vec3 min, glm::vec3 max, float taperX, float taperZ);
    // A closed solid over a convex polygon in the XZ plane (counter-clockwise seen from above),
    // from bottom to top: wedges for ramps use the triangle, walls the rectangle.
    void addExtrudedPolygon(const std::vector<glm::vec2>& outline, float bottom, float top);
    // A box with its four edges along x bevelled by chamfer: an octagonal bar, the low-poly
    // stand-in for a rounded body, head or leg.
    void addChamferedBox(glm::vec3 min, glm::vec3 max, float chamfer);
    // A four-sided pyramid over the rectangle [min, max] at height min.y, apex above the centre.
    void addPyramid(glm::vec3 min, glm::vec3 max);
    // The profile (radius, height) revolved about +Y in segments steps; the profile runs so that
    // its outside lies to the right of the direction of travel in the (radius, height) plane.
    void addRevolution(const std::vector<glm::vec2>& profile, int segments);

    GeneratedMesh build() &&;

private:
    unsigned addVertex(glm::vec3 position, glm::vec3 normal);
    void addTriangle(unsigned a, unsigned b, unsigned c);

    GeneratedMesh mesh;
    glm::mat4 transform;
    InfluenceRule influences;
};
