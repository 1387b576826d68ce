#pragma once

#include "engine/physics/Pose.h"
#include "engine/physics/Shape.h"

#include <memory>
#include <optional>
#include <vector>

// Mass, centre of mass and inertia of a body made of solid shapes of one density (kg per cubic
// metre). centreOfMass is the mass frame in the body's frame: its position is the centre of mass and
// its rotation turns the principal axes into the body's axes; inertia is diagonal in that frame.
struct MassProperties {
    float mass = 1.0f;
    Pose centreOfMass;
    glm::vec3 inertia{1.0f};
};

// Spheres, capsules and boxes count; other shapes (the level's meshes) have no volume here. Empty
// when nothing counts or the density is not a positive finite number.
std::optional<MassProperties> computeMassProperties(const std::vector<std::unique_ptr<Shape>>& shapes,
                                                    float density);
