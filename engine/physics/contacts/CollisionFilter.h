#pragma once

#include "engine/physics/contacts/CollisionGroup.h"

#include <cstdint>

// What the world does with a pair of bodies whose bounding boxes overlap. The bit values are those
// the rest of the engine (and the debugger stream) knows them by; keep them stable.
using PairFlags = std::uint32_t;

struct PairFlag {
    static constexpr PairFlags SolveContact = 1u << 0;          // the solver pushes the two apart
    static constexpr PairFlags NotifyTouchFound = 1u << 2;      // reported in the step they start to touch
    static constexpr PairFlags NotifyTouchCcd = 1u << 5;        // reported when a sweep finds a touch
    static constexpr PairFlags DetectDiscreteContact = 1u << 10; // contact points at the end of a step
    static constexpr PairFlags DetectCcdContact = 1u << 11;     // contact found by sweeping fast bodies
};

enum class FilterFlag : std::uint32_t {
    Default = 0,   // the pair exists and pairFlags says what it does
    Suppress = 2,  // the pair never reaches the narrow phase
};

// The collision filter: a pure function of word0 of both shapes' simulation filter data, called for
// every new pair. The first matching row decides:
//  1. either is Level: solved, with continuous detection (the level stops everything, hitboxes too);
//  2. a Player with a Hitbox: suppressed (a player's own capsule never touches its hitbox);
//  3. no Hitbox at all: solved, with continuous detection;
//  4. a Hitbox with anything else: detected and reported, never solved (a hitbox never pushes).
FilterFlag filterShader(const FilterData& filterData0, const FilterData& filterData1, PairFlags& pairFlags);
