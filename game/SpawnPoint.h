#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

// Where a player starts: a rotation about +Y that gives the camera its heading, and the point the
// bottom of the player's capsule is put at (metres).
struct SpawnPoint {
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 position{0.0f};
};
