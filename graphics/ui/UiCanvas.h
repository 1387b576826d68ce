#pragma once

#include "graphics/ui/UIElement.h"

#include <glm/vec4.hpp>
#include <memory>
#include <vector>

class Font;
class TextBlock;
class TextShader;
class UiImage;

// One layer of the head-up display over a rectangle of the window: the whole window for the
// start screen, a player's half for that player's display and the result screens. It owns its
// elements and draws them in the order they were added, over whatever the bound framebuffer
// holds, without depth testing and with the blending set up at start.
class UiCanvas {
public:
    UiCanvas();
    UiCanvas(const UiCanvas&) = delete;
    UiCanvas& operator=(const UiCanvas&) = delete;

    // x, y, width, height in window pixels; every element is laid out again (text blocks drop
    // their quads).
    void resize(const glm::uvec4& newRect);
    // Depth testing is on afterwards, whatever it was before.
    void draw();

    // New elements are laid out in the current rectangle; the canvas keeps them, the pointers
    // stay valid for its life.
    UiImage* addImage();
    TextBlock* addTextBlock(const std::shared_ptr<Font>& font);

    const glm::uvec4& getRect() const { return rect; }

private:
    template <typename Element>
    Element* add(std::unique_ptr<Element> element);

    glm::uvec4 rect{0, 0, 0, 0};
    std::vector<std::unique_ptr<UIElement>> elements;
    TextShader* shader;
};
