#pragma once

#include "engine/Engine.h"
#include "engine/input/InputManager.h"
#include "engine/window/AbsoluteViewportView.h"
#include "game/PlayerComponent.h"
#include "graphics/render/CameraComponent.h"
#include "graphics/render/ModelComponent.h"
#include "tests/engine/physics/TestLevels.h"

#include <glm/geometric.hpp>
#include <memory>

// The frisbees under the root, oldest first.
inline std::vector<std::shared_ptr<GameObject>> frisbees() {
    std::vector<std::shared_ptr<GameObject>> found;
    for (const auto& child : gEngine->root->children) {
        if (child && child->name == "Frisbee") {
            found.push_back(child);
        }
    }
    return found;
}

// The game's hitbox for a player, held by reference by the component for its whole life.
inline const Geometry playerHitboxGeometry = Geometry::box(glm::vec3(1.0f, 1.0f, 0.5f));
inline const Pose playerHitboxPose;

// A player built as the game builds one (model, player, camera; no hitbox), under the Engine's
// root, over a flat floor at y = 0 or over the level given (none: the test has its own). The walks
// are driven by hand: frame() is one update walk, step() one physics step and its fixed-update walk.
// The model component draws nothing here.
struct PlayerRig {
    explicit PlayerRig(std::uint64_t index = 0, const glm::vec3& foot = {0.0f, 0.0f, 0.0f},
                       const std::vector<LevelMesh>& level = {floorMesh(200.0f)})
        : floor(level.empty() ? nullptr : gEngine->physics.addRigidStatic(level)) {
        object = gEngine->root->addChild("Player " + std::to_string(index + 1)).lock();
        object->position = foot;
        object->addComponent<ModelComponent>(nullptr);
        player = object->addComponent<PlayerComponent>(index, 0.39f, 1.18f, glm::vec3(0.0f, 0.45f, 0.0f))
                     .lock();
        camera = object->addComponent<CameraComponent>(&view, Camera(0.0f, 0.0f, 60.0f, 0.0f, 0.01f, 100.0f),
                                                       glm::vec3(1.3f, 1.0f, 0.0f))
                     .lock();
    }

    // Leaves the world as it was: the player with its controller, its frisbees and its level go.
    ~PlayerRig() {
        gEngine->root->destroyChild(object.get());
        for (const std::shared_ptr<GameObject>& frisbee : frisbees()) {
            gEngine->root->destroyChild(frisbee.get());
        }
        if (floor != nullptr) {
            floor->release();
        }
    }

    void frame() { updateRoot(gEngine->root); }
    // Looks along +x (yaw 270) with the pitch given in degrees, positive up.
    void aimAlongX(float pitchUp) {
        camera->camera.yaw = 270.0f;
        camera->camera.pitch = -pitchUp;
        camera->camera.orientationValid = false;
        player->alignToCamera();
        camera->updatePosition();
    }
    void step() {
        gEngine->physics.step(gEngine->fixedDeltaTime);
        fixedUpdateRoot(gEngine->root);
    }
    // Steps until the controller has reported the floor below.
    bool land(int maxSteps = 300) {
        frame();
        for (int i = 0; i < maxSteps && player->airborne; ++i) {
            step();
        }
        return !player->airborne;
    }

    InputManager& input() { return *gEngine->window->inputManager; }
    MouseData& mouse() { return *input().rawMouseHandler->mice[player->controls->mouse]; }
    // Holds or releases the left button of the player's mouse as the input manager last saw it.
    void holdThrow(bool held) {
        auto& released = input().buttonReleased;
        if (released.size() <= player->controls->mouse) {
            released.resize(player->controls->mouse + 1, {true, true, true});
        }
        released[player->controls->mouse][indexOf(MouseButton::Left)] = !held;
    }
    glm::vec3 horizontalVelocity() const { return {player->velocity.x, 0.0f, player->velocity.z}; }
    // Where the other player sees the dog's nose point (the model's nose is along +x), and where
    // this player looks, flattened onto the ground.
    glm::vec3 facing() const { return object->rotation * glm::vec3(1.0f, 0.0f, 0.0f); }
    glm::vec3 lookHeading() const {
        Camera& view = camera->camera;
        view.updateVectors();
        return glm::normalize(glm::vec3(-view.front.x, 0.0f, -view.front.z));
    }

    RigidBody* floor;
    AbsoluteViewportView view{0, 0, 640, 180};
    std::shared_ptr<GameObject> object;
    std::shared_ptr<PlayerComponent> player;
    std::shared_ptr<CameraComponent> camera;
};

