#pragma once

#include "graphics/ui/UIElement.h"

#include <glm/vec4.hpp>

class DisplayTextureShader;
class Texture;

// A rectangle of the head-up display filled with a texture tinted by a colour, or with the plain
// colour. Its position is its lower-left corner; its size is the canvas rectangle × relativeSize
// + absoluteSize, truncated toward zero.
class UiImage : public UIElement {
public:
    UiImage();

    // Draws the screen quad into the image's own viewport. An image without area draws nothing.
    void draw() override;
    void onViewportChanged(const glm::uvec4& canvasRect) override;

    void setAbsoluteSize(const glm::ivec2& pixels);
    void setRelativeSize(const glm::vec2& fractions);
    // Not owned. The texture is not bound here: it stays bound on its own unit from its creation.
    void setTexture(Texture* newTexture) { texture = newTexture; }
    // Alpha is honoured: (0, 0, 0, 0) makes the image invisible.
    void setColor(const glm::vec4& newColor) { color = newColor; }

    const glm::ivec2& getSize() const { return size; }
    const glm::vec4& getColor() const { return color; }

private:
    void updateSize();

    glm::ivec2 absoluteSize{0, 0};
    glm::vec2 relativeSize{0.0f, 0.0f};
    glm::ivec2 size{0, 0};
    Texture* texture = nullptr;
    glm::vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    DisplayTextureShader* shader;
};
