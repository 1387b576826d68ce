#include "game/GameLoop.h"

#include "engine/Config.h"
#include "engine/Engine.h"
#include "engine/Logging.h"
#include "game/PlayerComponent.h"
#include "graphics/render/CameraComponent.h"
#include "graphics/render/RenderContext.h"
#include "graphics/ui/UiImage.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <cstdint>
#include <limits>

namespace {
// A fixed threshold, the float nearest 1/60 s: it does not follow the fixed update rate.
constexpr double slowFrameSeconds = static_cast<double>(1.0f / 60.0f);

constexpr glm::vec4 heartShown{1.0f, 1.0f, 1.0f, 1.0f};
constexpr glm::vec4 heartLost{0.0f, 0.0f, 0.0f, 0.0f};
} // namespace

GameLoop::GameLoop(Engine& engine, const Config& config, LoopClock clock)
    : engine(engine), config(config), scene(engine, match), clock(std::move(clock)) {
    // The set-up's own time is not simulated.
    lastTime = this->clock();
    accumulator = 0.0;
}

void GameLoop::run() {
    while (!engine.window->shouldClose()) {
        pass();
    }
}

double GameLoop::frameLength() const {
    const std::uint32_t rate = static_cast<std::uint32_t>(config.refreshRate);
    return rate == 0 ? std::numeric_limits<double>::infinity() : 1.0 / static_cast<double>(rate);
}

void GameLoop::pass() {
    scene.inputManager->update();
    const double now = clock();
    frameTime = now - lastTime;
    lastTime = now;
    // Also while waiting: the first pass after ENTER catches up on the whole wait.
    accumulator += frameTime;
    if (match.waitingForEnter || frameLength() > accumulator) {
        return; // the last frame presented stays on screen
    }
    updateRoot(engine.root);
    runFixedSteps();
    render();
    showGameOver();
    engine.window->swapBuffers();
}

void GameLoop::runFixedSteps() {
    while (accumulator >= static_cast<double>(engine.fixedDeltaTime)) {
        scene.inputManager->update();
        engine.physics.step(engine.fixedDeltaTime);
        fixedUpdateRoot(engine.root);
        if (frameTime > slowFrameSeconds) {
            getGeneralLogger()->warn("Running slower than 60FPS! FrameTime: {} ms", frameTime * 1000.0);
            frameTime = 0.0; // once per pass
        }
        accumulator -= static_cast<double>(engine.fixedDeltaTime);
    }
}

void GameLoop::render() {
    scene.windowFramebuffer.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // One shadow map serves both players.
    engine.renderContext->renderShadowMap(*engine.root, scene.shadowLightSpace,
                                          scene.shadowLightDirection);
    for (std::size_t i = 0; i < scene.views.size(); ++i) {
        renderPlayer(i);
    }
}

void GameLoop::renderPlayer(std::size_t index) {
    const std::shared_ptr<CameraComponent> camera = scene.cameraComponents[index].lock();
    const std::shared_ptr<PlayerComponent> player = scene.playerComponents[index].lock();
    if (!camera || !player) {
        return;
    }
    RenderContext& renderContext = *engine.renderContext;
    camera->update();
    scene.skybox->setViewProjection(camera->camera);
    renderContext.renderScene(*engine.root);
    scene.skybox->draw();
    renderContext.resolveMultisample();
    renderContext.blurBloom();
    scene.windowFramebuffer.bind(GL_FRAMEBUFFER);
    scene.views[index]->apply();
    renderContext.composite();
    // Lost hearts are drawn fully transparent, the leftmost first.
    for (std::size_t k = 0; k < GameScene::heartsPerPlayer; ++k) {
        const bool kept = static_cast<std::int32_t>(k + 1) <= player->lives;
        scene.heartImages[index][k]->setColor(kept ? heartShown : heartLost);
    }
    scene.playerHudCanvases[index].draw();
}

void GameLoop::showGameOver() {
    const std::optional<std::size_t> loser = findLoser(scene.playerComponents);
    if (!loser) {
        return;
    }
    const std::size_t winner = 1 - *loser;
    scene.loseCanvas.resize(scene.views[*loser]->getViewport());
    scene.loseCanvas.draw();
    scene.winCanvas.resize(scene.views[winner]->getViewport());
    scene.winCanvas.draw();
    resetMatch(match, scene.playerComponents);
}

void gameLoop(Engine& engine, const Config& config) {
    GameLoop loop(engine, config, glfwGetTime);
    loop.run();
}
