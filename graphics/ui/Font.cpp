#include "graphics/ui/Font.h"

#include "engine/Logging.h"

#include FT_SIZES_H

namespace {
// The process's one FreeType library, started by the first font opened. It is never closed:
// faces and size objects last until exit. They all hang off the library, so this pointer keeps
// them reachable to the end, and a leak checker does not mistake them for lost memory.
FT_Library library = nullptr;

// Every glyph texture sits on this one unit. A glyph is bound again right before each of its
// draws, so it needs a unit only then; a unit each would run the process out of units after
// GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS textures (192 on llvmpipe, fewer on old drivers), past
// which binding lands on another texture's unit. Taken from the counter by the first glyph.
std::uint32_t glyphTextureUnit() {
    static const std::uint32_t unit = textureUnitCounter++;
    return unit;
}

// The char taken as signed: bytes from 0x80 up reach FreeType as sign-extended 32-bit codes,
// which no charmap holds, so they draw the font's missing-glyph box. Only ASCII text is drawn
// as written.
FT_ULong characterCode(char character) {
    return static_cast<std::uint32_t>(
        static_cast<std::int32_t>(static_cast<signed char>(character)));
}
} // namespace

Font::Font(FT_Face face) : face(face) {
    glyphs.max_load_factor(1.0f);
    sizes.max_load_factor(1.0f);
}

const Glyph& Font::getGlyph(char character, unsigned pixelSize) {
    const GlyphKey key{pixelSize, character};
    if (const auto found = glyphs.find(key); found != glyphs.end()) {
        return found->second;
    }
    return glyphs.emplace(key, loadGlyph(character, pixelSize)).first->second;
}

void Font::setSize(unsigned pixelSize) {
    if (pixelSize == currentSize) {
        return;
    }
    const auto [entry, created] = sizes.try_emplace(pixelSize, nullptr);
    if (created && FT_New_Size(face, &entry->second) != 0) {
        fatal(getFreeTypeLogger(), "Failed to create init size {} for font", pixelSize);
    }
    if (FT_Activate_Size(entry->second) != 0) {
        fatal(getFreeTypeLogger(), "Failed to create init size {} for font", pixelSize);
    }
    if (created && FT_Set_Pixel_Sizes(face, 0, pixelSize) != 0) {
        fatal(getFreeTypeLogger(), "Failed to set glyph size to {}", pixelSize);
    }
    currentSize = pixelSize;
}

Glyph Font::loadGlyph(char character, unsigned pixelSize) {
    setSize(pixelSize);
    if (FT_Load_Char(face, characterCode(character), FT_LOAD_RENDER) != 0) {
        fatal(getFreeTypeLogger(), "Failed to load glyph: '{}'", character);
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    Texture texture(GL_TEXTURE_2D, glyphTextureUnit());
    // FreeType's 8-bit coverage rows lie `width` bytes apart, without padding.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    texture.bind();
    const auto width = static_cast<GLsizei>(bitmap.width);
    const auto rows = static_cast<GLsizei>(bitmap.rows);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, width, rows, 0, GL_RED, GL_UNSIGNED_BYTE, bitmap.buffer);
    return Glyph{std::move(texture),
                 {width, rows},
                 {slot->bitmap_left, slot->bitmap_top},
                 static_cast<std::uint32_t>(slot->advance.x)};
}

std::shared_ptr<Font> openFont(const std::string& path) {
    getGeneralLogger()->info("Setting up text rendering...");
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        fatal(getFreeTypeLogger(), "Could not init FreeType Library.");
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        fatal(getFreeTypeLogger(), "Failed to load font '{}'", path);
    }
    return std::make_shared<Font>(face);
}
