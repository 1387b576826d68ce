#include "engine/window/AbsoluteViewportView.h"

#include <GL/glew.h>
#include <limits>

float AbsoluteViewportView::getAspectRatio() const {
    if (height == 0) {
        return std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(width) / static_cast<float>(height);
}

void AbsoluteViewportView::apply() const {
    glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(width),
               static_cast<GLsizei>(height));
}

glm::uvec4 AbsoluteViewportView::getViewport() const { return {x, y, width, height}; }
