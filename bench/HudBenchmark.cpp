// The head-up display per frame at the game's window size (1920 × 1080): one player's canvas
// (the "Player 1" label and five hearts, two of them lost) and the start canvas (logo and
// prompt), each alone and both in one frame, with the heap allocations of the steady state.
#include "bench/AllocationCounter.h"
#include "bench/GlBenchmark.h"
#include "graphics/gl/Texture.h"
#include "graphics/ui/Font.h"
#include "graphics/ui/TextBlock.h"
#include "graphics/ui/UiCanvas.h"
#include "graphics/ui/UiImage.h"

#include <GL/glew.h>
#include <array>
#include <benchmark/benchmark.h>
#include <vector>

namespace {
constexpr int windowWidth = 1920;
constexpr int windowHeight = 1080;
constexpr int heartCount = 5;
constexpr int lives = 3;

// A texture of plain colour, standing in for the heart and logo images.
void fill(const Texture& texture, int width, int height, std::array<unsigned char, 4> texel) {
    std::vector<unsigned char> texels;
    for (int i = 0; i < width * height; ++i) {
        texels.insert(texels.end(), texel.begin(), texel.end());
    }
    texture.bind();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
}

// The canvases as the game's set-up builds them.
struct Hud {
    Hud() {
        fill(heartTexture, 32, 32, {220, 30, 60, 255});
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        fill(logoTexture, logoSize.x, logoSize.y, {240, 200, 80, 255});
        logoTexture.generateMipmaps();

        playerCanvas.resize({0, 0, windowWidth, windowHeight / 2});
        TextBlock& label = *playerCanvas.addTextBlock(font);
        label.setText("Player 1");
        label.setFontSize(24);
        label.setOffset({20, 20});
        for (int k = 0; k < heartCount; ++k) {
            UiImage& heart = *playerCanvas.addImage();
            heart.setOffset({-50 - 50 * k, 10});
            heart.setAnchor({1.0f, 0.0f});
            heart.setAbsoluteSize({40, 40});
            heart.setTexture(&heartTexture);
            hearts[static_cast<std::size_t>(k)] = &heart;
        }

        startCanvas.resize({0, 0, windowWidth, windowHeight});
        UiImage& logo = *startCanvas.addImage();
        logo.setOffset({-(logoSize.x / 2), -(logoSize.y / 2)});
        logo.setAnchor({0.5f, 0.6f});
        logo.setAbsoluteSize(logoSize);
        logo.setTexture(&logoTexture);
        TextBlock& prompt = *startCanvas.addTextBlock(font);
        prompt.setText("Press ENTER to start");
        prompt.setFontSize(24);
        prompt.setHorizontalAlignment(TextBlock::HorizontalAlignment::Center);
        prompt.setAnchor({0.5f, 0.15f});
    }

    // What the game loop does for a player after the composite: the hearts' colours, the canvas.
    void drawPlayer() {
        for (int k = 1; k <= heartCount; ++k) {
            const float alpha = k <= lives ? 1.0f : 0.0f;
            hearts[static_cast<std::size_t>(k - 1)]->setColor(glm::vec4(alpha));
        }
        playerCanvas.draw();
    }

    static constexpr glm::ivec2 logoSize{600, 300};
    std::shared_ptr<Font> font = openFont();
    Texture heartTexture{GL_TEXTURE_2D};
    Texture logoTexture{GL_TEXTURE_2D};
    UiCanvas playerCanvas;
    UiCanvas startCanvas;
    std::array<UiImage*, heartCount> hearts{};
};

Hud* hud = nullptr;

void playerFrame() { hud->drawPlayer(); }
void startFrame() { hud->startCanvas.draw(); }
void bothFrame() {
    playerFrame();
    startFrame();
}

void runFrames(benchmark::State& state, void (*frame)()) {
    frame(); // the first draw renders the glyphs and lays the text out
    glFinish();
    for (auto _ : state) {
        frame();
        glFinish(); // the driver renders on its own threads: wait for the frame to be done
    }
    state.counters["allocations_per_frame"] = allocationsPerCall(100, frame);
    glFinish();
}

} // namespace

int main(int argc, char** argv) {
    GLFWwindow* window = startGlBenchmark(windowWidth, windowHeight);
    benchmark::Initialize(&argc, argv);
    const std::pair<const char*, void (*)()> frames[] = {{"PlayerHud", playerFrame},
                                                         {"StartCanvas", startFrame},
                                                         {"PlayerHudAndStartCanvas", bothFrame}};
    for (const auto& [name, frame] : frames) {
        benchmark::RegisterBenchmark(name, runFrames, frame)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
    }
    {
        Hud built;
        hud = &built;
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    endGlBenchmark(window);
    return 0;
}
