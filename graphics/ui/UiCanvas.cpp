#include "graphics/ui/UiCanvas.h"

#include "graphics/shaders/Shaders.h"
#include "graphics/ui/TextBlock.h"
#include "graphics/ui/UiImage.h"

#include <glm/gtc/matrix_transform.hpp>

UiCanvas::UiCanvas() : shader(&getShaders().text) {}

void UiCanvas::resize(const glm::uvec4& newRect) {
    rect = newRect;
    for (const std::unique_ptr<UIElement>& element : elements) {
        element->onViewportChanged(rect);
    }
}

void UiCanvas::draw() {
    const float width = static_cast<float>(rect.z);
    const float height = static_cast<float>(rect.w);
    shader->use();
    shader->projection.set(glm::ortho(0.0f, width, 0.0f, height, -1.0f, 1.0f));
    glDisable(GL_DEPTH_TEST);
    for (const std::unique_ptr<UIElement>& element : elements) {
        // Again before each element: an image narrows the viewport to itself.
        glViewport(static_cast<GLint>(rect.x), static_cast<GLint>(rect.y),
                   static_cast<GLsizei>(rect.z), static_cast<GLsizei>(rect.w));
        element->draw();
    }
    glEnable(GL_DEPTH_TEST);
}

UiImage* UiCanvas::addImage() { return add(std::make_unique<UiImage>()); }

TextBlock* UiCanvas::addTextBlock(const std::shared_ptr<Font>& font) {
    return add(std::make_unique<TextBlock>(font));
}

template <typename Element>
Element* UiCanvas::add(std::unique_ptr<Element> element) {
    element->onViewportChanged(rect);
    Element* result = element.get();
    elements.push_back(std::move(element));
    return result;
}
