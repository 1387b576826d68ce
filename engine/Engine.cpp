#include "engine/Engine.h"

#include "engine/Logging.h"
#include "graphics/model/Model.h"
#include "graphics/render/RenderContext.h"
#include "graphics/render/RenderSettings.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

std::unique_ptr<Engine> gEngine;

namespace {
constexpr int fixedStepsPerSecond = 60;

PlayerControls playerOneControls() {
    return {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_D, GLFW_KEY_A, GLFW_KEY_SPACE, 0};
}

PlayerControls playerTwoControls() {
    return {GLFW_KEY_HOME, GLFW_KEY_END, GLFW_KEY_PAGE_DOWN, GLFW_KEY_DELETE, GLFW_KEY_KP_0, 1};
}
} // namespace

Engine::Engine(Config settings)
    : config(settings),
      window(glLibraries.createWindow(config.width, config.height, config.fullscreen)),
      root(std::make_unique<GameObject>("Root")),
      renderContext(std::make_unique<RenderContext>()) {
    // Each player's view is the full width and half the height of the window (an odd pixel row
    // is dropped), and the render targets are that size.
    checkTargetSizes(config);
    renderContext->initTargets(
        glm::uvec2(static_cast<unsigned>(config.width), static_cast<unsigned>(config.height / 2)),
        glm::ivec2(config.shadowMapWidth, config.shadowMapHeight), usableGamma(config.gamma));
    setFixedUpdateRate();
    controls = {playerOneControls(), playerTwoControls()};
    exitKey = GLFW_KEY_ESCAPE;
    wireframeKey = GLFW_KEY_F1;
    cullFaceKey = GLFW_KEY_F2;
    physics.init();
}

Engine::~Engine() = default;

void Engine::setFixedUpdateRate() {
    getGeneralLogger()->debug("Setting FIXED_UPDATE_RATE to {}", fixedStepsPerSecond);
    fixedUpdateRate = fixedStepsPerSecond;
    fixedDeltaTime = 1.0f / static_cast<float>(fixedStepsPerSecond);
}
