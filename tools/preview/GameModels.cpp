#include "tools/preview/GameModels.h"

#include "game/SceneLook.h"

#include <glm/gtc/matrix_transform.hpp>

GameModels::GameModels() : dog(dogModelPath), arena(arenaModelPath), frisbee(frisbeeModelPath) {
    setMaterials(dog, dogMaterials);
    setMaterials(arena, arenaMaterials);
    setMaterials(frisbee, frisbeeMaterials);
}

// Turned nose towards -Z, seen from the front left, where the sun lights it, standing on a floor.
PreviewShot GameModels::dogShot() const {
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {0, 1, 0});
    return {&dog, turned, {-2.3f, 1.1f, -2.6f}, {0.0f, 0.1f, 0.0f}, 40.0f, -0.63f, 3.0f};
}

// From high above the west corner, in the game's own shadow box.
PreviewShot GameModels::arenaShot() const {
    return {&arena, glm::mat4(1.0f), {-80.0f, 62.0f, -66.0f}, {4.0f, 0.0f, 2.0f}, 42.0f, std::nullopt, 60.0f};
}

// Tipped a little towards the camera and hovering over a floor, as in flight.
PreviewShot GameModels::frisbeeShot() const {
    const glm::mat4 tipped = glm::rotate(glm::mat4(1.0f), glm::radians(-12.0f), {1, 0, 0});
    return {&frisbee, tipped, {-0.75f, 0.32f, -0.8f}, {0.0f, -0.04f, 0.0f}, 36.0f, -0.3f, 1.0f};
}
