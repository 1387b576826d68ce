#include "graphics/ui/TextBlock.h"

#include "graphics/gl/Image.h"
#include "graphics/ui/Font.h"
#include "graphics/ui/UiCanvas.h"
#include "graphics/ui/UiImage.h"
#include "tests/graphics/OffscreenTarget.h"
#include "tests/support/ChildTest.h"
#include "tests/support/LogCapture.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {
using Horizontal = TextBlock::HorizontalAlignment;
using Vertical = TextBlock::VerticalAlignment;

// The text's extent from the glyph metrics alone, in pixels at scale 1.
struct Metrics {
    float width = 0;
    float above = 0;
    float below = 0;
};

Metrics measure(Font& font, const std::string& text, unsigned size) {
    Metrics metrics;
    for (const char character : text) {
        const Glyph& glyph = font.getGlyph(character, size);
        metrics.width += static_cast<float>(glyph.advance / 64);
        metrics.above = std::max(metrics.above, static_cast<float>(glyph.bearing.y));
        metrics.below = std::max(metrics.below, static_cast<float>(glyph.size.y - glyph.bearing.y));
    }
    return metrics;
}

// The box the quads cover: left, bottom, right, top.
glm::vec4 bounds(const std::vector<GlyphQuad>& quads) {
    glm::vec4 box(1e9f, 1e9f, -1e9f, -1e9f);
    for (const GlyphQuad& quad : quads) {
        for (const glm::vec4& vertex : quad.vertices) {
            box = {std::min(box.x, vertex.x), std::min(box.y, vertex.y), std::max(box.z, vertex.x),
                   std::max(box.w, vertex.y)};
        }
    }
    return box;
}

class TextBlockTest : public testing::Test {
protected:
    void SetUp() override {
        // The game's start-up state: alpha blending for every pass.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        canvas.resize({0, 0, 640, 360});
    }
    void TearDown() override { glDisable(GL_BLEND); }

    TextBlock& addText(const std::string& text, unsigned size) {
        TextBlock& block = *canvas.addTextBlock(font);
        block.setText(text);
        block.setFontSize(size);
        return block;
    }

    std::shared_ptr<Font> font = openFont();
    UiCanvas canvas;
};

TEST_F(TextBlockTest, StartsWithTheDefaultStyleAndNoQuads) {
    const TextBlock block(font);
    EXPECT_EQ(block.getText(), "");
    EXPECT_EQ(block.getFontSize(), 12u);
    EXPECT_TRUE(block.getQuads().empty());
    EXPECT_EQ(block.getPosition(), glm::ivec2(0, 0));
}

TEST_F(TextBlockTest, TheDefaultAlignmentStartsThePenOnThePosition) {
    TextBlock& block = addText("Ag", 24);
    block.setOffset({100, 50});
    block.regenerate();
    const Glyph& a = font->getGlyph('A', 24);
    const Glyph& g = font->getGlyph('g', 24);
    ASSERT_EQ(block.getQuads().size(), 2u);
    const GlyphQuad& first = block.getQuads()[0];
    EXPECT_EQ(first.glyph, &a);
    EXPECT_FLOAT_EQ(first.vertices[1].x, 100.0f + a.bearing.x) << "lower-left corner";
    EXPECT_FLOAT_EQ(first.vertices[1].y, 50.0f - (a.size.y - a.bearing.y));
    EXPECT_FLOAT_EQ(first.vertices[5].x, 100.0f + a.bearing.x + a.size.x) << "upper-right corner";
    EXPECT_FLOAT_EQ(first.vertices[5].y, 50.0f + a.bearing.y);
    const GlyphQuad& second = block.getQuads()[1];
    EXPECT_EQ(second.glyph, &g);
    EXPECT_FLOAT_EQ(second.vertices[1].x, 100.0f + static_cast<float>(a.advance / 64) + g.bearing.x)
        << "the pen moves by whole pixels of the advance";
    EXPECT_LT(second.vertices[1].y, 50.0f) << "g descends below the baseline";
}

TEST_F(TextBlockTest, TheTopEdgeTakesTheFirstBitmapRow) {
    TextBlock& block = addText("A", 24);
    block.regenerate();
    const Glyph& a = font->getGlyph('A', 24);
    const float left = a.bearing.x, right = left + a.size.x;
    const float top = a.bearing.y, bottom = top - a.size.y;
    const std::array<glm::vec4, 6> expected = {{{left, top, 0, 0},
                                                {left, bottom, 0, 1},
                                                {right, bottom, 1, 1},
                                                {left, top, 0, 0},
                                                {right, bottom, 1, 1},
                                                {right, top, 1, 0}}};
    EXPECT_EQ(block.getQuads()[0].vertices, expected);
}

