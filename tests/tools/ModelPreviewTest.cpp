// The preview renders each of the game's models where a person can see it, in its own colours,
// with the game's face culling on (a model wound the wrong way would show mostly holes).
#include "tools/preview/GameModels.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
using ColourTest = std::function<bool(int r, int g, int b)>;

double share(const std::vector<unsigned char>& pixels, const ColourTest& matches) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        count += matches(pixels[i], pixels[i + 1], pixels[i + 2]) ? 1 : 0;
    }
    return static_cast<double>(count) / static_cast<double>(pixels.size() / 4);
}

struct Case {
    const char* name;
    PreviewShot (GameModels::*shot)() const;
    ColourTest colour;
    double least; // share of the picture in that colour
};
} // namespace

TEST(ModelPreview, EachModelFillsItsPictureInItsOwnColours) {
    ModelPreview preview({320, 200});
    const GameModels models;
    const Case cases[] = {
        {"dog, orange fur", &GameModels::dogShot, [](int r, int g, int b) { return r > 120 && r > 1.6 * g && r > 2.5 * b; }, 0.03},
        {"frisbee, blue top", &GameModels::frisbeeShot, [](int r, int g, int b) { return b > 120 && b > 1.5 * r && b > 1.5 * g; }, 0.1},
        {"arena, green field", &GameModels::arenaShot, [](int r, int g, int b) { return g > 100 && g > 1.2 * r && g > 1.5 * b; }, 0.2},
    };
    for (const Case& c : cases) {
        const std::vector<unsigned char> pixels = preview.render((models.*c.shot)());
        ASSERT_EQ(pixels.size(), 320u * 200u * 4u);
        EXPECT_GE(share(pixels, c.colour), c.least) << c.name;
    }
}
