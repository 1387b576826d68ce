#pragma once

#include <cstddef>
#include <glm/vec3.hpp>

// The number of elements of each light array of the physically based program.
inline constexpr std::size_t maxLights = 6;

// The light records as the physically based program declares them, field for field. A light of
// zero intensity contributes nothing (the shader skips it), so all-zero elements are "no light".
struct PointLight {
    glm::vec3 position{0.0f};
    glm::vec3 intensity{0.0f};   // linear radiance scale per colour channel
    glm::vec3 attenuation{0.0f}; // constant, linear and quadratic terms of 1 / (c + l·d + q·d²)
};

struct DirectionalLight {
    glm::vec3 direction{0.0f}; // the way the light travels; need not be normalised
    glm::vec3 intensity{0.0f};
};

struct SpotLight {
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f};
    glm::vec3 intensity{0.0f};
    glm::vec3 attenuation{0.0f}; // as for PointLight
    float outerAngle = 0.0f;     // cosine of the half-angle where the cone ends
    float innerAngle = 0.0f;     // cosine of the half-angle where the full intensity ends
};
