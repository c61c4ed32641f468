// The start of a game and of every level: the records cleared, the grid
// filled, the enemies placed for the difficulty, the counts of the pools.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "shell/random.h"
#include "tests/game/game_flow.h"

namespace {

int EnemiesPlaced(const MyApp& game) {
    int enemies = 0;
    for (int s = 0; s <= 50; ++s) enemies += game.objects[MyApp::kRecordFloats * s] == 1;
    return enemies;
}

}  // namespace

using WorldTest = GameFlowTest;

TEST_F(WorldTest, EveryDifficultyStartsLevelOneWithTheShipWaitingBelowTheCentre) {
    const int expectedEnemies[] = {0, 1, 1, 4};
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        game->score = 999;
        game->gameEnded = 1;
        game->quitGame = -1;
        game->gameOverTime = 50;
        audio.calls.clear();
        StartGame(difficulty);
        EXPECT_EQ(game->mode, 10);
        EXPECT_EQ(Tunes().back(), "fish");
        EXPECT_EQ(Player(PlayerEl::level), 1);
        EXPECT_EQ(Player(PlayerEl::levelTime), -60);
        EXPECT_EQ(Player(PlayerEl::lives), 3);
        EXPECT_EQ(Player(PlayerEl::appearTime), -60);
        EXPECT_EQ(Player(PlayerEl::x), kCx);
        EXPECT_EQ(Player(PlayerEl::y), kCy + 140);
        EXPECT_EQ(Player(PlayerEl::heading), -180);
        EXPECT_EQ(Player(PlayerEl::wantedHeading), -180);
        EXPECT_EQ(Player(PlayerEl::deathTime), 0);
        EXPECT_EQ(game->score, 0);
        EXPECT_EQ(game->gameEnded, 0);
        EXPECT_EQ(game->quitGame, 0);
        EXPECT_EQ(game->gameOverTime, 0);
        EXPECT_EQ(game->paused, 0);
        for (float value : game->trail) ASSERT_EQ(value, -100);
        EXPECT_EQ(EnemiesPlaced(*game), expectedEnemies[difficulty]) << "difficulty " << difficulty;
    }
}

TEST(EnemyCount, GrowsWithTheLevelUpToSixteen) {
    struct Case {
        int difficulty, level, enemies;
    } cases[] = {
        {1, 1, 1},  {1, 3, 1},   {1, 4, 2},   {1, 7, 3},   {1, 45, 15}, {1, 46, 16}, {1, 200, 16},
        {2, 1, 1},  {2, 2, 2},   {2, 7, 7},   {2, 15, 15}, {2, 16, 16}, {2, 17, 16},
        {3, 1, 4},  {3, 2, 6},   {3, 6, 14},  {3, 7, 16},  {3, 8, 16},
        {0, 4, 2},  {4, 46, 16},  // any other difficulty counts as Easy
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EnemyCount(c.difficulty, c.level), c.enemies) << c.difficulty << " level " << c.level;
    }
}

TEST_F(WorldTest, RefillPlacesTheEnemiesInTheFirstSlotsForTheNextLevel) {
    const struct {
        int difficulty, level, enemies;
    } cases[] = {{1, 46, 16}, {1, 47, 16}, {2, 16, 16}, {3, 7, 16}, {3, 3, 8}, {2, 5, 5}};
    for (const auto& c : cases) {
        game->difficulty = c.difficulty;
        game->ResetObj();
        Player(PlayerEl::level) = static_cast<float>(c.level - 1);
        game->Refill();
        EXPECT_EQ(Player(PlayerEl::level), c.level);
        EXPECT_EQ(Player(PlayerEl::levelTime), -60);
        EXPECT_EQ(EnemiesPlaced(*game), c.enemies);
        for (int s = 0; s < c.enemies; ++s) {
            const float* enemy = Object(s);
            ASSERT_EQ(enemy[ObjectEl::kind], 1) << "slot " << s;
            EXPECT_EQ(enemy[ObjectEl::radius], 600);
            EXPECT_GE(enemy[ObjectEl::approachSpeed], 1.4f);
            EXPECT_LT(enemy[ObjectEl::approachSpeed], 2.8f);
            EXPECT_GE(enemy[ObjectEl::angle], 0);
            EXPECT_LT(enemy[ObjectEl::angle], 360);
            EXPECT_EQ(enemy[ObjectEl::spin], 0);
        }
    }
}

TEST_F(WorldTest, RefillLeavesHigherSlotsAloneAndKeepsTheCountdownsOfTheSlotsItTakes) {
    game->difficulty = 2;
    game->ResetObj();
    const float bullet[] = {10, 100, 120, 1.5f, -2, 45, 0, 0, 0, 0};
    std::copy(std::begin(bullet), std::end(bullet), Object(2));
    std::copy(std::begin(bullet), std::end(bullet), Object(3));
    Object(1)[ObjectEl::kind] = 1;
    Object(1)[ObjectEl::fireTime] = 77;
    Object(1)[ObjectEl::turnTime] = 12;
    Object(1)[ObjectEl::spin] = 0.5f;
    Player(PlayerEl::level) = 2;
    game->Refill();  // level 3 on Normal: slots 0..2

    EXPECT_EQ(Object(1)[ObjectEl::fireTime], 77);
    EXPECT_EQ(Object(1)[ObjectEl::turnTime], 12);
    EXPECT_EQ(Object(1)[ObjectEl::spin], 0);
    // The bullet in slot 2 became an enemy with the bullet's velocity as its countdowns.
    EXPECT_EQ(Object(2)[ObjectEl::kind], 1);
    EXPECT_EQ(Object(2)[ObjectEl::fireTime], 1.5f);
    EXPECT_EQ(Object(2)[ObjectEl::turnTime], -2);
    // The bullet in slot 3 flies on into the new level.
    for (int e = 0; e < MyApp::kRecordFloats; ++e) EXPECT_EQ(Object(3)[e], bullet[e]) << "element " << e;
}

