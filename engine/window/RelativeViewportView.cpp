#include "engine/window/RelativeViewportView.h"

#include <cmath>

RelativeViewportView::RelativeViewportView(float x, float y, float width, float height,
                                           Window& window)
    : ViewportView(x, y, width, height), window(&window) {
    update();
    resizeSubscription = window.resizeCallbacks.subscribe([this](int, int) { update(); });
}

void RelativeViewportView::update() {
    const glm::vec2 size(window->getSize());
    const auto pixelsOf = [](float extent, float fraction) {
        return static_cast<unsigned int>(std::lroundf(extent * fraction));
    };
    pixels = AbsoluteViewportView(pixelsOf(size.x, x), pixelsOf(size.y, y), pixelsOf(size.x, width),
                                  pixelsOf(size.y, height));
}
