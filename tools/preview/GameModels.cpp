#include "tools/preview/GameModels.h"

#include <glm/gtc/matrix_transform.hpp>

GameModels::GameModels()
    : dog(std::string("assets/models/shiba_simpleAnim_exp.dae")),
      arena(std::string("assets/models/map_rescaled.dae")),
      frisbee(std::string("assets/models/frisbee_rescaled.dae")) {
    dog.setMaterial(0, {{0, 0, 0}, 0.2f, 0.15f, 0});
    dog.setMaterial(1, {{0, 0, 0}, 0.2f, 0.490991f, 0});
    dog.setMaterial(2, {{0.8f, 0.144529f, 0.021182f}, 0.2f, 0.75f, 0});
    dog.setMaterial(3, {{0.8f, 0.8f, 0.8f}, 0.2f, 0.662f, 0});
    arena.setMaterial(0, {{0.65f, 0.373f, 0.2f}, 0.2f, 0.8f, 0});
    arena.setMaterial(1, {{0.125f, 0.6f, 0.08f}, 0.2f, 0.9f, 0});
    arena.setMaterial(2, {{0.425f, 0.8f, 0.13f}, 0.2f, 1.0f, 0});
    arena.setMaterial(3, {{0.85f, 0.5f, 0.3f}, 0.2f, 1.0f, 0});
    arena.setMaterial(4, {{1.0f, 0.62f, 0.299f}, 0.3f, 0.8f, 0});
    frisbee.setMaterial(0, {{0, 0, 1}, 0.2f, 1.0f, 0});
    frisbee.setMaterial(1, {{0.8f, 0.635f, 0}, 0.2f, 0.3f, 1.0f});
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
