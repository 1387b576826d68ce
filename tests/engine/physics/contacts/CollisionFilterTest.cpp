#include "engine/physics/contacts/CollisionFilter.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t hitbox = 1, player = 2, dynamicBody = 4, level = 8;

struct FilterCase {
    std::uint32_t word0;
    std::uint32_t word1;
    FilterFlag result;
    PairFlags flags;
};

// Rows in order: the level wins over everything, then player-hitbox is suppressed, then pairs
// without a hitbox are solved, and a hitbox with anything else only reports.
const FilterCase filterTable[] = {
    {level, dynamicBody, FilterFlag::Default, 0xC01},
    {hitbox, level, FilterFlag::Default, 0xC01}, // row 1 comes before row 4
    {level | hitbox, player, FilterFlag::Default, 0xC01},
    {level, level, FilterFlag::Default, 0xC01},
    {player, hitbox, FilterFlag::Suppress, 0},
    {hitbox, player, FilterFlag::Suppress, 0},
    {hitbox | dynamicBody, player, FilterFlag::Suppress, 0}, // the bits are tested, not equality
    {player, dynamicBody, FilterFlag::Default, 0xC01},
    {dynamicBody, dynamicBody, FilterFlag::Default, 0xC01},
    {player, player, FilterFlag::Default, 0xC01},
    {0, 0, FilterFlag::Default, 0xC01},
    {hitbox, dynamicBody, FilterFlag::Default, 0xC24},
    {dynamicBody, hitbox, FilterFlag::Default, 0xC24},
    {hitbox, hitbox, FilterFlag::Default, 0xC24},
    {hitbox, 0, FilterFlag::Default, 0xC24},
};

TEST(CollisionFilter, FollowsTheGroupTableRowByRow) {
    for (const FilterCase& row : filterTable) {
        PairFlags flags = 0xFFFF;
        const FilterFlag result = filterShader(FilterData{row.word0}, FilterData{row.word1}, flags);
        EXPECT_EQ(result, row.result) << row.word0 << " with " << row.word1;
        EXPECT_EQ(flags, row.flags) << row.word0 << " with " << row.word1;
    }
}

TEST(CollisionFilter, ReadsOnlyWordZero) {
    PairFlags flags = 0;
    EXPECT_EQ(filterShader(FilterData{player, level, level, level}, FilterData{hitbox, level, 0, level}, flags),
              FilterFlag::Suppress);
}

TEST(CollisionFilter, FlagValuesAreStable) {
    EXPECT_EQ(PairFlag::SolveContact | PairFlag::DetectDiscreteContact | PairFlag::DetectCcdContact, 0xC01u);
    EXPECT_EQ(PairFlag::DetectDiscreteContact | PairFlag::DetectCcdContact | PairFlag::NotifyTouchFound |
                  PairFlag::NotifyTouchCcd,
              0xC24u);
}
} // namespace
