#include "ui/Random.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {
std::vector<int> draws(int n, int count)
{
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
        out.push_back(ui::random::below(n));
    return out;
}
} // namespace

TEST(Random, AFixedSeedGivesTheSameDraws)
{
    ui::random::seed(1234);
    const auto first = draws(100, 50);
    ui::random::seed(1234);
    EXPECT_EQ(draws(100, 50), first);
    ui::random::seed(1235);
    EXPECT_NE(draws(100, 50), first);
}

TEST(Random, StaysWithinZeroToNMinusOneAndReachesBothEnds)
{
    ui::random::seed(99);
    for (const int n : {2, 4, 6, 8, 10, 12, 20, 100}) {
        std::set<int> seen;
        for (int i = 0; i < 200 * n; ++i) {
            const int v = ui::random::below(n);
            ASSERT_GE(v, 0);
            ASSERT_LT(v, n);
            seen.insert(v);
        }
        EXPECT_EQ(static_cast<int>(seen.size()), n) << n; // every value drawn
    }
}

TEST(Random, IsRoughlyUniform)
{
    ui::random::seed(7);
    std::vector<int> counts(6);
    const int rolls = 60000;
    for (int i = 0; i < rolls; ++i)
        ++counts[ui::random::below(6)];
    for (const int c : counts) {
        EXPECT_GT(c, rolls / 6 - 600);
        EXPECT_LT(c, rolls / 6 + 600);
    }
}

TEST(Random, OneOrLessGivesZero)
{
    EXPECT_EQ(ui::random::below(1), 0);
    EXPECT_EQ(ui::random::below(0), 0);
    EXPECT_EQ(ui::random::below(-5), 0);
}

TEST(Random, SeedingFromTheClockLeavesTheFixedSequence)
{
    ui::random::seed(42);
    const auto fixed = draws(1000000, 4);
    ui::random::seed(42);
    ui::random::randomize();
    EXPECT_NE(draws(1000000, 4), fixed);
    // Two seedings in quick succession differ too.
    ui::random::randomize();
    const auto a = draws(1000000, 4);
    ui::random::randomize();
    EXPECT_NE(draws(1000000, 4), a);
}
