#pragma once

#include "engine/physics/reports/SimulationEventCallback.h"

// The world's receiver of contact reports: each touch between a hitbox and a dynamic body queues
// the body's owner on the hitbox, once per step and object, for the fixed update that follows.
class PhysicsEventCallback : public SimulationEventCallback {
public:
    void onContact(const ContactPair* pairs, std::uint32_t count) override;
};
