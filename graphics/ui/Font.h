#pragma once

#include "graphics/ui/Glyph.h"
#include "graphics/ui/GlyphKey.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>
#include <unordered_map>

// One TrueType face turned into glyph textures for the head-up display. Each (pixel size,
// character) is rendered once, on first request, and cached for the font's life; each pixel
// size gets one FreeType size object, scaled once. Every FreeType failure ends the process with
// one critical line on "FT". Main thread only, with the GL context current.
class Font {
public:
    // The face is neither opened nor closed here (openFont opens it; it lasts until exit).
    explicit Font(FT_Face face);
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The cached glyph, rendered first on a miss. The reference stays valid for the font's life.
    const Glyph& getGlyph(char character, unsigned pixelSize);
    // Makes pixelSize the face's active size: a new size object the first time, reactivated after.
    void setSize(unsigned pixelSize);

    unsigned getCurrentSize() const { return currentSize; }

private:
    Glyph loadGlyph(char character, unsigned pixelSize);

    FT_Face face;
    unsigned currentSize = 0;
    std::unordered_map<GlyphKey, Glyph, GlyphKeyHash> glyphs;
    std::unordered_map<unsigned, FT_Size> sizes;
};

inline constexpr const char* defaultFontPath = "assets/fonts/Open_Sans/OpenSans-Regular.ttf";

// Logs "Setting up text rendering..." and opens face 0 of the file as a font to share among the
// text blocks. A FreeType library that cannot start or a file it cannot open is fatal.
std::shared_ptr<Font> openFont(const std::string& path = defaultFontPath);
