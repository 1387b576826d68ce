#include "graphics/ui/UiCanvas.h"

#include "graphics/shaders/Shaders.h"
#include "graphics/ui/Font.h"
#include "graphics/ui/TextBlock.h"
#include "graphics/ui/UiImage.h"
#include "tests/graphics/OffscreenTarget.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {
// Placement by anchor and offset, for images and text blocks alike.
struct PlacementCase {
    glm::uvec4 rect;
    glm::vec2 anchor;
    glm::ivec2 offset;
    glm::ivec2 position;
};

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, IsTheAnchoredPointOfTheRectangleSizePlusTheOffset) {
    const PlacementCase& placement = GetParam();
    UiCanvas canvas;
    canvas.resize(placement.rect);
    UIElement* elements[] = {canvas.addImage(), canvas.addTextBlock(openFont())};
    for (UIElement* element : elements) {
        element->setAnchor(placement.anchor);
        element->setOffset(placement.offset);
        EXPECT_EQ(element->getPosition(), placement.position);
        EXPECT_EQ(element->getRect(), placement.rect);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Placement,
    testing::Values(
        // Player 2's half of a 1920 × 1080 window: the rectangle's own corner does not count.
        PlacementCase{{0, 540, 1920, 540}, {0.5f, 0.5f}, {0, -25}, {960, 245}},
        PlacementCase{{0, 0, 1920, 1079}, {0.5f, 0.15f}, {0, 0}, {960, 161}}, // 161.85
        PlacementCase{{0, 0, 1920, 540}, {1.0f, 0.0f}, {-50, 10}, {1870, 10}},
        PlacementCase{{0, 0, 0, 0}, {0.5f, 0.5f}, {-7, 3}, {-7, 3}}));

TEST(UiCanvas, AnElementAddedBeforeTheFirstResizeSitsAtItsOffsetUntilThen) {
    UiCanvas canvas;
    UiImage& image = *canvas.addImage();
    image.setAnchor({1.0f, 1.0f});
    image.setOffset({-40, -30});
    EXPECT_EQ(image.getPosition(), glm::ivec2(-40, -30));
    canvas.resize({0, 0, 800, 600});
    EXPECT_EQ(image.getPosition(), glm::ivec2(760, 570));
    EXPECT_EQ(canvas.addImage()->getRect(), glm::uvec4(0, 0, 800, 600))
        << "a later element is laid out in the current rectangle";
}

TEST(UiImage, SizeIsTheRelativePartOfTheRectanglePlusTheAbsolute) {
    UiCanvas canvas;
    canvas.resize({0, 0, 101, 101});
    UiImage& image = *canvas.addImage();
    EXPECT_EQ(image.getSize(), glm::ivec2(0, 0));
    image.setRelativeSize({0.5f, 0.5f});
    image.setAbsoluteSize({10, 0});
    EXPECT_EQ(image.getSize(), glm::ivec2(60, 50));
    canvas.resize({0, 0, 201, 101});
    EXPECT_EQ(image.getSize(), glm::ivec2(110, 50)) << "resizing recomputes the size";
}

// The game's start-up state and a 1920 × 1080 stand-in for the window.
class CanvasDrawing : public testing::Test {
protected:
    void SetUp() override {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
        target.bindAndClear();
    }
    void TearDown() override {
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
    }

    // The number of pixels in the rectangle [x0, x1) × [y0, y1) that have the colour.
    int count(const std::vector<glm::u8vec4>& pixels, glm::ivec4 box, glm::u8vec4 color) const {
        int matching = 0;
        for (int y = box.y; y < box.w; ++y) {
            for (int x = box.x; x < box.z; ++x) {
                matching += isNear(target.at(pixels, x, y), color) ? 1 : 0;
            }
        }
        return matching;
    }

    int countAll(const std::vector<glm::u8vec4>& pixels, glm::u8vec4 color) const {
        return count(pixels, {0, 0, target.size.x, target.size.y}, color);
    }

    OffscreenTarget target{{1920, 1080}};
    UiCanvas canvas;
};

TEST_F(CanvasDrawing, AHeartDrawsIntoItsOwnRectangleOfTheWindow) {
    canvas.resize({0, 540, 1920, 540});
    UiImage& heart = *canvas.addImage();
    heart.setAnchor({1.0f, 0.0f});
    heart.setOffset({-100, 10});
    heart.setAbsoluteSize({40, 40});
    heart.setColor({0.0f, 1.0f, 0.0f, 1.0f});
    canvas.draw();
    const std::vector<glm::u8vec4> pixels = target.read();
    const glm::u8vec4 green(0, 255, 0, 255);
    EXPECT_EQ(count(pixels, {1820, 550, 1860, 590}, green), 40 * 40);
    EXPECT_EQ(countAll(pixels, green), 40 * 40) << "and nowhere else";
}

TEST_F(CanvasDrawing, ATexturedImageShowsItsTextureUprightTintedByItsColour) {
    // Rows bottom first: red and green at the bottom, blue and white on top.
    const unsigned char texels[] = {255, 0, 0,   255, 0,   255, 0,   255,
                                    0,   0, 255, 255, 255, 255, 255, 255};
    Texture texture(GL_TEXTURE_2D);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    canvas.resize({0, 0, 1920, 1080});
    UiImage& image = *canvas.addImage();
    image.setOffset({100, 200});
    image.setAbsoluteSize({40, 40});
    image.setTexture(&texture);
    canvas.draw();
    std::vector<glm::u8vec4> pixels = target.read();
    EXPECT_TRUE(colorNear(target.at(pixels, 110, 210), {255, 0, 0, 255}));
    EXPECT_TRUE(colorNear(target.at(pixels, 130, 210), {0, 255, 0, 255}));
    EXPECT_TRUE(colorNear(target.at(pixels, 110, 230), {0, 0, 255, 255}));
    EXPECT_TRUE(colorNear(target.at(pixels, 130, 230), {255, 255, 255, 255}));
    EXPECT_EQ(countAll(pixels, {0, 0, 0, 255}), 1920 * 1080 - 40 * 40);

    image.setColor({1.0f, 0.0f, 0.0f, 1.0f});
    canvas.draw();
    pixels = target.read();
    EXPECT_TRUE(colorNear(target.at(pixels, 130, 230), {255, 0, 0, 255})) << "white tinted red";
    EXPECT_TRUE(colorNear(target.at(pixels, 110, 230), {0, 0, 0, 255})) << "blue tinted red";
}

TEST_F(CanvasDrawing, ALostHeartIsDrawnFullyTransparent) {
    canvas.resize({0, 0, 1920, 1080});
    UiImage& heart = *canvas.addImage();
    heart.setAbsoluteSize({40, 40});
    heart.setColor({0.0f, 0.0f, 0.0f, 0.0f});
    target.bindAndClear({0.2f, 0.4f, 0.6f, 1.0f});
    canvas.draw();
    EXPECT_EQ(countAll(target.read(), {51, 102, 153, 255}), 1920 * 1080);
}

TEST_F(CanvasDrawing, AnImageWithoutTextureDrawsItsColourAndLeavesTheSamplerAlone) {
    Texture texture(GL_TEXTURE_2D);
    const unsigned char white[] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    canvas.resize({0, 0, 1920, 1080});
    UiImage& textured = *canvas.addImage();
    textured.setAbsoluteSize({10, 10});
    textured.setTexture(&texture);
    UiImage& plain = *canvas.addImage();
    plain.setOffset({50, 0});
    plain.setAbsoluteSize({10, 10});
    plain.setColor({1.0f, 0.0f, 1.0f, 1.0f});
    canvas.draw();

    const DisplayTextureShader& program = getShaders().displayTexture;
    GLint sampler = -1, hasTexture = -1;
    glGetUniformiv(program.getHandle(), program.targetTexture.getLocation(), &sampler);
    glGetUniformiv(program.getHandle(), program.hasTexture.getLocation(), &hasTexture);
    EXPECT_EQ(sampler, static_cast<GLint>(texture.getUnit())) << "kept from the textured image";
    EXPECT_EQ(hasTexture, 0);
    const std::vector<glm::u8vec4> pixels = target.read();
    EXPECT_EQ(count(pixels, {50, 0, 60, 10}, {255, 0, 255, 255}), 100);
    EXPECT_EQ(count(pixels, {0, 0, 10, 10}, {255, 255, 255, 255}), 100);
}

TEST_F(CanvasDrawing, AnImageWithoutAreaDrawsNothing) {
    canvas.resize({0, 0, 1920, 1080});
    for (const glm::ivec2 size : {glm::ivec2(-10, 40), glm::ivec2(40, -1), glm::ivec2(0, 40)}) {
        UiImage& image = *canvas.addImage();
        image.setAbsoluteSize(size);
        image.setColor({1.0f, 1.0f, 1.0f, 1.0f});
    }
    canvas.draw();
    // GL refuses a negative viewport and keeps the canvas's: the image would cover the window.
    EXPECT_EQ(countAll(target.read(), {0, 0, 0, 255}), 1920 * 1080);
}

TEST_F(CanvasDrawing, DrawsWithoutDepthTestingUnderItsOwnProjectionAndTurnsDepthTestingOnAgain) {
    // A depth buffer that would reject everything a depth-tested draw makes.
    target.bindAndClear({0, 0, 0, 1}, 0.0f);
    canvas.resize({0, 540, 1920, 540});
    UiImage& image = *canvas.addImage();
    image.setAbsoluteSize({8, 8});
    for (const bool depthBefore : {true, false}) {
        depthBefore ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
        canvas.draw();
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    }
    EXPECT_EQ(count(target.read(), {0, 540, 8, 548}, {255, 255, 255, 255}), 64);

    const TextShader& text = getShaders().text;
    glm::mat4 projection(0.0f);
    glGetUniformfv(text.getHandle(), text.projection.getLocation(), &projection[0][0]);
    const glm::mat4 expected(glm::vec4(2.0f / 1920, 0, 0, 0), glm::vec4(0, 2.0f / 540, 0, 0),
                             glm::vec4(0, 0, -1, 0), glm::vec4(-1, -1, 0, 1));
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(projection[column][row], expected[column][row], 1e-7f);
        }
    }
}

TEST_F(CanvasDrawing, EveryElementStartsFromTheCanvasViewport) {
    canvas.resize({0, 540, 1920, 540});
    UiImage& image = *canvas.addImage();
    image.setAbsoluteSize({20, 20});
    image.setOffset({1000, 5});
    TextBlock& label = *canvas.addTextBlock(openFont());
    label.setText("Player 2");
    label.setFontSize(24);
    label.setOffset({20, 20});
    canvas.draw();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(glm::ivec4(viewport[0], viewport[1], viewport[2], viewport[3]),
              glm::ivec4(0, 540, 1920, 540));
    // The label sits 20 pixels in from the bottom left of the upper half; drawn in the image's
    // viewport instead, it would shrink into the image's 20 × 20 pixels.
    const std::vector<glm::u8vec4> pixels = target.read();
    int lit = 0;
    for (int y = 540; y < 600; ++y) {
        for (int x = 20; x < 200; ++x) {
            lit += target.at(pixels, x, y).r > 128 ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 50);
    EXPECT_EQ(count(pixels, {0, 0, 1920, 540}, {0, 0, 0, 255}), 1920 * 540)
        << "lower half untouched";
}
} // namespace
