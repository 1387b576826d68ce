#include "game/SceneSetup.h"

#include "engine/Engine.h"
#include "engine/Logging.h"
#include "engine/window/RelativeViewportView.h"
#include "game/PlayerComponent.h"
#include "game/PooledSpawnpointComponent.h"
#include "game/SceneLook.h"
#include "game/SpawnPointPool.h"
#include "graphics/model/StaticRigidBodyComponent.h"
#include "graphics/render/CameraComponent.h"
#include "graphics/render/ModelComponent.h"
#include "graphics/shaders/Shaders.h"
#include "graphics/ui/Font.h"
#include "graphics/ui/TextBlock.h"
#include "graphics/ui/UiImage.h"

#include <glm/gtc/matrix_transform.hpp>
#include <numbers>
#include <string>

namespace {
constexpr glm::vec3 white{1.0f, 1.0f, 1.0f};

// The players' capsules (metres): radius, cylinder length, and how far below the capsule's centre
// the dog's origin sits, which puts its paws on the ground.
constexpr float capsuleRadius = 0.39f;
constexpr float capsuleHeight = 1.18f;
constexpr glm::vec3 modelOffset{0.0f, 0.45f, 0.0f};
// The eye, in the dog's frame: above the head and ahead of the nose, so the dog never fills the
// view.
constexpr glm::vec3 eyeOffset{1.3f, 1.0f, 0.0f};

// Shared by both players' hitboxes, which keep references to them for their whole life: the
// scene outlives the game loop, so these live for the process.
const Geometry hitboxGeometry = Geometry::box(glm::vec3(1.0f, 1.0f, 0.5f));
const Pose hitboxPose;

// A rotation of `degrees` about +Y.
glm::quat aboutY(float degrees) {
    const float half = glm::radians(degrees) / 2.0f;
    return glm::quat(std::cos(half), 0.0f, std::sin(half), 0.0f);
}

void setText(TextBlock& block, const std::string& text, unsigned size,
             TextBlock::HorizontalAlignment horizontal, TextBlock::VerticalAlignment vertical,
             const glm::vec2& anchor, const glm::ivec2& offset) {
    block.setText(text);
    block.setColor(white);
    block.setFontSize(size);
    block.setHorizontalAlignment(horizontal);
    block.setVerticalAlignment(vertical);
    block.setAnchor(anchor);
    block.setOffset(offset);
}

void addResultTexts(UiCanvas& canvas, const std::shared_ptr<Font>& font, const std::string& headline) {
    // The headline stands on the view's centre line; the hint hangs from 25 pixels below it.
    setText(*canvas.addTextBlock(font), headline, 50, TextBlock::HorizontalAlignment::Center,
            TextBlock::VerticalAlignment::Bottom, {0.5f, 0.5f}, {0, 0});
    setText(*canvas.addTextBlock(font), "Press ENTER to restart", 18,
            TextBlock::HorizontalAlignment::Center, TextBlock::VerticalAlignment::Top, {0.5f, 0.5f},
            {0, -25});
}
} // namespace

GameScene::GameScene(Engine& engine, MatchState& match) : inputManager(engine.window->inputManager) {
    subscribeListeners(engine, match);
    views[0] = std::make_unique<RelativeViewportView>(0.0f, 0.0f, 1.0f, 0.5f, *engine.window);
    views[1] = std::make_unique<RelativeViewportView>(0.0f, 0.5f, 1.0f, 0.5f, *engine.window);
    getShaders();
    font = openFont(defaultFontPath);
    showStartScreen(engine);
    buildPlayerHuds();
    buildResultCanvases();
    setLights();
    skybox.emplace();
    loadDogs();
    fillSpawnPool();
    createPlayers(engine);
    createArena(engine);
    loadFrisbee(engine);
    placeShadowLight();
    windowFramebuffer.bind(GL_FRAMEBUFFER);
    engine.setFixedUpdateRate();
    engine.window->disableCursor();
}

void GameScene::subscribeListeners(Engine& engine, MatchState& match) {
    InputManager& input = *inputManager;
    keySubscription = input.keyCallbacks->subscribe(
        [&match, &input, &engine](int key, int scancode, int action, int mods) {
            onMatchKey(match, input, engine, key, scancode, action, mods);
        });
    buttonSubscription = input.mouseButtonCallbacks.subscribe(
        [&match, &input](std::uint64_t mouse, MouseButton button, bool released) {
            onMouseAssignButton(match, input, mouse, button, released);
        });
}

void GameScene::showStartScreen(Engine& engine) {
    const glm::ivec2 size = engine.window->getSize();
    startCanvas.resize(glm::uvec4(0, 0, static_cast<unsigned>(size.x), static_cast<unsigned>(size.y)));

    logoImage = loadImage("assets/textures/hud/Vornhalt.png", true);
    logoTexture.emplace(GL_TEXTURE_2D);
    logoTexture->setImage(logoImage);
    logoTexture->generateMipmaps();
    UiImage& logo = *startCanvas.addImage();
    // Centred horizontally, its centre at 60 % of the height; halves rounded toward zero.
    logo.setOffset({-(logoImage.width / 2), -(logoImage.height / 2)});
    logo.setAnchor({0.5f, 0.6f});
    logo.setAbsoluteSize({logoImage.width, logoImage.height});
    logo.setRelativeSize({0.0f, 0.0f});
    logo.setTexture(&*logoTexture);

    setText(*startCanvas.addTextBlock(font), "Press ENTER to start", 24,
            TextBlock::HorizontalAlignment::Center, TextBlock::VerticalAlignment::Baseline,
            {0.5f, 0.15f}, {0, 0});

    // Presented now, so that it stays up while the rest loads (the loop swaps nothing while it
    // waits for ENTER).
    windowFramebuffer.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    startCanvas.draw();
    engine.window->swapBuffers();
}

