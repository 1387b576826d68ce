#pragma once

#include "engine/scene/Component.h"

#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>

class CameraComponent;
class CapsuleController;
class InputManager;
class ModelComponent;
struct PlayerControls;

// One player: looks with its own mouse every frame; every fixed step walks from its keys along
// the camera's horizontal directions, jumps, falls under doubled gravity, throws a frisbee while
// its left button is held (one per two seconds) and moves its capsule controller, with the
// model's owner placed at the capsule and turned to the camera's heading. Units: metres and
// seconds; velocity in metres per second.
class PlayerComponent : public Component {
public:
    // playerIndex selects the Engine's controls record; capsuleHeight is the cylinder's length
    // between the capsule's half-spheres; the model's owner sits modelOffset below the capsule's
    // centre.
    PlayerComponent(GameObject* owner, std::uint64_t playerIndex, float capsuleRadius,
                    float capsuleHeight, const glm::vec3& modelOffset);
    ~PlayerComponent() override;

    // Finds the model and camera in the owner's subtree (switching itself off without either)
    // and makes the controller with its foot at the owner's position.
    void onStart() override;
    // Mouse look.
    void onUpdate() override;
    // Throw, walk, jump, gravity, controller move.
    void onFixedUpdate() override;
    // A player destroyed by its parent takes its controller out of the world: left there, its
    // capsule would go on stopping discs and players where nobody is. The game's players live as
    // long as the world, which releases their controllers at its end.
    void onDestroy() override;

    // The owner turned about +Y to the camera's heading (yaw + 90 degrees); the position stays.
    void alignToCamera();
    // A frisbee one metre ahead of the eye along the view, flying at 40 m/s, its creator the
    // owner; short of that point when the level or the other player lies between it and the
    // capsule's centre. It passes through the thrower's capsule until the two are apart.
    void throwFrisbee();

    // Counted down by the match rules, with no lower bound.
    std::int32_t lives = 5;
    std::weak_ptr<ModelComponent> model;
    std::weak_ptr<CameraComponent> camera;
    // Owned by the physics world; released with the player's destruction or at the world's end.
    CapsuleController* controller = nullptr;
    float capsuleRadius;
    float capsuleHeight;
    glm::vec3 modelOffset;
    glm::vec3 velocity{0.0f};
    bool airborne = true; // until the controller first reports ground below
    std::int32_t throwCooldownSeconds = 2;
    std::int32_t stepsSinceThrow = 0;
    std::uint64_t playerIndex;
    std::shared_ptr<InputManager> inputManager;
    PlayerControls* controls;

private:
    bool isReady() const;
    bool isThrowHeld() const;
    // Where a disc thrown from start begins.
    glm::vec3 startOfThrow(const glm::vec3& start) const;
};