TEST_F(WorldTest, RefillDrawsTheGridColumnByColumnThenTheEnemies) {
    game->difficulty = 1;
    game->ResetObj();
    Player(PlayerEl::level) = 0;
    Player(PlayerEl::bonusCol) = 4;
    Player(PlayerEl::bonusRow) = 5;
    random::Seed = 4242;
    std::vector<float> units;
    for (int i = 0; i < 146; ++i) units.push_back(random::Rnd());
    random::Seed = 4242;
    game->Refill();

    int pieces = 0;
    for (int column = 0; column < 32; ++column) {
        for (int row = 0; row < 32; ++row) {
            float cell = *GridCell(game->grid, column, row);
            if (column >= 12 || row >= 12) {
                ASSERT_EQ(cell, 0) << column << "," << row;
                continue;
            }
            ASSERT_EQ(cell, std::floor(1.99f * units[column * 12 + row])) << column << "," << row;
            pieces += cell == 1;
        }
    }
    EXPECT_GT(pieces, 0);
    EXPECT_LT(pieces, 144);
    EXPECT_FALSE(CellHasJunk(game->grid, 12, 3));
    EXPECT_FALSE(CellHasJunk(game->grid, 3, 12));
    EXPECT_EQ(Player(PlayerEl::bonusCol), -1);
    EXPECT_EQ(Player(PlayerEl::bonusRow), -1);
    EXPECT_FLOAT_EQ(Object(0)[ObjectEl::approachSpeed], 1.4f + 1.4f * units[144]);
    EXPECT_FLOAT_EQ(Object(0)[ObjectEl::angle], 360 * units[145]);
}

TEST_F(WorldTest, StarAndParticleCountsChangeOnlyForCountsFromOneTo499) {
    const struct {
        int count, last;
    } cases[] = {{0, 100}, {500, 100}, {-5, 100}, {499, 499}, {1, 1}, {100, 100}};
    for (const auto& c : cases) {
        game->lastStar = 100;
        game->lastParticle = 100;
        game->ResetStars(c.count);
        game->ResetParticles(c.count);
        EXPECT_EQ(game->lastStar, c.last) << c.count;
        EXPECT_EQ(game->lastParticle, c.last) << c.count;
    }
}

TEST_F(WorldTest, ResetStarsSeedsFromTheClockAndFillsEveryStarInUse) {
    std::fill(std::begin(game->stars), std::end(game->stars), -1.0f);
    game->ResetStars(499);
    for (int s = 0; s <= 499; ++s) {
        const float* star = game->stars + MyApp::kRecordFloats * s;
        ASSERT_GE(star[StarEl::frame], 0);
        ASSERT_LE(star[StarEl::frame], 255);
        ASSERT_EQ(star[StarEl::frame], std::floor(star[StarEl::frame]));
        ASSERT_GE(star[StarEl::x], -8);
        ASSERT_LT(star[StarEl::x], 640 + 8);
        ASSERT_GE(star[StarEl::y], -8);
        ASSERT_LT(star[StarEl::y], 480 + 8);
        ASSERT_GE(star[StarEl::speed], 0.2f);
        ASSERT_LT(star[StarEl::speed], 0.8f);
        ASSERT_GE(star[StarEl::rotation], 0);
        ASSERT_LT(star[StarEl::rotation], 360);
        ASSERT_GE(star[StarEl::spin], -0.5f);
        ASSERT_LT(star[StarEl::spin], 0.5f);
    }
    EXPECT_EQ(game->stars[MyApp::kRecordFloats * 500], -1) << "stars past the count are left alone";

    std::vector<float> first(std::begin(game->stars), std::end(game->stars));
    random::Seed = 99;
    game->ResetStars(0);
    EXPECT_EQ(std::vector<float>(std::begin(game->stars), std::end(game->stars)), first)
        << "the same clock gives the same stars";
}

TEST_F(WorldTest, FlushGameClearsTheRecordsButNotThePlayerElementsFrom500) {
    std::fill(std::begin(game->player), std::end(game->player), 7.0f);
    std::fill(std::begin(game->objects), std::end(game->objects), 7.0f);
    std::fill(std::begin(game->grid), std::end(game->grid), 7.0f);
    for (int r = 0; r <= 250; ++r) game->particles[MyApp::kRecordFloats * r] = 5;
    game->paused = game->score = game->gameEnded = game->gameOverTime = 1;
    game->quitGame = -1;
    game->FlushGame();
    for (int i = 0; i < 500; ++i) ASSERT_EQ(game->player[i], 0) << i;
    for (int i = 500; i < 512; ++i) ASSERT_EQ(game->player[i], 7) << i;
    for (float value : game->objects) ASSERT_EQ(value, 0);
    for (float value : game->grid) ASSERT_EQ(value, 0);
    for (int r = 0; r <= 250; ++r) ASSERT_EQ(game->particles[MyApp::kRecordFloats * r], 0) << r;
    EXPECT_EQ(game->paused, 0);
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->gameEnded, 0);
    EXPECT_EQ(game->gameOverTime, 0);
    EXPECT_EQ(game->quitGame, 0);
    EXPECT_EQ(game->lastStar, 100);
    EXPECT_EQ(game->lastParticle, 250);
}
