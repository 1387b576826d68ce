#pragma once

#include "engine/window/ViewportView.h"

// A view given in pixels.
class AbsoluteViewportView : public ViewportView<unsigned int> {
public:
    AbsoluteViewportView(unsigned int x = 0, unsigned int y = 0, unsigned int width = 0,
                         unsigned int height = 0)
        : ViewportView(x, y, width, height) {}

    // +infinity for a view with no height.
    float getAspectRatio() const override;
    void apply() const override;
    glm::uvec4 getViewport() const override;
};
