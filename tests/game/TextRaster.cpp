#include "tests/game/TextRaster.h"

#include <algorithm>
#include <cmath>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {
FT_Face faceOf(void* face) { return static_cast<FT_Face>(face); }
} // namespace

TextRaster::TextRaster(const std::string& fontPath, int windowWidth, int windowHeight)
    : width(windowWidth), height(windowHeight),
      coverage(static_cast<std::size_t>(windowWidth * windowHeight), 0.0f) {
    FT_Library ft = nullptr;
    if (FT_Init_FreeType(&ft) != 0) {
        return;
    }
    library = ft;
    FT_Face opened = nullptr;
    if (FT_New_Face(ft, fontPath.c_str(), 0, &opened) == 0) {
        face = opened;
    }
}

TextRaster::~TextRaster() {
    if (face != nullptr) {
        FT_Done_Face(faceOf(face));
    }
    if (library != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library));
    }
}

float TextRaster::Bitmap::at(int x, int y) const {
    const int column = ((x % width) + width) % width;
    const int row = ((y % rows) + rows) % rows;
    return coverage[static_cast<std::size_t>(row * width + column)];
}

TextRaster::Bitmap TextRaster::load(char character, unsigned pixelSize) {
    FT_Face font = faceOf(face);
    Bitmap glyph{0, 0, 0, 0, 0, {}};
    if (FT_Set_Pixel_Sizes(font, 0, pixelSize) != 0 ||
        FT_Load_Char(font, static_cast<unsigned char>(character), FT_LOAD_RENDER) != 0) {
        return glyph;
    }
    const FT_Bitmap& bitmap = font->glyph->bitmap;
    glyph = {static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), font->glyph->bitmap_left,
             font->glyph->bitmap_top, static_cast<int>(font->glyph->advance.x >> 6), {}};
    for (int row = 0; row < glyph.rows; ++row) {
        for (int x = 0; x < glyph.width; ++x) {
            const unsigned char covered = bitmap.buffer[row * bitmap.pitch + x];
            glyph.coverage.push_back(static_cast<float>(covered) / 255.0f);
        }
    }
    return glyph;
}

void TextRaster::addCentredLine(const std::string& text, unsigned pixelSize, int x, int y, Hang hang) {
    if (face == nullptr) {
        return;
    }
    std::vector<Bitmap> glyphs;
    int advance = 0;
    int above = 0;
    int below = 0;
    for (const char character : text) {
        glyphs.push_back(load(character, pixelSize));
        advance += glyphs.back().advance;
        above = std::max(above, glyphs.back().top);
        below = std::max(below, glyphs.back().rows - glyphs.back().top);
    }
    float penX = static_cast<float>(x) - static_cast<float>(advance) * 0.5f;
    const float penY = static_cast<float>(hang == Hang::FromBottom ? y + below : y - above);
    for (const Bitmap& glyph : glyphs) {
        if (glyph.width > 0 && glyph.rows > 0) {
            addGlyph(glyph, penX + static_cast<float>(glyph.left),
                     penY - static_cast<float>(glyph.rows - glyph.top));
        }
        penX += static_cast<float>(glyph.advance);
    }
}

// Each window pixel whose centre lies in the glyph's quad samples the bitmap bilinearly at that
// centre, one texel a pixel: a quad on a half pixel averages two texels.
void TextRaster::addGlyph(const Bitmap& glyph, float left, float bottom) {
    const float top = bottom + static_cast<float>(glyph.rows);
    const float right = left + static_cast<float>(glyph.width);
    for (int y = std::max(0, static_cast<int>(std::floor(bottom))); y < height && y < top; ++y) {
        for (int x = std::max(0, static_cast<int>(std::floor(left))); x < width && x < right; ++x) {
            const float centreX = static_cast<float>(x) + 0.5f;
            const float centreY = static_cast<float>(y) + 0.5f;
            if (centreX < left || centreX >= right || centreY < bottom || centreY >= top) {
                continue;
            }
            // Texel space, texel centres on whole numbers, rows from the bitmap's top.
            const float s = centreX - left - 0.5f;
            const float t = top - centreY - 0.5f;
            const int s0 = static_cast<int>(std::floor(s));
            const int t0 = static_cast<int>(std::floor(t));
            const float fs = s - static_cast<float>(s0);
            const float ft = t - static_cast<float>(t0);
            const float upper = (1 - fs) * glyph.at(s0, t0) + fs * glyph.at(s0 + 1, t0);
            const float lower = (1 - fs) * glyph.at(s0, t0 + 1) + fs * glyph.at(s0 + 1, t0 + 1);
            const float sample = (1 - ft) * upper + ft * lower;
            float& covered = cell(x, height - 1 - y);
            covered = covered + sample * (1.0f - covered);
        }
    }
}

Picture TextRaster::paintOver(const Picture& picture) const {
    Picture painted = picture;
    if (picture.width != width || picture.height != height) {
        return painted;
    }
    for (std::size_t i = 0; i < painted.rgb.size(); ++i) {
        const float alpha = coverage[i / 3];
        const float channel = static_cast<float>(painted.rgb[i]);
        painted.rgb[i] = static_cast<std::uint8_t>(std::lround(channel + alpha * (255.0f - channel)));
    }
    return painted;
}
