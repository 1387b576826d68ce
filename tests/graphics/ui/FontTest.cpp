#include "graphics/ui/Font.h"

#include "tests/graphics/ui/FreeTypeProbe.h"
#include "tests/support/ChildTest.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>
#include <set>

namespace {
// A font of its own per test, so that no test sees another's cached glyphs or active size.
class FontTest : public testing::Test {
protected:
    int callsSince(FreeTypeProbe::Function function, const std::array<int, 5>& before) const {
        return FreeTypeProbe::calls[function] - before[function];
    }

    std::shared_ptr<Font> font = openFont();
};

TEST(FontOpening, LogsTheSetUpLineAndStartsFreeTypeOnceForEveryFont) {
    LogCapture capture;
    const int startsBefore = FreeTypeProbe::calls[FreeTypeProbe::InitFreeType];
    const std::shared_ptr<Font> first = openFont();
    const std::shared_ptr<Font> second = openFont();
    EXPECT_EQ(capture.count("Setting up text rendering..."), 2u);
    EXPECT_LE(FreeTypeProbe::calls[FreeTypeProbe::InitFreeType] - startsBefore, 1)
        << "the library is started by the first font of the process only";
    EXPECT_NE(&first->getGlyph('A', 24), &second->getGlyph('A', 24)) << "each font caches its own";
}

TEST_F(FontTest, CachesOneGlyphPerSizeAndCharacter) {
    const Glyph& small = font->getGlyph('A', 24);
    const Glyph& large = font->getGlyph('A', 50);
    EXPECT_NE(&small, &large);
    EXPECT_NE(small.texture.getHandle(), large.texture.getHandle());
    EXPECT_GT(large.size.y, small.size.y);
    EXPECT_GT(large.advance, small.advance);

    const auto before = FreeTypeProbe::calls;
    EXPECT_EQ(&font->getGlyph('A', 24), &small);
    EXPECT_EQ(&font->getGlyph('A', 50), &large);
    for (std::size_t function = 0; function < FreeTypeProbe::functionCount; ++function) {
        EXPECT_EQ(FreeTypeProbe::calls[function], before[function])
            << "a cached glyph calls FreeType function " << function;
    }
    EXPECT_NE(&font->getGlyph('B', 24), &small);
}

TEST_F(FontTest, CachedGlyphsStayPutWhileTheCacheGrows) {
    const Glyph& first = font->getGlyph('x', 16);
    const GLuint name = first.texture.getHandle();
    for (int character = 33; character < 127; ++character) {
        font->getGlyph(static_cast<char>(character), 17); // enough to rehash the table
    }
    EXPECT_EQ(&font->getGlyph('x', 16), &first);
    EXPECT_EQ(first.texture.getHandle(), name);
}

TEST_F(FontTest, MakesAndScalesOneSizeObjectPerPixelSize) {
    const auto before = FreeTypeProbe::calls;
    font->setSize(24);
    font->setSize(50);
    font->setSize(24);
    font->setSize(24); // the active size: nothing to do
    EXPECT_EQ(callsSince(FreeTypeProbe::NewSize, before), 2);
    EXPECT_EQ(callsSince(FreeTypeProbe::SetPixelSizes, before), 2);
    EXPECT_EQ(callsSince(FreeTypeProbe::ActivateSize, before), 3);
    EXPECT_EQ(font->getCurrentSize(), 24u);
}

TEST_F(FontTest, AReactivatedSizeRendersAtItsOwnScale) {
    const Glyph& first = font->getGlyph('E', 24);
    font->getGlyph('E', 50);
    // Same cap height in this face: a size object that lost its scale would give 50's rows.
    const Glyph& again = font->getGlyph('H', 24);
    EXPECT_EQ(again.size.y, first.size.y);
    EXPECT_EQ(again.bearing.y, first.bearing.y);
}

TEST_F(FontTest, ABlankCharacterGetsAnEmptyTextureAndItsAdvance) {
    const Glyph& space = font->getGlyph(' ', 24);
    EXPECT_EQ(space.size, glm::ivec2(0, 0));
    EXPECT_GT(space.advance, 0u);
    EXPECT_EQ(glIsTexture(space.texture.getHandle()), GL_TRUE);
}

TEST_F(FontTest, HighBytesReachFreeTypeAsSignExtendedCodes) {
    font->getGlyph(static_cast<char>(0xE9), 24);
    EXPECT_EQ(FreeTypeProbe::lastCharacterCode, 0xFFFFFFE9ul);
    font->getGlyph('z', 24);
    EXPECT_EQ(FreeTypeProbe::lastCharacterCode, static_cast<unsigned long>('z'));
}

TEST_F(FontTest, TheBitmapArrivesUnskewedWithItsTopRowFirst) {
    const Glyph& tee = font->getGlyph('T', 24);
    ASSERT_GT(tee.size.x, 4);
    ASSERT_NE(tee.size.x % 4, 0) << "pick a glyph whose rows are not 4-byte aligned";
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);

