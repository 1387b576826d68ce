#pragma once

#include <glm/vec3.hpp>

// The surface of one mesh as the physically based program reads it. All zeros by default; the
// game sets each model's materials after loading it.
struct Material {
    glm::vec3 albedo{0.0f};
    float ao = 0.0f;
    float roughness = 0.0f;
    float metalness = 0.0f;
};
