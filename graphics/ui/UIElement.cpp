#include "graphics/ui/UIElement.h"

void UIElement::onViewportChanged(const glm::uvec4& canvasRect) {
    rect = canvasRect;
    updatePosition();
}

void UIElement::setAnchor(const glm::vec2& newAnchor) {
    anchor = newAnchor;
    updatePosition();
}

void UIElement::setOffset(const glm::ivec2& newOffset) {
    offset = newOffset;
    updatePosition();
}

void UIElement::updatePosition() {
    position.x = static_cast<int>(static_cast<float>(rect.z) * anchor.x) + offset.x;
    position.y = static_cast<int>(static_cast<float>(rect.w) * anchor.y) + offset.y;
}
