#pragma once

#include "engine/window/AbsoluteViewportView.h"
#include "engine/window/ViewportView.h"
#include "engine/window/Window.h"

#include <memory>

// A view given as fractions of the window, turned into pixels when it is made: each product
// rounded to the nearest pixel, halves away from zero. The window cannot be resized, so the
// pixels stay.
class RelativeViewportView : public ViewportView<float> {
public:
    RelativeViewportView(float x, float y, float width, float height, Window& window);
    // Its resize listener holds this view's address: a copy would update the original.
    RelativeViewportView(const RelativeViewportView&) = delete;
    RelativeViewportView& operator=(const RelativeViewportView&) = delete;

    // Recomputes the pixels from the window's size.
    void update();

    float getAspectRatio() const override { return pixels.getAspectRatio(); }
    void apply() const override { pixels.apply(); }
    glm::uvec4 getViewport() const override { return pixels.getViewport(); }

private:
    Window* window;
    AbsoluteViewportView pixels;
    std::shared_ptr<Window::ResizeCallbacks::Function> resizeSubscription;
};
