#pragma once

#include "graphics/model/Model.h"
#include "graphics/render/RenderContext.h"
#include "graphics/render/Skybox.h"

#include <glm/mat4x4.hpp>
#include <optional>
#include <vector>

// One picture of one model: where it stands, where the camera looks from, and the stage around it.
struct PreviewShot {
    const Model* model = nullptr;
    glm::mat4 placement{1.0f}; // the model matrix, as a game object's position and rotation give it
    glm::vec3 eye{0.0f};
    glm::vec3 target{0.0f};
    float fieldOfView = 40.0f;         // vertical, degrees
    std::optional<float> floorHeight;  // a grey floor there catches the model's shadow
    float shadowHalfExtent = 5.0f;     // half the shadow light's box across, metres
};

// Renders models with the game's renderer (shadow, multisampled physically based scene, the sky,
// bloom, gamma) under the game's three lights, for a person to look at. Needs a current context
// whose window is at least the preview's size.
class ModelPreview {
public:
    explicit ModelPreview(const glm::uvec2& size);

    // RGBA, 8 bits a channel, the top row first (as image files store it).
    std::vector<unsigned char> render(const PreviewShot& shot);

private:
    void drawSky(const glm::mat4& projection, const glm::mat4& view);

    glm::uvec2 size;
    RenderContext context;
    Skybox sky; // the game's
    Model floor;
};