// Where each alignment puts the text around the position (p, q), checked against the glyph
// metrics: the extent of the quads, not the layout's own arithmetic.
struct AlignmentCase {
    Horizontal horizontal;
    Vertical vertical;
};

class TextAlignment : public TextBlockTest, public testing::WithParamInterface<AlignmentCase> {};

TEST_P(TextAlignment, PlacesTheMeasuredTextAroundThePosition) {
    const std::string text = "Hello, Ag";
    const glm::ivec2 position(320, 180);
    TextBlock& block = addText(text, 24);
    block.setOffset(position);
    block.setHorizontalAlignment(GetParam().horizontal);
    block.setVerticalAlignment(GetParam().vertical);
    block.regenerate();
    const Metrics metrics = measure(*font, text, 24);
    const Glyph& firstGlyph = font->getGlyph(text.front(), 24);

    float penX = static_cast<float>(position.x);
    switch (GetParam().horizontal) {
    case Horizontal::Right: penX -= metrics.width; break;
    case Horizontal::Center: penX -= metrics.width / 2; break;
    default: break;
    }
    EXPECT_FLOAT_EQ(block.getQuads().front().vertices[1].x, penX + firstGlyph.bearing.x);
    const float end = penX + metrics.width;
    if (GetParam().horizontal == Horizontal::Right) {
        EXPECT_FLOAT_EQ(end, position.x) << "the advance of the text ends on the position";
    }

    const glm::vec4 box = bounds(block.getQuads());
    const float q = static_cast<float>(position.y);
    switch (GetParam().vertical) {
    case Vertical::Top: EXPECT_FLOAT_EQ(box.w, q) << "the tallest top touches it"; break;
    case Vertical::Center: EXPECT_FLOAT_EQ((box.y + box.w) / 2, q); break;
    case Vertical::Bottom: EXPECT_FLOAT_EQ(box.y, q) << "the deepest descent stands on it"; break;
    case Vertical::Baseline:
        EXPECT_FLOAT_EQ(box.y, q - metrics.below);
        EXPECT_FLOAT_EQ(box.w, q + metrics.above);
        break;
    }
}

