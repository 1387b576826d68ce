// Renders the game's three models with the game's renderer into PNG files, for a person to look
// at: model_preview <output folder>, run in the run directory (it reads assets/). Needs an X
// display; under CI, xvfb-run provides one.
#include "engine/Logging.h"
#include "tools/support/OffscreenContext.h"
#include "tools/preview/GameModels.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <cstdio>
#include <filesystem>
#include <stb_image_write.h>

namespace {
const glm::uvec2 previewSize(800, 500);

bool writePng(const std::filesystem::path& path, std::vector<unsigned char> pixels) {
    for (std::size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 255; // the composite's alpha is not coverage
    }
    return stbi_write_png(path.c_str(), static_cast<int>(previewSize.x), static_cast<int>(previewSize.y), 4,
                          pixels.data(), static_cast<int>(previewSize.x) * 4) != 0;
}

bool renderAll(const std::filesystem::path& folder) {
    ModelPreview preview(previewSize);
    const GameModels models;
    std::filesystem::create_directories(folder);
    return writePng(folder / "dog.png", preview.render(models.dogShot())) &&
           writePng(folder / "arena.png", preview.render(models.arenaShot())) &&
           writePng(folder / "frisbee.png", preview.render(models.frisbeeShot()));
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    setupLogging();
    GLFWwindow* window =
        openOffscreenContext(static_cast<int>(previewSize.x), static_cast<int>(previewSize.y));
    if (window == nullptr) {
        std::fprintf(stderr, "no OpenGL 4.3 core context (is there an X display?)\n");
        return 1;
    }
    const bool written = renderAll(argv[1]);
    closeOffscreenContext(window);
    return written ? 0 : 1;
}
