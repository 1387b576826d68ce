#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

// A head-up-display element, placed in its canvas's rectangle by an anchor (fractions of the
// rectangle: (0, 0) lower left, (1, 1) upper right) plus an offset in pixels. Coordinates are
// pixels from the rectangle's lower-left corner, y upwards: the rectangle's own x and y never
// enter the position.
class UIElement {
public:
    virtual ~UIElement() = default;

    // The canvas has set the GL viewport to its rectangle and the text program's projection.
    virtual void draw() = 0;
    // The canvas rectangle (x, y, width, height in window pixels): stored, then laid out again.
    virtual void onViewportChanged(const glm::uvec4& canvasRect);

    void setAnchor(const glm::vec2& newAnchor);
    void setOffset(const glm::ivec2& newOffset);

    const glm::ivec2& getPosition() const { return position; }
    const glm::vec2& getAnchor() const { return anchor; }
    const glm::ivec2& getOffset() const { return offset; }
    const glm::uvec4& getRect() const { return rect; }

protected:
    UIElement() = default;
    UIElement(const UIElement&) = delete;
    UIElement& operator=(const UIElement&) = delete;

    // position = rect size × anchor, truncated toward zero, + offset: 1079 × 0.15 gives 161.
    void updatePosition();

    glm::ivec2 position{0, 0};
    glm::vec2 anchor{0.0f, 0.0f};
    glm::ivec2 offset{0, 0};
    glm::uvec4 rect{0, 0, 0, 0};
};