std::vector<AlignmentCase> everyAlignment() {
    std::vector<AlignmentCase> cases;
    for (const Horizontal horizontal : {Horizontal::Right, Horizontal::Center, Horizontal::Left}) {
        for (const Vertical vertical :
             {Vertical::Top, Vertical::Center, Vertical::Bottom, Vertical::Baseline}) {
            cases.push_back({horizontal, vertical});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Every, TextAlignment, testing::ValuesIn(everyAlignment()));

TEST_F(TextBlockTest, BottomWithoutDescentPutsTheBaselineOnThePosition) {
    TextBlock& block = addText("HI", 24);
    block.setOffset({10, 40});
    block.setVerticalAlignment(Vertical::Bottom);
    block.regenerate();
    EXPECT_FLOAT_EQ(bounds(block.getQuads()).y, 40.0f);
}

struct UnknownAlignmentCase {
    bool horizontal;
    const char* warning;
};

class UnknownAlignment : public TextBlockTest,
                         public testing::WithParamInterface<UnknownAlignmentCase> {};

TEST_P(UnknownAlignment, WarnsAtEachRebuildAndLeavesThatAxisUnaligned) {
    TextBlock& reference = addText("Ag", 24);
    reference.setOffset({200, 100});
    reference.setHorizontalAlignment(GetParam().horizontal ? Horizontal::Left : Horizontal::Center);
    reference.setVerticalAlignment(GetParam().horizontal ? Vertical::Center : Vertical::Baseline);
    reference.regenerate();

    TextBlock& block = addText("Ag", 24);
    block.setOffset({200, 100});
    if (GetParam().horizontal) {
        block.setHorizontalAlignment(static_cast<Horizontal>(7));
        block.setVerticalAlignment(Vertical::Center);
    } else {
        block.setHorizontalAlignment(Horizontal::Center);
        block.setVerticalAlignment(static_cast<Vertical>(7));
    }
    LogCapture capture;
    block.regenerate();
    block.regenerate();
    EXPECT_EQ(capture.count(GetParam().warning), 2u);
    EXPECT_EQ(capture.countAtLeast(spdlog::level::warn), 2u);
    EXPECT_EQ(block.getQuads()[0].vertices, reference.getQuads()[0].vertices);
}

INSTANTIATE_TEST_SUITE_P(
    Seven, UnknownAlignment,
    testing::Values(UnknownAlignmentCase{true, "Unrecognized horizontal alignment 7"},
                    UnknownAlignmentCase{false, "Unrecognized vertical alignment 7"}));

TEST_F(TextBlockTest, OnlyGeometryChangesDropTheQuads) {
    TextBlock& block = addText("Player 1", 24);
    block.regenerate();
    const auto dropsQuads = [&](auto change) {
        block.regenerate();
        change();
        return block.getQuads().empty();
    };
    EXPECT_TRUE(dropsQuads([&] { block.setText("Player 1"); })) << "even the same text";
    EXPECT_FALSE(dropsQuads([&] { block.setFontSize(24); }));
    EXPECT_TRUE(dropsQuads([&] { block.setFontSize(18); }));
    EXPECT_FALSE(dropsQuads([&] { block.setHorizontalAlignment(Horizontal::Left); }));
    EXPECT_TRUE(dropsQuads([&] { block.setHorizontalAlignment(Horizontal::Center); }));
    EXPECT_FALSE(dropsQuads([&] { block.setVerticalAlignment(Vertical::Baseline); }));
    EXPECT_TRUE(dropsQuads([&] { block.setVerticalAlignment(Vertical::Top); }));
    EXPECT_FALSE(dropsQuads([&] { block.setColor({1, 0, 0}); })) << "the colour is a uniform";
    EXPECT_FALSE(dropsQuads([&] { block.setOffset({5, 5}); }));
    EXPECT_FALSE(dropsQuads([&] { block.setAnchor({0.5f, 0.5f}); }));
    EXPECT_TRUE(dropsQuads([&] { canvas.resize({0, 0, 640, 360}); }));
}

TEST_F(TextBlockTest, AnOffsetTakesEffectOnlyWhenTheQuadsAreRebuilt) {
    TextBlock& block = addText("A", 24);
    OffscreenTarget target({640, 360});
    target.bindAndClear();
    canvas.draw();
    const float before = block.getQuads()[0].vertices[1].x;
    block.setOffset({100, 0});
    EXPECT_EQ(block.getPosition(), glm::ivec2(100, 0)) << "the position itself follows at once";
    canvas.draw();
    EXPECT_FLOAT_EQ(block.getQuads()[0].vertices[1].x, before);
    canvas.resize(canvas.getRect());
    canvas.draw();
    EXPECT_FLOAT_EQ(block.getQuads()[0].vertices[1].x, before + 100.0f);
}

TEST_F(TextBlockTest, AnEmptyTextRebuildsAtEveryDrawAndDrawsNothing) {
    addText("", 24);
    OffscreenTarget target({640, 360});
    target.bindAndClear();
    LogCapture capture;
    canvas.draw();
    canvas.draw();
    EXPECT_EQ(capture.count("Regenerating glyph cache for ''."), 2u);
    for (const glm::u8vec4& pixel : target.read()) {
        ASSERT_EQ(pixel, glm::u8vec4(0, 0, 0, 255));
    }
}

TEST_F(TextBlockTest, ASteadyTextIsLaidOutOnce) {
    addText("Press ENTER to start", 24);
    OffscreenTarget target({640, 360});
    target.bindAndClear();
    LogCapture capture;
    for (int frame = 0; frame < 3; ++frame) {
        canvas.draw();
    }
    EXPECT_EQ(capture.count("Regenerating glyph cache for 'Press ENTER to start'."), 1u);
}

// The prompt of the start screen, drawn into a canvas that does not start at the window's corner:
// every lit pixel lies on a glyph's quad, and every glyph with a bitmap lights some of its quad.
TEST_F(TextBlockTest, DrawsThePromptWhereItsLayoutSays) {
    OffscreenTarget target({800, 500});
    const glm::uvec4 rect(40, 100, 640, 360);
    canvas.resize(rect);
    TextBlock& prompt = addText("Press ENTER to start", 24);
    prompt.setHorizontalAlignment(Horizontal::Center);
    prompt.setAnchor({0.5f, 0.15f});
    prompt.setColor({1.0f, 0.5f, 0.0f});
    target.bindAndClear();
    canvas.draw();
    const std::vector<glm::u8vec4> pixels = target.read();

    // Quads in window pixels, with a pixel of slack for the rasteriser's edge rule.
    std::vector<glm::ivec4> boxes;
    for (const GlyphQuad& quad : prompt.getQuads()) {
        const glm::vec4 box = bounds({quad});
        boxes.emplace_back(rect.x + box.x - 1, rect.y + box.y - 1, rect.x + box.z + 1,
                           rect.y + box.w + 1);
    }
    std::vector<int> litPerQuad(boxes.size(), 0);
    for (int y = 0; y < target.size.y; ++y) {
        for (int x = 0; x < target.size.x; ++x) {
            const glm::u8vec4 pixel = target.at(pixels, x, y);
            if (pixel.r < 64) {
                continue;
            }
            bool inside = false;
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                if (x >= boxes[i].x && x < boxes[i].z && y >= boxes[i].y && y < boxes[i].w) {
                    inside = true;
                    ++litPerQuad[i];
                }
            }
            ASSERT_TRUE(inside) << "pixel (" << x << ", " << y << ") is lit outside every quad";
            EXPECT_LE(pixel.b, 2) << "blue stays out of an orange text";
        }
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (prompt.getQuads()[i].glyph->size.x > 0) {
            EXPECT_GT(litPerQuad[i], 0) << "glyph " << i << " drew nothing";
        }
    }
    // The centre of the canvas's bottom 15 %: the text straddles x = 40 + 320.
    const glm::vec4 all = bounds(prompt.getQuads());
    EXPECT_NEAR((all.x + all.z) / 2, 320.0f, 12.0f);
    EXPECT_EQ(prompt.getPosition(), glm::ivec2(320, 54));
}

TEST_F(TextBlockTest, AGlyphIsDrawnUprightWithFullCoverageInTheTextColour) {
    OffscreenTarget target({200, 100});
    canvas.resize({0, 0, 200, 100});
    TextBlock& tee = addText("T", 50);
    tee.setOffset({50, 20});
    tee.setColor({0.0f, 1.0f, 0.0f});
    target.bindAndClear();
    canvas.draw();
    const std::vector<glm::u8vec4> pixels = target.read();
    const glm::vec4 box = bounds(tee.getQuads());
    const int centre = static_cast<int>((box.x + box.z) / 2);
    const int nearTop = static_cast<int>(box.w) - 2;
    const int nearBottom = static_cast<int>(box.y) + 2;
    EXPECT_TRUE(
        colorNear(target.at(pixels, static_cast<int>(box.x) + 2, nearTop), {0, 255, 0, 255}))
        << "the bar of the T is at the top";
    EXPECT_TRUE(
        colorNear(target.at(pixels, static_cast<int>(box.x) + 2, nearBottom), {0, 0, 0, 255}));
    EXPECT_TRUE(colorNear(target.at(pixels, centre, nearBottom), {0, 255, 0, 255}));
}

// Far more glyphs than the driver has texture units, with the counter already near its end: the
// image made before them still shows its own texture and the text its own glyphs.
TEST(GlyphUnits, ManyGlyphsNearTheUnitLimitCorruptNothing) {
    const ChildResult child = runTestInChild("GlyphUnits.DISABLED_InAFreshProcess");
    EXPECT_EQ(child.exitStatus, 0) << child.standardError;
}

TEST(GlyphUnits, DISABLED_InAFreshProcess) {
    GLint unitLimit = 0;
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &unitLimit);
    textureUnitCounter = static_cast<std::uint32_t>(unitLimit) - 2;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    Texture blue(GL_TEXTURE_2D);
    const unsigned char blueTexel[] = {0, 0, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, blueTexel);
    const std::shared_ptr<Font> font = openFont();
    for (unsigned size = 10; size < 14; ++size) {
        for (int character = 33; character < 127; ++character) {
            font->getGlyph(static_cast<char>(character), size);
        }
    }
    EXPECT_LE(textureUnitCounter, static_cast<std::uint32_t>(unitLimit));

    UiCanvas canvas;
    canvas.resize({0, 0, 200, 100});
    UiImage& image = *canvas.addImage();
    image.setAbsoluteSize({20, 20});
    image.setTexture(&blue);
    TextBlock& text = *canvas.addTextBlock(font);
    text.setText("W");
    text.setFontSize(13);
    text.setOffset({100, 40});
    OffscreenTarget target({200, 100});
    target.bindAndClear();
    canvas.draw();
    const std::vector<glm::u8vec4> pixels = target.read();
    EXPECT_TRUE(colorNear(target.at(pixels, 10, 10), {0, 0, 255, 255}));
    int lit = 0;
    const glm::vec4 box = bounds(text.getQuads());
    for (int y = static_cast<int>(box.y); y < static_cast<int>(box.w); ++y) {
        for (int x = static_cast<int>(box.x); x < static_cast<int>(box.z); ++x) {
            lit += target.at(pixels, x, y).r > 128;
        }
    }
    EXPECT_GT(lit, 10) << "the W drew with its own glyph";
}
} // namespace
