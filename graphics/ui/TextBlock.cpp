#include "graphics/ui/TextBlock.h"

#include "engine/Logging.h"
#include "graphics/shaders/Shaders.h"
#include "graphics/ui/Font.h"

#include <algorithm>

namespace {
constexpr std::size_t verticesPerQuad = 6;
constexpr GLsizei vertexStride = sizeof(glm::vec4);

// Whole pixels of a 26.6 advance: the pen moves by each glyph's rounded-down advance, unkerned.
float advancePixels(const Glyph& glyph) {
    return static_cast<float>(static_cast<std::int32_t>(glyph.advance >> 6));
}
} // namespace

TextBlock::TextBlock(std::shared_ptr<Font> font)
    : font(std::move(font)), shader(&getShaders().text) {
    vertexArray.bind();
    vertexBuffer.bind();
    vertexBuffer.allocate(verticesPerQuad);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, vertexStride, nullptr);
    VertexArrayObject::unbind();
}

void TextBlock::draw() {
    if (quads.empty()) {
        regenerate();
    }
    shader->use();
    shader->textColor.set(color);
    vertexArray.bind();
    vertexBuffer.bind();
    for (const GlyphQuad& quad : quads) {
        quad.glyph->texture.bind();
        shader->text.set(&quad.glyph->texture);
        vertexBuffer.update(quad.vertices.data());
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(verticesPerQuad));
    }
    VertexArrayObject::unbind();
}

void TextBlock::onViewportChanged(const glm::uvec4& canvasRect) {
    UIElement::onViewportChanged(canvasRect);
    quads.clear();
}

void TextBlock::regenerate() {
    getGeneralLogger()->trace("Regenerating glyph cache for '{}'.", text);
    glm::vec2 pen = alignedPen();
    quads.clear();
    quads.reserve(text.size());
    for (const char character : text) {
        const Glyph& glyph = font->getGlyph(character, fontSize);
        const glm::vec2 size(glyph.size);
        const glm::vec2 bearing(glyph.bearing);
        const float left = pen.x + bearing.x * scale;
        const float bottom = pen.y - (size.y - bearing.y) * scale;
        const float right = left + size.x * scale;
        const float top = bottom + size.y * scale;
        quads.push_back({{{
                             {left, top, 0.0f, 0.0f},
                             {left, bottom, 0.0f, 1.0f},
                             {right, bottom, 1.0f, 1.0f},
                             {left, top, 0.0f, 0.0f},
                             {right, bottom, 1.0f, 1.0f},
                             {right, top, 1.0f, 0.0f},
                         }},
                         &glyph});
        pen.x += advancePixels(glyph) * scale;
    }
}

glm::vec3 TextBlock::measure() const {
    glm::vec3 extent(0.0f); // width, above, below
    for (const char character : text) {
        const Glyph& glyph = font->getGlyph(character, fontSize);
        const float top = static_cast<float>(glyph.bearing.y);
        extent.x += advancePixels(glyph);
        extent.y = std::max(extent.y, top);
        extent.z = std::max(extent.z, static_cast<float>(glyph.size.y) - top);
    }
    return extent * scale;
}

glm::vec2 TextBlock::alignedPen() const {
    glm::vec2 pen(position);
    // The default needs no measure: the pen starts on the position.
    if (horizontalAlignment == HorizontalAlignment::Left &&
        verticalAlignment == VerticalAlignment::Baseline) {
        return pen;
    }
    const glm::vec3 extent = measure();
    switch (horizontalAlignment) {
    case HorizontalAlignment::Right: pen.x -= extent.x; break;
    case HorizontalAlignment::Center: pen.x -= extent.x * 0.5f; break;
    case HorizontalAlignment::Left: break;
    default:
        getGeneralLogger()->warn("Unrecognized horizontal alignment {}",
                                 static_cast<int>(horizontalAlignment));
    }
    switch (verticalAlignment) {
    case VerticalAlignment::Top: pen.y -= extent.y; break;
    case VerticalAlignment::Center: pen.y -= (extent.y - extent.z) * 0.5f; break;
    case VerticalAlignment::Bottom: pen.y += extent.z; break;
    case VerticalAlignment::Baseline: break;
    default:
        getGeneralLogger()->warn("Unrecognized vertical alignment {}",
                                 static_cast<int>(verticalAlignment));
    }
    return pen;
}

void TextBlock::setText(std::string newText) {
    text = std::move(newText);
    quads.clear();
}

void TextBlock::setColor(const glm::vec3& newColor) { color = newColor; }

void TextBlock::setFontSize(unsigned newSize) {
    if (newSize != fontSize) {
        quads.clear();
    }
    fontSize = newSize;
}

void TextBlock::setHorizontalAlignment(HorizontalAlignment alignment) {
    if (alignment != horizontalAlignment) {
        quads.clear();
    }
    horizontalAlignment = alignment;
}

void TextBlock::setVerticalAlignment(VerticalAlignment alignment) {
    if (alignment != verticalAlignment) {
        quads.clear();
    }
    verticalAlignment = alignment;
}