    std::vector<unsigned char> texels(static_cast<std::size_t>(tee.size.x * tee.size.y));
    tee.texture.bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_UNSIGNED_BYTE, texels.data());
    const auto texel = [&](int x, int row) {
        return texels[static_cast<std::size_t>(row * tee.size.x + x)];
    };
    const int last = tee.size.y - 1;
    // Row 0 is the bar across the top; the last row holds only the stem in the middle.
    EXPECT_GT(texel(1, 0), 128);
    EXPECT_GT(texel(tee.size.x - 2, 0), 128);
    EXPECT_EQ(texel(0, last), 0);
    EXPECT_EQ(texel(tee.size.x - 1, last), 0);
    EXPECT_GT(texel(tee.size.x / 2, last), 128);
}

TEST_F(FontTest, GlyphsShareOneTextureUnitSoTheyNeverUseUpTheUnits) {
    const std::uint32_t unitsBefore = textureUnitCounter;
    std::set<std::uint32_t> units;
    for (unsigned size = 8; size < 12; ++size) {
        for (int character = 33; character < 127; ++character) {
            units.insert(font->getGlyph(static_cast<char>(character), size).texture.getUnit());
        }
    }
    EXPECT_EQ(units.size(), 1u);
    EXPECT_LE(textureUnitCounter - unitsBefore, 1u) << "376 glyphs, at most the shared unit taken";
}

// The fatal paths: each FreeType failure ends the process with one critical line on "FT". A
// failure of the glyph road is injected after the font is open, since opening a face makes a
// size object of its own.
struct FatalCase {
    const char* name;
    std::size_t failing;
    bool whileOpening;
    const char* path;
    const char* message;
};

const FatalCase fatalCases[] = {
    {"Library", FreeTypeProbe::InitFreeType, true, defaultFontPath,
     "Could not init FreeType Library."},
    {"FontFile", FreeTypeProbe::none, true, "assets/fonts/missing.ttf",
     "Failed to load font 'assets/fonts/missing.ttf'"},
    {"NewSize", FreeTypeProbe::NewSize, false, defaultFontPath,
     "Failed to create init size 24 for font"},
    {"ActivateSize", FreeTypeProbe::ActivateSize, false, defaultFontPath,
     "Failed to create init size 24 for font"},
    {"PixelSize", FreeTypeProbe::SetPixelSizes, false, defaultFontPath,
     "Failed to set glyph size to 24"},
    {"Glyph", FreeTypeProbe::LoadChar, false, defaultFontPath, "Failed to load glyph: 'A'"},
};

class FontFatalPath : public testing::TestWithParam<FatalCase> {};

TEST_P(FontFatalPath, EndsTheProcessWithOneCriticalLine) {
    const ChildResult child =
        runTestInChild(std::string("FreeType/FontFatalPath.DISABLED_InChild/") + GetParam().name);
    EXPECT_EQ(child.exitStatus, 1) << child.standardError;
    EXPECT_NE(child.standardError.find(GetParam().message), std::string::npos)
        << child.standardError;
    std::size_t criticalLines = 0;
    for (std::size_t at = child.standardError.find("[critical]"); at != std::string::npos;
         at = child.standardError.find("[critical]", at + 1)) {
        ++criticalLines;
    }
    EXPECT_EQ(criticalLines, 1u) << child.standardError;
    EXPECT_NE(child.standardError.find("[FT ]"), std::string::npos) << child.standardError;
}

TEST_P(FontFatalPath, DISABLED_InChild) {
    const FatalCase& fatal = GetParam();
    if (fatal.whileOpening) {
        FreeTypeProbe::failing = fatal.failing;
        openFont(fatal.path);
        return;
    }
    const std::shared_ptr<Font> font = openFont(fatal.path);
    FreeTypeProbe::failing = fatal.failing;
    font->getGlyph('A', 24);
}

INSTANTIATE_TEST_SUITE_P(FreeType, FontFatalPath, testing::ValuesIn(fatalCases),
                         [](const testing::TestParamInfo<FatalCase>& info) {
                             return std::string(info.param.name);
                         });
} // namespace
