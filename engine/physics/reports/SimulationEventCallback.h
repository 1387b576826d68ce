#pragma once

#include "engine/physics/contacts/CollisionFilter.h"
#include "engine/physics/contacts/CollisionGroup.h"

#include <cstdint>

class Component;

// One side of a reported pair: the touching shape's simulation filter data and user data, copied,
// so a report stays readable even if the callback releases the body.
struct ContactShape {
    FilterData filterData;
    Component* userData = nullptr;
};

// A pair of bodies whose filter asked for reports, in the step in which it started to touch.
// events holds PairFlag::NotifyTouchFound (touching at the end of the step), PairFlag::NotifyTouchCcd
// (a sweep of a fast body crossed the other during the step), or both.
struct ContactPair {
    ContactShape shapes[2];
    PairFlags events = 0;
};

// Receives the contact reports of each step, on the thread that called PhysicsWorld::step, after
// the simulation has finished. Called once per step that has reports, with all of them in the order
// they were found. The callback must not step the world; it may release bodies.
class SimulationEventCallback {
public:
    virtual ~SimulationEventCallback() = default;
    virtual void onContact(const ContactPair* pairs, std::uint32_t count) = 0;
};
