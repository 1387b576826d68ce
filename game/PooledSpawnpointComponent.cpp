#include "game/PooledSpawnpointComponent.h"

#include "engine/Logging.h"
#include "engine/physics/DynamicRigidBodyComponent.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/character/CapsuleController.h"
#include "engine/scene/GameObject.h"
#include "game/PlayerComponent.h"
#include "game/SpawnPointPool.h"
#include "graphics/render/CameraComponent.h"

#include <algorithm>
#include <cmath>

namespace {
template <typename T>
std::shared_ptr<T> find(GameObject& owner) {
    const auto found = owner.getComponent<T>();
    return found ? found->lock() : nullptr;
}
} // namespace

PooledSpawnpointComponent::PooledSpawnpointComponent(GameObject* owner,
                                                     std::shared_ptr<SpawnPointPool> pool,
                                                     const bool& respawnPending)
    : Component(owner, "PooledSpawnpointComponent"), respawnPending(respawnPending),
      pool(std::move(pool)) {}

void PooledSpawnpointComponent::onUpdate() {
    if (!respawnPending) {
        return;
    }
    respawnPending = false;
    const bool placeable = find<CameraComponent>(*owner) || find<DynamicRigidBodyComponent>(*owner) ||
                           find<PlayerComponent>(*owner);
    if (!placeable) {
        return; // nothing to place: the pool keeps its order
    }
    const std::optional<SpawnPoint> point = pool ? pool->next() : std::nullopt;
    if (!point) {
        getGeneralLogger()->error("No spawn point to respawn {} at", owner->name);
        return;
    }
    respawnAt(*point);
}

void PooledSpawnpointComponent::respawnAt(const SpawnPoint& point) {
    if (const auto camera = find<CameraComponent>(*owner)) {
        Camera& view = camera->camera;
        view.yaw = headingOf(point.rotation.w);
        view.pitch = 0.0f;
        view.orientationValid = false;
        view.viewValid = false;
        view.viewProjectionValid = false;
    }
    if (const auto body = find<DynamicRigidBodyComponent>(*owner)) {
        owner->rotation = point.rotation;
        owner->position = point.position;
        if (body->actor != nullptr) {
            body->actor->setGlobalPose(Pose(point.rotation, point.position), true);
        }
        return;
    }
    if (const auto player = find<PlayerComponent>(*owner)) {
        owner->rotation = point.rotation;
        owner->position = point.position;
        if (player->controller != nullptr) {
            player->controller->setFootPosition(glm::dvec3(owner->position));
        }
        if (const auto camera = player->camera.lock()) {
            camera->updatePosition();
        }
        player->alignToCamera();
    }
}

float headingOf(float w) {
    constexpr float degreesPerRadian = 57.29578f;
    return std::fmod(2.0f * std::acos(std::clamp(w, -1.0f, 1.0f)) * degreesPerRadian, 360.0f);
}
