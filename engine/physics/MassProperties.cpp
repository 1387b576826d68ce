#include "engine/physics/MassProperties.h"

#include "engine/physics/BulletMath.h"

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <glm/mat3x3.hpp>

namespace {
struct SolidPart {
    float mass;
    glm::vec3 centre;
    glm::mat3 inertia; // about its own centre, in the body's axes
};

// Mass and principal moments of one solid in its own frame; mass 0 for shapes without volume.
std::pair<float, glm::vec3> solidOf(const Geometry& geometry, float density) {
    constexpr float pi = glm::pi<float>();
    switch (geometry.getType()) {
    case GeometryType::Sphere: {
        const float r = geometry.getRadius();
        const float mass = density * 4.0f / 3.0f * pi * r * r * r;
        return {mass, glm::vec3(0.4f * mass * r * r)};
    }
    case GeometryType::Box: {
        const glm::vec3 h = geometry.getHalfExtents();
        const float mass = density * 8.0f * h.x * h.y * h.z;
        return {mass, mass / 3.0f * glm::vec3(h.y * h.y + h.z * h.z, h.x * h.x + h.z * h.z, h.x * h.x + h.y * h.y)};
    }
    case GeometryType::Capsule: {
        // A cylinder of length L along x with a hemisphere at each end.
        const float r = geometry.getRadius();
        const float length = 2.0f * geometry.getHalfHeight();
        const float cylinder = density * pi * r * r * length;
        const float spheres = density * 4.0f / 3.0f * pi * r * r * r;
        const float axial = cylinder * r * r / 2.0f + spheres * 0.4f * r * r;
        const float across = cylinder * (length * length / 12.0f + r * r / 4.0f) +
                             spheres * (0.4f * r * r + length * length / 4.0f + 3.0f * length * r / 8.0f);
        return {cylinder + spheres, glm::vec3(axial, across, across)};
    }
    default:
        return {0.0f, glm::vec3(0.0f)};
    }
}

glm::mat3 rotatedInertia(const glm::quat& rotation, const glm::vec3& principal) {
    const glm::mat3 axes = glm::mat3_cast(rotation);
    glm::mat3 diagonal(0.0f);
    diagonal[0][0] = principal.x;
    diagonal[1][1] = principal.y;
    diagonal[2][2] = principal.z;
    return axes * diagonal * glm::transpose(axes);
}

// Inertia of a point mass at offset d: m (|d|^2 E - d d^T).
glm::mat3 parallelAxis(float mass, const glm::vec3& d) {
    return mass * (glm::dot(d, d) * glm::mat3(1.0f) - glm::outerProduct(d, d));
}
} // namespace

std::optional<MassProperties> computeMassProperties(const std::vector<std::unique_ptr<Shape>>& shapes,
                                                    float density) {
    if (!std::isfinite(density) || density <= 0.0f) {
        return std::nullopt;
    }
    std::vector<SolidPart> parts;
    float totalMass = 0.0f;
    glm::vec3 weightedCentre(0.0f);
    for (const auto& shape : shapes) {
        const auto [mass, principal] = solidOf(shape->geometry, density);
        if (mass > 0.0f) {
            parts.push_back({mass, shape->localPose.position, rotatedInertia(shape->localPose.rotation, principal)});
            totalMass += mass;
            weightedCentre += mass * shape->localPose.position;
        }
    }
    if (parts.empty() || !std::isfinite(totalMass)) {
        return std::nullopt;
    }
    const glm::vec3 centre = weightedCentre / totalMass;
    glm::mat3 inertia(0.0f);
    for (const SolidPart& part : parts) {
        inertia += part.inertia + parallelAxis(part.mass, part.centre - centre);
    }
    // Principal axes: tensor = axes * diagonal * axes^T.
    btMatrix3x3 tensor(inertia[0][0], inertia[1][0], inertia[2][0], inertia[0][1], inertia[1][1], inertia[2][1],
                       inertia[0][2], inertia[1][2], inertia[2][2]);
    btMatrix3x3 axes;
    axes.setIdentity();
    tensor.diagonalize(axes, 1e-6f, 32);
    btQuaternion rotation;
    axes.getRotation(rotation);
    MassProperties result;
    result.mass = totalMass;
    result.centreOfMass = Pose(glm::normalize(toGlm(rotation)), centre);
    result.inertia = glm::vec3(tensor[0][0], tensor[1][1], tensor[2][2]);
    return result;
}
