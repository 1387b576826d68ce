#pragma once

#include "engine/physics/Pose.h"
#include "engine/physics/character/CapsuleController.h"

#include <glm/vec3.hpp>

// A match as the physics tests and benchmarks play it: the game's players at its spawn points,
// walking, and throwing as the game throws.

// Where the game's two players start: their feet.
inline const glm::vec3 spawnPoints[2] = {{-35.0f, 2.6f, 1.1f}, {45.0f, 2.6f, 1.1f}};
// The players' capsule, metres: radius, cylinder height, and its centre above the foot (half the
// height, the radius and the controller's contact offset).
inline constexpr float playerRadius = 0.39f;
inline constexpr float playerHeight = 1.18f;
inline constexpr float capsuleCentreHeight = 0.5f * playerHeight + playerRadius + CapsuleController::contactOffset;
// The capsule that dynamic bodies meet: the players', scaled down by the controller.
inline constexpr float bodyCapsuleRadius = CapsuleController::scaleCoeff * playerRadius;
inline constexpr float bodyCapsuleHalfHeight = CapsuleController::scaleCoeff * 0.5f * playerHeight;
// The dog's origin below its capsule's centre, metres, as the game sets its players up: the dog's
// hitbox hangs from it and its eye is measured from it, so another value would put the tests' and
// benchmarks' hitboxes and throws where the game's are not.
inline constexpr glm::vec3 dogBelowCentre{0.0f, 0.45f, 0.0f};

struct Throw {
    Pose pose;
    glm::vec3 velocity;
    glm::vec3 eye; // where the thrower looked from
};

// The game's throw by a player whose capsule's centre is there: the eye 1 m above the dog's origin
// (dogBelowCentre below the centre) and 1.3 m ahead along the view's heading, the disc a metre
// along the view from the eye at 40 m/s. yaw: radians about +y from +z; pitch: radians up.
Throw throwFromEye(const glm::vec3& capsuleCentre, float yaw, float pitch);

// Where player 0 or 1 walks in one fixed step: a circle of 3 m radius round its spawn point at
// 3 m/s, pressing down as a player on the floor does.
glm::vec3 walkDisplacement(int player, int step);
