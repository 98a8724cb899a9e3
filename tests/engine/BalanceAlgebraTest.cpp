#include "engine/BalanceAlgebra.h"

#include <gtest/gtest.h>

namespace {

TEST(BalanceAlgebraTest, RoundingTakesHalvesAwayFromZeroBeyondThirtyTwoBits)
{
    const struct { double value; double rounded; } cases[] = {
        {10.5, 11.0}, {-10.5, -11.0}, {0.0, 0.0}, {0.4999, 0.0}, {-0.4999, 0.0}, {0.5, 1.0}, {-0.5, -1.0},
        {2.5, 3.0}, {1234.4999, 1234.0}, {-1234.5001, -1235.0},
        {3000000000.5, 3000000001.0}, {-3000000000.5, -3000000001.0}, {922337203685477.0, 922337203685477.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.rounded, RoundAmount(c.value)) << c.value;
}

TEST(BalanceAlgebraTest, MeanLeavesZerosOut)
{
    const struct { double values[3]; double mean; } cases[] = {
        {{100, 0, 50}, 75}, {{0, 0, 0}, 0}, {{11, -11, 0}, 0}, {{0, 0, -3}, -3}, {{1, 2, 3}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.mean, MeanOfNonZero(c.values, 3)) << c.values[0] << "," << c.values[1] << "," << c.values[2];
}

TEST(BalanceAlgebraTest, PercentIsOfTheTargetsSizeAndZeroWithoutTarget)
{
    const struct { double difference; double target; double percent; } cases[] = {
        {500, -1000, 50}, {-500, 1000, -50}, {-30, 10, -300}, {25, 0, 0}, {0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, PercentOf(c.difference, c.target)) << c.difference << " of " << c.target;
}

} // namespace
