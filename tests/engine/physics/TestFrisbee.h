#pragma once

#include "engine/physics/PhysicsWorld.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>
#include <string>
#include <vector>

// The game's thrown disc as the physics world gets it: two flat boxes of these half extents
// (metres), the second turned 45 degrees about y, density 1, continuous detection on.
inline constexpr glm::vec3 frisbeeHalfExtents{0.298264f, 0.0522395f, 0.298264f};

// How the tests turn a disc: flat (thin along y), on edge across a flight along x (thin along z), or
// face first into it (thin along x).
enum class DiscFacing { Flat, OnEdge, FaceFirst };
glm::quat turnOf(DiscFacing facing);
const char* nameOf(DiscFacing facing);

// Where the surface a disc is thrown at lies when the first step begins: `steps` of the closing
// motion ahead of the disc's leading point, plus offset metres (0 on the surface, below 0
// overlapping it). Two steps and a small negative offset is a disc arriving whose second step would
// end just inside.
struct Gap {
    int steps;
    float offset;

    // For the closing speed (metres per second) and the step (seconds).
    float metres(float closingSpeed, float dt) const { return static_cast<float>(steps) * closingSpeed * dt + offset; }
};
std::string nameOf(const Gap& gap);

// The disc's two boxes at their places in it.
const std::vector<LocalShape>& discShapes();

// A disc at pose, flying at velocity (metres per second), with nothing as its user data.
RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity);

// A disc as the game throws it, with this user data on the body and its shapes.
RigidBody* throwFrisbee(PhysicsWorld& world, const Pose& pose, const glm::vec3& velocity, Component* userData);

// Points on the surface of a disc at pose: the corners, the middles of the edges and of the faces
// of both its boxes. The deepest of them inside something is how deep the disc is in it.
std::vector<glm::vec3> discPoints(const Pose& pose);

// How far the disc at pose reaches from its centre along the unit direction, metres.
float discReach(const Pose& pose, const glm::vec3& direction);

// How far the disc's surface lies from its centre along the unit direction, metres: where the
// direction leaves the farther of its two boxes. Between two points of its star this is less than
// discReach.
float discRadius(const Pose& pose, const glm::vec3& direction);

// How deep the point lies inside the disc at pose: inside one of its boxes, the distance to that
// box's nearest face; 0 outside both.
float depthInDisc(const Pose& pose, const glm::vec3& point);

// The body's kinetic energy, joules: of its centre's motion and of its turn about it.
float kineticEnergy(const RigidBody& body);
