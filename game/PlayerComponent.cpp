#include "game/PlayerComponent.h"

#include "engine/Engine.h"
#include "engine/Logging.h"
#include "engine/input/InputManager.h"
#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/scene/TimeToLiveComponent.h"
#include "graphics/render/CameraComponent.h"
#include "graphics/render/ModelComponent.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <numbers>
#include <vector>

namespace {
// Degrees of camera turn per mouse count. Yaw is negative so that moving right turns right.
constexpr float pitchPerCount = 0.075f;
constexpr float yawPerCount = -0.1f;
// Short of straight up or down, where the camera's right vector is undefined.
constexpr float pitchLimit = 89.999f;

// Metres per second added per fixed step (no time factor: it is tuned to the 60 Hz step).
constexpr float groundAcceleration = 3.0f;
constexpr float airAcceleration = 0.25f;
// Horizontal speed kept per step: the ground stops a player within a few steps, the air hardly.
constexpr float groundDamping = 0.8f;
constexpr float airDamping = 0.99f;
constexpr float jumpSpeed = 7.0f;
constexpr float gravityScale = 2.0f; // the players fall faster than frisbees
constexpr float minMoveDistance = 0.001f;

constexpr float frisbeeSpeed = 40.0f;
constexpr float frisbeeDensity = 1.0f;
constexpr float frisbeeSeconds = 15.0f;
// The disc as two boxes, one turned 45 degrees about its axis: an octagon that rolls and bounces
// nearly like the round thing it is drawn as.
constexpr glm::vec3 frisbeeHalfExtents{0.298264f, 0.0522395f, 0.298264f};
const Geometry frisbeeBox = Geometry::box(frisbeeHalfExtents);
const float eighthTurn = std::numbers::pi_v<float> / 8.0f; // half of the 45 degrees
const std::vector<LocalShape> frisbeeShapes = {
    {frisbeeBox, Pose()},
    {frisbeeBox, Pose(glm::quat(std::cos(eighthTurn), 0.0f, std::sin(eighthTurn), 0.0f), glm::vec3(0.0f))}};
} // namespace

PlayerComponent::PlayerComponent(GameObject* owner, std::uint64_t playerIndex,
                                 float capsuleRadius, float capsuleHeight,
                                 const glm::vec3& modelOffset)
    : Component(owner, "PlayerComponent"), capsuleRadius(capsuleRadius),
      capsuleHeight(capsuleHeight), modelOffset(modelOffset), playerIndex(playerIndex),
      controls(playerIndex < gEngine->controls.size() ? &gEngine->controls[playerIndex] : nullptr) {}

PlayerComponent::~PlayerComponent() = default;

void PlayerComponent::onDestroy() {
    gEngine->physics.releaseController(controller);
    controller = nullptr;
}

void PlayerComponent::onStart() {
    inputManager = gEngine->window->inputManager;
    velocity = glm::vec3(0.0f);
    airborne = true;
    throwCooldownSeconds = 2;
    // The first throw needs no wait.
    stepsSinceThrow = throwCooldownSeconds * gEngine->fixedUpdateRate;
    if (const auto found = owner->getComponentInChildren<ModelComponent>()) {
        model = *found;
    } else {
        getGeneralLogger()->error("Could not find model component of player {}.", playerIndex);
        setActive(false);
    }
    if (const auto found = owner->getComponentInChildren<CameraComponent>()) {
        camera = *found;
    } else {
        getGeneralLogger()->error("Could not find camera component of player {}.", playerIndex);
        setActive(false);
    }
    if (controls == nullptr) {
        getGeneralLogger()->error("There are no controls for player {}.", playerIndex);
        setActive(false);
    }
    controller = gEngine->physics.createCapsuleController(capsuleRadius, capsuleHeight);
    if (controller != nullptr) {
        controller->setFootPosition(glm::dvec3(owner->position));
    }
}

bool PlayerComponent::isReady() const {
    return !model.expired() && !camera.expired() && controller != nullptr && controls != nullptr;
}

void PlayerComponent::onUpdate() {
    if (!isReady()) {
        return;
    }
    glm::ivec2 movement(0);
    RawMouseHandler& mice = *inputManager->rawMouseHandler;
    if (!mice.isInvalidMouseIndex(controls->mouse)) {
        movement = mice.mice[controls->mouse]->takeMovement();
    }
    if (movement == glm::ivec2(0)) {
        return; // the angles stay, and so do the cached matrices
    }
    const std::shared_ptr<CameraComponent> eye = camera.lock();
    Camera& view = eye->camera;
    view.pitch = std::clamp(view.pitch + static_cast<float>(movement.y) * pitchPerCount, -pitchLimit,
                            pitchLimit);
    // fmod keeps the sign of the yaw: it stays within (-360, 360).
    view.yaw = std::fmod(view.yaw + static_cast<float>(movement.x) * yawPerCount, 360.0f);
    view.orientationValid = false;
    view.viewValid = false;
    view.viewProjectionValid = false;
    eye->updatePosition();
}

