#pragma once

#include "graphics/gl/VertexArrayObject.h"
#include "graphics/gl/VertexBufferObject.h"
#include "graphics/ui/UIElement.h"

#include <array>
#include <glm/vec3.hpp>
#include <memory>
#include <string>
#include <vector>

class Font;
class TextShader;
struct Glyph;

// One glyph's two triangles, (x, y, u, v) in canvas pixels; v = 0 on the top edge, the first
// row of the glyph's bitmap.
struct GlyphQuad {
    std::array<glm::vec4, 6> vertices;
    const Glyph* glyph; // into the font's cache, valid for the font's life
};

// One line of text in a canvas, aligned around its position. The laid-out quads are a cache:
// a change of text, size or alignment, or a new canvas rectangle, drops them and the next draw
// lays the text out again. Anchor and offset changes alone do not: the text keeps its place
// until the quads are next dropped. A steady text costs, per character and frame, one uniform
// set, one 96-byte upload and one draw.
class TextBlock : public UIElement {
public:
    enum class HorizontalAlignment : int {
        Right = 0,  // the text ends at the position
        Center = 1, // centred on it
        Left = 2,   // starts at it
    };
    enum class VerticalAlignment : int {
        Top = 0,      // the tallest glyph top touches the position
        Center = 1,   // centred on it
        Bottom = 2,   // the lowest descent (or the baseline) lies on it
        Baseline = 3, // the baseline runs through it
    };

    explicit TextBlock(std::shared_ptr<Font> font);

    // The text program's projection and the viewport are the canvas's to set.
    void draw() override;
    void onViewportChanged(const glm::uvec4& canvasRect) override;
    // Lays the text out from the position. An alignment outside its enumeration is warned about
    // at every rebuild and leaves that axis unaligned.
    void regenerate();

    void setText(std::string newText);
    void setColor(const glm::vec3& newColor);
    void setFontSize(unsigned newSize);
    void setHorizontalAlignment(HorizontalAlignment alignment);
    void setVerticalAlignment(VerticalAlignment alignment);

    const std::string& getText() const { return text; }
    unsigned getFontSize() const { return fontSize; }
    const std::vector<GlyphQuad>& getQuads() const { return quads; }

private:
    // The text's advance width, tallest top above and deepest descent below the baseline, scaled.
    glm::vec3 measure() const;
    glm::vec2 alignedPen() const;

    VertexArrayObject vertexArray;
    VertexBufferObject<glm::vec4> vertexBuffer{GL_ARRAY_BUFFER};
    std::string text;
    std::shared_ptr<Font> font;
    TextShader* shader;
    unsigned fontSize = 12; // pixels
    float scale = 1.0f;     // on every glyph metric
    glm::vec3 color{1.0f, 1.0f, 1.0f};
    HorizontalAlignment horizontalAlignment = HorizontalAlignment::Left;
    VerticalAlignment verticalAlignment = VerticalAlignment::Baseline;
    std::vector<GlyphQuad> quads;
};
