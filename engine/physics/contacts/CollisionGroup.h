#pragma once

#include <cstdint>

// The four words a shape carries for filtering. Only word0 is read by the collision filter; it holds
// the shape's one CollisionGroup bit. The other words stay 0.
struct FilterData {
    std::uint32_t word0 = 0;
    std::uint32_t word1 = 0;
    std::uint32_t word2 = 0;
    std::uint32_t word3 = 0;

    bool operator==(const FilterData&) const = default;
};

// The bit of word0 that says what a shape is.
enum class CollisionGroup : std::uint32_t {
    Hitbox = 1,
    Player = 2,
    DynamicBody = 4,
    Level = 8,
};

constexpr std::uint32_t groupBit(CollisionGroup group) { return static_cast<std::uint32_t>(group); }

constexpr FilterData filterDataOf(CollisionGroup group) { return FilterData{groupBit(group), 0, 0, 0}; }

constexpr bool hasGroup(std::uint32_t word, CollisionGroup group) { return (word & groupBit(group)) != 0; }