void PlayerComponent::onFixedUpdate() {
    if (!isReady()) {
        return;
    }
    ++stepsSinceThrow;
    const float acceleration = airborne ? airAcceleration : groundAcceleration;
    float forward = 0.0f;
    float sideways = 0.0f;
    if (inputManager->isKeyPressed(controls->forwardKey)) {
        forward = -1.0f; // the view looks along -front
    }
    if (inputManager->isKeyPressed(controls->backKey)) {
        forward += 1.0f;
    }
    if (inputManager->isKeyPressed(controls->rightKey)) {
        sideways = 1.0f;
    }
    if (inputManager->isKeyPressed(controls->leftKey)) {
        sideways -= 1.0f;
    }
    if (isThrowHeld() && stepsSinceThrow >= throwCooldownSeconds * gEngine->fixedUpdateRate) {
        throwFrisbee();
    }

    Camera& view = camera.lock()->camera;
    view.updateVectors();
    glm::vec3 direction = sideways * view.right + forward * view.front;
    direction.y = 0.0f;
    if (glm::length(direction) > 0.0f) {
        direction = glm::normalize(direction); // diagonals are no faster
    }
    velocity += direction * acceleration;

    if (inputManager->isKeyPressed(controls->jumpKey) && !controller->getState().isMovingUp &&
        !airborne) {
        velocity.y = jumpSpeed;
        airborne = true;
    }
    const float dt = gEngine->fixedDeltaTime;
    velocity += gravityScale * gEngine->physics.getGravity() * dt;
    const ControllerCollisionFlags flags = controller->move(velocity * dt, minMoveDistance, dt);
    const float damping = airborne ? airDamping : groundDamping;
    velocity.x *= damping;
    velocity.z *= damping;
    if ((flags & ControllerCollisionFlag::CollisionDown) != 0) {
        airborne = false;
        velocity.y = 0.0f;
    }
    if (const auto drawn = model.lock()) {
        drawn->getOwner()->position = glm::vec3(controller->getPosition()) - modelOffset;
    }
    alignToCamera();
}

// An index without a button entry, or one whose mouse has gone, counts as released: a player
// whose mouse is missing must not throw on a stale flag.
bool PlayerComponent::isThrowHeld() const {
    const std::uint64_t mouse = controls->mouse;
    const auto& released = inputManager->buttonReleased;
    return mouse < released.size() && mouse < inputManager->rawMouseHandler->mice.size() &&
           !released[mouse][indexOf(MouseButton::Left)];
}

void PlayerComponent::alignToCamera() {
    const std::shared_ptr<CameraComponent> eye = camera.lock();
    if (!eye) {
        return;
    }
    eye->camera.updateVectors();
    const glm::vec3& front = eye->camera.front;
    // Half the angle of the turn: yaw in radians, plus a quarter turn for the model, whose nose
    // points along +x.
    const float half = (std::atan2(front.x, front.z) + std::numbers::pi_v<float> / 2.0f) * 0.5f;
    owner->rotation = glm::quat(std::cos(half), 0.0f, std::sin(half), 0.0f);
}

void PlayerComponent::throwFrisbee() {
    const std::shared_ptr<CameraComponent> eye = camera.lock();
    if (!eye) {
        return;
    }
    // The eye where the player is now: in a catch-up the last frame's eye may lie well behind.
    eye->updatePosition();
    eye->camera.updateVectors();
    glm::vec3 direction = -eye->camera.front;
    if (glm::length(direction) > 0.0f) {
        direction = glm::normalize(direction);
    }

    const std::shared_ptr<GameObject> frisbee = gEngine->root->addChild("Frisbee").lock();
    frisbee->position = startOfThrow(eye->camera.position + direction);
    frisbee->creatorId = owner->id; // its thrower is never hit by it
    if (gEngine->frisbeeModel) {
        frisbee->addComponent<ModelComponent>(gEngine->frisbeeModel.get());
    }
    const std::shared_ptr<DynamicRigidBodyComponent> body =
        frisbee->addComponent<DynamicRigidBodyComponent>(frisbeeDensity, direction * frisbeeSpeed, true)
            .lock();
    frisbee->addComponent<TimeToLiveComponent>(frisbeeSeconds);
    for (const LocalShape& shape : frisbeeShapes) {
        body->addShape(shape.geometry, shape.localPose);
    }
    // Made short of a wall within a metre or so, the disc starts inside the thrower's capsule. Left
    // to collide with it, the disc is shot back out of it at 0.6 of the throw's speed, twice what the
    // wall returns; passing by, it meets the wall, comes back through the thrower and flies on.
    if (controller != nullptr) {
        body->passBy(controller->getActor()->getId());
    }
    stepsSinceThrow = 0;
}

// The disc is carried from the capsule's centre, which is outside the level's solids, to where the
// throw starts: a wall or the other player's hitbox closer than that is met on the way, and the disc
// starts on this side of it. Made at the throw's start it would be inside the wall, or beyond it and
// out of the field or behind cover, or past the other player. The thrower's own hitbox, round the
// path's start, is passed through.
glm::vec3 PlayerComponent::startOfThrow(const glm::vec3& start) const {
    if (controller == nullptr) {
        return start;
    }
    return gEngine->physics.clearPlaceAlong(frisbeeShapes, glm::vec3(controller->getPosition()), start, owner);
}
