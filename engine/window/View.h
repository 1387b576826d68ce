#pragma once

#include <glm/vec4.hpp>

// A rectangle of the window that a camera renders into and a canvas lays out on. Pixels, with
// GL's origin at the window's bottom-left corner and y upwards.
class View {
public:
    virtual ~View() = default;
    virtual float getAspectRatio() const = 0;
    // Sets the GL viewport to the rectangle.
    virtual void apply() const = 0;
    // x, y, width, height in pixels.
    virtual glm::uvec4 getViewport() const = 0;
};
