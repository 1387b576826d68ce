#include "engine/physics/Geometry.h"

#include <cmath>

namespace {
bool positive(float value) { return std::isfinite(value) && value > 0.0f; }
} // namespace

Geometry Geometry::sphere(float radius) {
    Geometry geometry(GeometryType::Sphere);
    geometry.radius = radius;
    return geometry;
}

Geometry Geometry::capsule(float radius, float halfHeight) {
    Geometry geometry(GeometryType::Capsule);
    geometry.radius = radius;
    geometry.halfHeight = halfHeight;
    return geometry;
}

Geometry Geometry::box(const glm::vec3& halfExtents) {
    Geometry geometry(GeometryType::Box);
    geometry.halfExtents = halfExtents;
    return geometry;
}

bool Geometry::isValid() const {
    switch (type) {
    case GeometryType::Sphere:
        return positive(radius);
    case GeometryType::Capsule:
        return positive(radius) && std::isfinite(halfHeight) && halfHeight >= 0.0f;
    case GeometryType::Box:
        return positive(halfExtents.x) && positive(halfExtents.y) && positive(halfExtents.z);
    default:
        return false;
    }
}
