#include "engine/platform/FractionalAxis.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
// A high-resolution mouse moved slowly reports fractions of a count on every event; rounding
// each away would leave the camera still however long the player moves.
TEST(FractionalAxis, FractionsAddUpToWholeCounts) {
    FractionalAxis axis;
    EXPECT_EQ(axis.add(0.4), 0);
    EXPECT_EQ(axis.add(0.4), 0);
    EXPECT_EQ(axis.add(0.4), 1);
    EXPECT_EQ(axis.add(2.5), 2);
    EXPECT_EQ(axis.add(0.3), 1) << "0.2 + 0.5 + 0.3 carried";
}

TEST(FractionalAxis, BothDirectionsTruncateTowardZero) {
    FractionalAxis axis;
    EXPECT_EQ(axis.add(-0.75), 0);
    EXPECT_EQ(axis.add(-0.75), -1);
    EXPECT_EQ(axis.add(1.0), 0) << "-0.5 + 1.0 leaves 0.5, not a count";
    EXPECT_EQ(axis.add(0.5), 1);
}

TEST(FractionalAxis, BrokenValuesNeitherOverflowNorPoisonTheRemainder) {
    FractionalAxis axis;
    EXPECT_EQ(axis.add(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(axis.add(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(axis.add(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(axis.add(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(axis.add(3.0), 3);
}
} // namespace