void GameScene::buildPlayerHuds() {
    heartTexture.emplace(GL_TEXTURE_2D);
    {
        const Image heart = loadImage("assets/textures/hud/heart.png", true);
        heartTexture->setImage(heart);
    } // the decoded pixels are freed at once
    // Pixel art: no smoothing between its texels.
    heartTexture->setFilters(GL_NEAREST, GL_NEAREST);

    for (std::size_t i = 0; i < playerHudCanvases.size(); ++i) {
        UiCanvas& canvas = playerHudCanvases[i];
        canvas.resize(views[i]->getViewport());
        setText(*canvas.addTextBlock(font), "Player " + std::to_string(i + 1), 24,
                TextBlock::HorizontalAlignment::Left, TextBlock::VerticalAlignment::Baseline,
                {0.0f, 0.0f}, {20, 20});
        // A row along the bottom right, 40 pixels each, 50 apart, heart 0 the rightmost.
        for (int k = 0; k < static_cast<int>(heartsPerPlayer); ++k) {
            UiImage& heart = *canvas.addImage();
            heart.setOffset({-50 - 50 * k, 10});
            heart.setAnchor({1.0f, 0.0f});
            heart.setAbsoluteSize({40, 40});
            heart.setRelativeSize({0.0f, 0.0f});
            heart.setTexture(&*heartTexture);
            heartImages[i][static_cast<std::size_t>(k)] = &heart;
        }
    }
}

void GameScene::buildResultCanvases() {
    // Laid out over the players' views at a game over.
    addResultTexts(winCanvas, font, "YOU WIN!");
    addResultTexts(loseCanvas, font, "YOU LOSE!");
}

void GameScene::setLights() {
    lights = sceneLights;
    std::array<DirectionalLight, maxLights> all{}; // the rest zero: no light
    std::copy(lights.begin(), lights.end(), all.begin());
    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    pbr.directionalLights.set(all);
}

void GameScene::loadDogs() {
    playerOneModel.emplace(dogModelPath);
    setMaterials(*playerOneModel, dogMaterials);
    playerTwoModel.emplace(*playerOneModel); // shares the meshes
    Material blue = dogMaterials[2].material;
    blue.albedo = playerOneFur;
    playerOneModel->setMaterial(2, blue);
}

void GameScene::fillSpawnPool() {
    // On the two raised bases at the ends of the lane, facing each other: yaw 270 looks along +x,
    // yaw 90 along -x.
    spawnPool = std::make_shared<SpawnPointPool>();
    spawnPool->add({aboutY(270.0f), {-35.0f, 2.6f, 1.1f}});
    spawnPool->add({aboutY(90.0f), {45.0f, 2.6f, 1.1f}});
}

void GameScene::createPlayers(Engine& engine) {
    const std::array<Model*, 2> models = {&*playerOneModel, &*playerTwoModel};
    for (std::size_t i = 0; i < players.size(); ++i) {
        // Outside any walk, so the root takes it at once.
        const std::shared_ptr<GameObject> player =
            engine.root->addChild("Player " + std::to_string(i + 1)).lock();
        players[i] = player;
        player->addComponent<ModelComponent>(models[i]);
        playerComponents[i] = player->addComponent<PlayerComponent>(std::uint64_t{i}, capsuleRadius,
                                                                     capsuleHeight, modelOffset);
        const Camera camera(0.0f, 0.0f, 60.0f, 0.0f, 0.01f, 100.0f); // aspect from the view
        cameraComponents[i] =
            player->addComponent<CameraComponent>(views[i].get(), camera, eyeOffset);
        const std::shared_ptr<HitboxComponent> hitbox =
            player->addComponent<HitboxComponent>(hitboxGeometry, hitboxPose).lock();
        hitSubscriptions[i] = hitbox->callbacks.subscribe(onFrisbeeHit);
        // Pending from the start: the first update walk puts both players on their points.
        player->addComponent<PooledSpawnpointComponent>(spawnPool, true);
    }
}

void GameScene::createArena(Engine& engine) {
    const std::shared_ptr<GameObject> map = engine.root->addChild("Map").lock();
    arena = map;
    arenaModel.emplace(arenaModelPath);
    setMaterials(*arenaModel, arenaMaterials);
    map->addComponent<ModelComponent>(&*arenaModel);
    // Cooked from the model at the first walk.
    map->addComponent<StaticRigidBodyComponent>();
}

void GameScene::loadFrisbee(Engine& engine) {
    engine.frisbeeModel = std::make_unique<Model>(frisbeeModelPath);
    setMaterials(*engine.frisbeeModel, frisbeeMaterials);
}

void GameScene::placeShadowLight() {
    // An orthographic view 50 m back from the arena's centre along the sun, 120 m square: it
    // covers the whole field, so every shadow falls inside the map.
    shadowLightDirection = lights[0].direction;
    const glm::vec3 position = -glm::normalize(shadowLightDirection) * 50.0f;
    const glm::mat4 view = glm::lookAt(position, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 projection = glm::ortho(-60.0f, 60.0f, -60.0f, 60.0f, 1.0f, 200.0f);
    shadowLightSpace = projection * view;
}
