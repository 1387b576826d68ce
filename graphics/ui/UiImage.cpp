#include "graphics/ui/UiImage.h"

#include "graphics/gl/ScreenQuad.h"
#include "graphics/shaders/Shaders.h"

UiImage::UiImage() : shader(&getShaders().displayTexture) {}

void UiImage::draw() {
    // GL refuses a negative viewport and keeps the canvas's, so the image would cover all of it.
    if (size.x <= 0 || size.y <= 0) {
        return;
    }
    glViewport(static_cast<GLint>(rect.x) + position.x, static_cast<GLint>(rect.y) + position.y,
               size.x, size.y);
    shader->use();
    if (texture != nullptr) {
        shader->targetTexture.set(texture);
    }
    shader->hasTexture.set(texture != nullptr);
    shader->color.set(color);
    getScreenQuad().draw();
}

void UiImage::onViewportChanged(const glm::uvec4& canvasRect) {
    UIElement::onViewportChanged(canvasRect);
    updateSize();
}

void UiImage::setAbsoluteSize(const glm::ivec2& pixels) {
    absoluteSize = pixels;
    updateSize();
}

void UiImage::setRelativeSize(const glm::vec2& fractions) {
    relativeSize = fractions;
    updateSize();
}

void UiImage::updateSize() {
    size.x = static_cast<int>(static_cast<float>(rect.z) * relativeSize.x +
                              static_cast<float>(absoluteSize.x));
    size.y = static_cast<int>(static_cast<float>(rect.w) * relativeSize.y +
                              static_cast<float>(absoluteSize.y));
}
