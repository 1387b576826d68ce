#pragma once

#include <glm/vec3.hpp>

// The kinds of geometry a shape may be described with. Bodies are built from spheres, capsules and
// boxes; the level from triangle meshes (made by the world itself from the level's arrays). The
// other kinds are named so that callers handing them in get a clear refusal.
enum class GeometryType : int {
    Sphere = 0,
    Plane = 1,
    Capsule = 2,
    Box = 3,
    ConvexMesh = 4,
    TriangleMesh = 5,
    HeightField = 6,
    Invalid = -1,
};

// A geometry with its type tag, held by value. Units are metres. A capsule's axis is its local x
// axis (turn it with the shape's local pose); its half height is half the length of the cylinder.
class Geometry {
public:
    Geometry() = default;
    static Geometry sphere(float radius);
    static Geometry capsule(float radius, float halfHeight);
    static Geometry box(const glm::vec3& halfExtents);
    static Geometry plane() { return Geometry(GeometryType::Plane); }
    static Geometry convexMesh() { return Geometry(GeometryType::ConvexMesh); }
    static Geometry triangleMesh() { return Geometry(GeometryType::TriangleMesh); }
    static Geometry heightField() { return Geometry(GeometryType::HeightField); }

    GeometryType getType() const { return type; }
    float getRadius() const { return radius; }
    float getHalfHeight() const { return halfHeight; }
    const glm::vec3& getHalfExtents() const { return halfExtents; }
    // Finite dimensions, radii and box half extents above 0, a capsule's half height at least 0.
    bool isValid() const;

private:
    explicit Geometry(GeometryType type) : type(type) {}

    GeometryType type = GeometryType::Invalid;
    float radius = 0.0f;
    float halfHeight = 0.0f;
    glm::vec3 halfExtents{0.0f};
};
