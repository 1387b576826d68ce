// The committed images: the channel counts and sizes the loaders and the HUD rely on, and a sky
// whose faces meet without seams.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <string>
#include <vector>

namespace {
struct Loaded {
    int width = 0, height = 0, channels = 0;
    std::vector<unsigned char> pixels;
};

Loaded load(const std::string& path) {
    Loaded image;
    stbi_set_flip_vertically_on_load(0);
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &image.channels, 0);
    if (data != nullptr) {
        image.pixels.assign(data, data + static_cast<std::size_t>(image.width) * image.height * image.channels);
        stbi_image_free(data);
    }
    return image;
}

const unsigned char* pixel(const Loaded& image, int x, int y) {
    return &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * image.channels];
}

const std::string sky = "assets/textures/skybox/";
} // namespace

TEST(TextureAssets, HeartIsFortyPixelsRgbaOnClear) {
    const Loaded heart = load("assets/textures/hud/heart.png");
    ASSERT_EQ(heart.channels, 4);
    EXPECT_EQ(heart.width, 40);
    EXPECT_EQ(heart.height, 40);
    EXPECT_EQ(pixel(heart, 0, 0)[3], 0) << "the corner is background";
    EXPECT_EQ(pixel(heart, 20, 20)[3], 255) << "the middle is heart";
    EXPECT_GT(pixel(heart, 20, 20)[0], 150) << "and red";
}

TEST(TextureAssets, LogoIsRgbaWithinSixHundredByTwoHundredFifty) {
    const Loaded logo = load("assets/textures/hud/Vornhalt.png");
    ASSERT_EQ(logo.channels, 4);
    EXPECT_LE(logo.width, 600);
    EXPECT_LE(logo.height, 250);
    EXPECT_EQ(pixel(logo, 0, 0)[3], 0);
}

TEST(TextureAssets, SkyFacesAreSquareOfOneSizeWithThreeChannels) {
    const Loaded first = load(sky + "right.jpg");
    for (const char* face : {"right", "left", "top", "bottom", "front", "back"}) {
        const Loaded image = load(sky + face + ".jpg");
        EXPECT_EQ(image.channels, 3) << face;
        EXPECT_EQ(image.width, image.height) << face;
        EXPECT_EQ(image.width, first.width) << face;
    }
}

// Pairs of face edges that show the same directions by the cube-map convention: the last column
// of front (+Z) meets the first of right (+X), and so on round the horizon; the bottom row of
// top (+Y) meets the top row of front.
TEST(TextureAssets, SkyFacesMeetWithoutSeams) {
    struct Edge { const char* face; bool column; bool last; };
    const std::pair<Edge, Edge> seams[] = {
        {{"front", true, true}, {"right", true, false}}, {{"right", true, true}, {"back", true, false}},
        {{"back", true, true}, {"left", true, false}},   {{"left", true, true}, {"front", true, false}},
        {{"top", false, true}, {"front", false, false}},
    };
    for (const auto& [a, b] : seams) {
        const Loaded first = load(sky + a.face + ".jpg"), second = load(sky + b.face + ".jpg");
        const int n = first.width;
        long difference = 0;
        for (int i = 0; i < n; ++i) {
            auto at = [n, i](const Loaded& image, const Edge& edge) {
                const int fixed = edge.last ? n - 1 : 0;
                return edge.column ? pixel(image, fixed, i) : pixel(image, i, fixed);
            };
            for (int c = 0; c < 3; ++c) {
                difference += std::abs(at(first, a)[c] - at(second, b)[c]);
            }
        }
        EXPECT_LT(static_cast<double>(difference) / (n * 3), 4.0) << a.face << " to " << b.face;
    }
}
