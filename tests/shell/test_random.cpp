// The random generator: exact values from a seed, SeedRnd's warm-up and time
// seed, and Rand's range.
#include <gtest/gtest.h>

#include "shell/random.h"
#include "tests/shell/shell_test.h"

TEST_F(ShellTest, GeneratorGivesTheKnownSequenceFromSeed1234) {
    random::Seed = 1234;
    const float expected[] = {0.71430766582489f, 0.20701307058334f, 0.74954181909561f, 0.34606242179871f};
    for (float value : expected) EXPECT_FLOAT_EQ(random::Rnd(), value);
    EXPECT_EQ(random::Seed, 1486326822);
}

TEST_F(ShellTest, RndVariantsDrawFromTheSameState) {
    random::Seed = 1234;
    EXPECT_FLOAT_EQ(random::Rnd2(10, 20), 10 + 10 * 0.71430766582489f);
    EXPECT_FLOAT_EQ(random::Rnd3(360), 360 * 0.20701307058334f);
    EXPECT_EQ(random::Seed, 889114580);  // the state after two steps
}

TEST_F(ShellTest, SeedRndWarmsUpTwentyOneSteps) {
    game->SeedRnd(5);
    EXPECT_EQ(random::Seed, -84654044);
    EXPECT_FLOAT_EQ(random::Rnd(), 0.35584956407547f);
    EXPECT_FLOAT_EQ(random::Rnd(), 0.75147581100464f);
}

TEST_F(ShellTest, SeedRndPatternSeedsFromTheClock) {
    host.clockMs = 1000;
    game->SeedRnd(MyApp::kTimeSeed);
    EXPECT_EQ(random::Seed, -1667136677);
    int32_t fromClock = random::Seed;
    game->SeedRnd(1000);
    EXPECT_EQ(random::Seed, fromClock);
}

TEST_F(ShellTest, RandCoversItsRangeEvenly) {
    random::Seed = 1234;
    int counts[4] = {};
    constexpr int kDraws = 40000;
    for (int i = 0; i < kDraws; ++i) {
        int value = game->Rand(0, 3);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 3);
        counts[value] += 1;
    }
    // 0.99 of the top value's unit is reachable, so each value gets about a quarter.
    for (int count : counts) EXPECT_NEAR(count, kDraws / 4, kDraws / 40);
}

TEST_F(ShellTest, RandWithEqualBoundsIsThatBound) {
    random::Seed = 99;
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(game->Rand(5, 5), 5);
}

TEST_F(ShellTest, RandFloorsNegativeRanges) {
    random::Seed = 7;
    bool seen[3] = {};
    for (int i = 0; i < 1000; ++i) {
        int value = game->Rand(-3, -1);
        ASSERT_GE(value, -3);
        ASSERT_LE(value, -1);
        seen[value + 3] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}
