#pragma once

#include "engine/Config.h"
#include "engine/NonCopyable.h"
#include "engine/PlayerControls.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/GameObject.h"
#include "engine/window/GLLibraries.h"
#include "engine/window/Window.h"

#include <array>
#include <memory>

class Model;
class RenderContext;

// The application core: owns the window, the scene, the physics world, the renderer, the players'
// controls and the frisbee model, and fixes the length of the fixed step. Components reach it
// through gEngine. Members are destroyed in reverse order: the frisbee model and the renderer
// while the GL context lives, the scene before the window and its input manager, GLFW terminated
// before the physics world goes.
class Engine : public NonCopyable {
public:
    // Opens the window and builds the renderer and the physics world; ends the process when any
    // of them cannot be made.
    explicit Engine(Config settings);
    ~Engine();

    // 60 fixed steps a second.
    void setFixedUpdateRate();

    int fixedUpdateRate = 0;
    // Seconds per fixed step, as the float nearest 1/60.
    float fixedDeltaTime = 0.0f;
    Config config;
    PhysicsWorld physics;
    GLLibraries glLibraries;
    std::unique_ptr<Window> window;
    std::unique_ptr<GameObject> root;
    std::array<PlayerControls, 2> controls{};
    int exitKey = 0;
    int wireframeKey = 0;
    int cullFaceKey = 0;
    // Held by pointer so that the engine layer's headers need no graphics header; made right after
    // the root, as a plain member would be.
    std::unique_ptr<RenderContext> renderContext;
    std::unique_ptr<Model> frisbeeModel;
};

// The one Engine, set and reset by main only.
extern std::unique_ptr<Engine> gEngine;
