#pragma once

#include "engine/scene/Component.h"

#include <memory>

class SpawnPointPool;
struct SpawnPoint;

// Puts its owner at the next point of a shared pool in the first update after respawnPending is
// set: the camera turned to the point's heading, then the dynamic body or else the player's
// controller moved there. Player objects carry one each; the match rules set the flag.
class PooledSpawnpointComponent : public Component {
public:
    PooledSpawnpointComponent(GameObject* owner, std::shared_ptr<SpawnPointPool> pool,
                              const bool& respawnPending);

    void onUpdate() override;

    bool respawnPending;

private:
    void respawnAt(const SpawnPoint& point);

    std::shared_ptr<SpawnPointPool> pool;
};

// The camera yaw, in degrees within [0, 360), of a rotation about +Y: twice the angle whose cosine
// is the quaternion's w. The axis is not looked at.
float headingOf(float w);
