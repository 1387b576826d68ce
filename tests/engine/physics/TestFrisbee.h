#pragma once

#include "engine/physics/PhysicsWorld.h"

#include <glm/vec3.hpp>
#include <vector>

// The game's thrown disc as the physics world gets it: two flat boxes of these half extents
// (metres), the second turned 45 degrees about y, density 1, continuous detection on.
inline constexpr glm::vec3 frisbeeHalfExtents{0.298264f, 0.0522395f, 0.298264f};

// A disc at pose, flying at velocity (metres per second), with nothing as its user data.
RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity);

// Points on the surface of a disc at pose: the corners, the middles of the edges and of the faces
// of both its boxes. The deepest of them inside something is how deep the disc is in it.
std::vector<glm::vec3> discPoints(const Pose& pose);
