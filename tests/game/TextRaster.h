#pragma once

#include "tests/game/Picture.h"

#include <string>
#include <vector>

// What the game's text blocks draw, worked out on the CPU from the same font file: lines are
// laid out as the game lays out a centred text block (whole-pixel advances, no kerning) and
// their glyph bitmaps sampled the way the text shader samples them, into a coverage map of a
// window. Painting white text over a screenshot taken without it predicts the one with it.
class TextRaster {
public:
    TextRaster(const std::string& fontPath, int windowWidth, int windowHeight);
    ~TextRaster();
    TextRaster(const TextRaster&) = delete;
    TextRaster& operator=(const TextRaster&) = delete;

    bool isOpen() const { return face != nullptr; }

    // Where the line hangs from its position (window pixels, origin bottom left, y up): the
    // lowest glyph bottom on it, or the highest glyph top.
    enum class Hang { FromBottom, FromTop };
    // A line horizontally centred on the position.
    void addCentredLine(const std::string& text, unsigned pixelSize, int x, int y, Hang hang);

    // The picture with white text of this coverage blended over it.
    Picture paintOver(const Picture& picture) const;

private:
    struct Bitmap {
        int width, rows, left, top, advance;
        std::vector<float> coverage;
        float at(int x, int y) const; // wraps around, as the glyph textures repeat
    };
    Bitmap load(char character, unsigned pixelSize);
    void addGlyph(const Bitmap& glyph, float left, float bottom);
    float& cell(int x, int rowFromTop) {
        return coverage[static_cast<std::size_t>(rowFromTop * width + x)];
    }

    void* library = nullptr; // FreeType's handles stay in the .cpp
    void* face = nullptr;
    int width, height;
    std::vector<float> coverage; // rows from the top, like a picture
};
