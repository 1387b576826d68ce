#pragma once

#include "engine/input/InputManager.h"
#include "engine/physics/HitboxComponent.h"
#include "engine/window/View.h"
#include "game/MatchRules.h"
#include "graphics/gl/FrameBuffer.h"
#include "graphics/gl/Image.h"
#include "graphics/gl/Texture.h"
#include "graphics/model/Model.h"
#include "graphics/render/Skybox.h"
#include "graphics/shaders/Lights.h"
#include "graphics/ui/UiCanvas.h"

#include <array>
#include <glm/mat4x4.hpp>
#include <memory>
#include <optional>

class CameraComponent;
class Engine;
class Font;
class GameObject;
class SpawnPointPool;
class UiImage;

// Everything the game loop builds before its first pass and owns until it returns. Built in the
// order of the members, so that they are released in the reverse order; the scene itself (players,
// arena, frisbees) belongs to the Engine's root and outlives this. The start screen is drawn and
// presented as soon as it exists, before the models, the sky and the arena are loaded.
struct GameScene {
    static constexpr std::size_t heartsPerPlayer = 5;

    // match is read and written by the listeners: it must outlive the scene.
    GameScene(Engine& engine, MatchState& match);
    GameScene(const GameScene&) = delete;
    GameScene& operator=(const GameScene&) = delete;

    std::shared_ptr<InputManager> inputManager;
    std::shared_ptr<Window::KeyCallbacks::Function> keySubscription;
    std::shared_ptr<InputManager::ButtonCallbacks::Function> buttonSubscription;
    std::array<std::unique_ptr<View>, 2> views; // player 1's lower half, player 2's upper half
    FrameBuffer windowFramebuffer{0};
    std::shared_ptr<Font> font;
    UiCanvas startCanvas;
    Image logoImage;
    std::optional<Texture> logoTexture;
    std::array<UiCanvas, 2> playerHudCanvases;
    std::optional<Texture> heartTexture;
    // Per player, owned by that player's canvas; index 0 is the rightmost heart.
    std::array<std::array<UiImage*, heartsPerPlayer>, 2> heartImages{};
    UiCanvas winCanvas;
    UiCanvas loseCanvas;
    std::array<DirectionalLight, 3> lights;
    glm::vec3 shadowLightDirection{0.0f};
    glm::mat4 shadowLightSpace{1.0f};
    std::optional<Skybox> skybox;
    std::array<std::weak_ptr<CameraComponent>, 2> cameraComponents;
    std::optional<Model> playerOneModel;
    std::optional<Model> playerTwoModel;
    std::shared_ptr<SpawnPointPool> spawnPool;
    std::array<std::weak_ptr<GameObject>, 2> players;
    PlayerRefs playerComponents;
    std::array<std::shared_ptr<HitboxComponent::Callbacks::Function>, 2> hitSubscriptions;
    std::optional<Model> arenaModel;
    std::weak_ptr<GameObject> arena;

private:
    void subscribeListeners(Engine& engine, MatchState& match);
    void showStartScreen(Engine& engine);
    void buildPlayerHuds();
    void buildResultCanvases();
    void setLights();
    void loadDogs();
    void fillSpawnPool();
    void createPlayers(Engine& engine);
    void createArena(Engine& engine);
    void loadFrisbee(Engine& engine);
    void placeShadowLight();
};
