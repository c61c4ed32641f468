// One tick of play: the phases of a level with their sounds and tunes, the
// grid pass with its scoring, the bonus piece and its marker, the ring, Gimme.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "shell/numeric.h"
#include "tests/game/game_flow.h"

namespace {

constexpr int kFrameBonus = 0, kFrameJunk = 2, kFrameRing = 3;

}  // namespace

class GameTickTest : public GameFlowTest {
protected:
    // The first ring segment's place says the ring's radius and turn.
    void ExpectRing(float levelTime) {
        std::vector<const float*> ring = Images(kGfx, kFrameRing);
        ASSERT_EQ(ring.size(), 72u);
        float radius = 160 - 4 * levelTime;
        EXPECT_NEAR(ring[0][kX], kCx + SinDeg(levelTime) * radius, 1e-3) << "levelTime " << levelTime;
        EXPECT_NEAR(ring[0][kY], kCy - CosDeg(levelTime) * radius, 1e-3) << "levelTime " << levelTime;
    }
};

TEST_F(GameTickTest, ALevelOpensFromMinus60ToMinus2ThenZeroWithItsSoundAndTune) {
    StartGame(2);
    ClearObjects();
    std::vector<float> seen;
    std::vector<int> soundTicks;
    int tuneTick = -1;
    for (int tick = 1; tick <= 60; ++tick) {
        float levelTime = Player(PlayerEl::levelTime);
        seen.push_back(levelTime);
        audio.calls.clear();
        Step();
        if (CountEffect(1) > 0) soundTicks.push_back(tick);
        for (const std::string& tune : Tunes()) {
            if (tune == "clustered") tuneTick = tick;
        }
        // The grid fades in while the level opens.
        std::vector<const float*> junk = Images(kGfx, kFrameJunk);
        ASSERT_FALSE(junk.empty());
        EXPECT_FLOAT_EQ(junk[0][kAlpha], levelTime < 0 ? (levelTime + 60) / 60 : 1) << "tick " << tick;
        ExpectRing(Player(PlayerEl::levelTime));
    }
    std::vector<float> expected;
    for (int t = -60; t <= -2; ++t) expected.push_back(static_cast<float>(t));
    expected.push_back(0);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(soundTicks, std::vector<int>{21}) << "sound 1 in the tick that sees -40";
    EXPECT_EQ(tuneTick, 59);
}

TEST_F(GameTickTest, ALevelIsClearedOnceItsLastPieceIsGoneAndThenRefilled) {
    StartPlaying();
    OnlyJunkAt({{3, 4}});
    PutShip(CellX(3), CellY(4));
    Step();
    // The tick that collects the last piece still counts it.
    EXPECT_EQ(Player(PlayerEl::cellsLeft), 1);
    EXPECT_EQ(Player(PlayerEl::levelTime), 0);
    EXPECT_EQ(game->score, 5);
    EXPECT_EQ(Effects(), std::vector<int>{4});

    audio.calls.clear();
    Step();
    EXPECT_EQ(Player(PlayerEl::levelTime), 1);
    EXPECT_EQ(Effects(), std::vector<int>{2});
    EXPECT_EQ(Tunes(), std::vector<std::string>{"stop"});

    Step(39);
    ExpectRing(40);  // the ring has shrunk to the centre
    Step(140);
    EXPECT_EQ(Player(PlayerEl::levelTime), 180);
    EXPECT_EQ(Player(PlayerEl::level), 1);
    Step();
    EXPECT_EQ(Player(PlayerEl::level), 2);
    EXPECT_EQ(Player(PlayerEl::levelTime), -60);
    EXPECT_EQ(CountEffect(2), 1) << "sound 2 plays once per clearing";
    EXPECT_EQ(Object(0)[ObjectEl::kind], 1);
    EXPECT_EQ(Object(1)[ObjectEl::kind], 1);
    EXPECT_EQ(Object(2)[ObjectEl::kind], 0) << "level 2 on Normal has two enemies";
    Step();
    EXPECT_GT(Player(PlayerEl::cellsLeft), 0);
}

TEST_F(GameTickTest, ALevelWithoutJunkClearsStraightAwayAndSkipsMinusOne) {
    StartGame(2);
    ClearObjects();
    game->ResetGrid();
    std::vector<float> seen;
    for (int tick = 0; tick < 32; ++tick) {
        Step();
        seen.push_back(Player(PlayerEl::levelTime));
    }
    EXPECT_EQ(seen[0], -58) << "the opening and the clearing both advance the timer";
    EXPECT_EQ(seen[28], -2);
    EXPECT_EQ(seen[29], 1) << "-2, then 0 and the clearing's step";
    EXPECT_EQ(CountEffect(2), 1);
    for (float t : seen) EXPECT_NE(t, -1);
}

TEST_F(GameTickTest, APieceIsCollectedWithinItsReach) {
    const struct {
        bool bonus;
        float dx, dy;
        bool collected;
    } cases[] = {
        {false, 9.9f, 0, true},  {false, 10, 0, false}, {false, 0, -9.9f, true}, {false, -10, 0, false},
        {true, 12.9f, 0, true},  {true, 13, 0, false},  {true, 0, 12.9f, true},  {true, -12.9f, 12.9f, true},
    };
    StartPlaying();
    for (const auto& c : cases) {
        OnlyJunkAt({{3, 4}, {9, 9}});
        Player(PlayerEl::bonusCol) = c.bonus ? 3 : 9;
        Player(PlayerEl::bonusRow) = c.bonus ? 4 : 9;
        PutShip(CellX(3) + c.dx, CellY(4) + c.dy);
        game->score = 0;
        Step();
        EXPECT_EQ(CellHasJunk(game->grid, 3, 4), !c.collected) << c.bonus << " " << c.dx << "," << c.dy;
        EXPECT_EQ(game->score, c.collected ? (c.bonus ? 100 : 5) : 0);
    }
}

TEST_F(GameTickTest, JunkScoresFiveWithItsSoundAndFiveSparks) {
    StartPlaying();
    std::fill(std::begin(game->particles), std::end(game->particles), 0.0f);
    OnlyJunkAt({{3, 4}, {9, 9}});
    PutShip(CellX(3), CellY(4));
    Step();
    EXPECT_EQ(game->score, 5);
    EXPECT_EQ(Effects(), std::vector<int>{4});
    ASSERT_EQ(audio.Of("rate").size(), 1u);
    EXPECT_GE(audio.Of("rate")[0].value, 0.7f);
    EXPECT_LT(audio.Of("rate")[0].value, 1.4f);
    EXPECT_EQ(ParticlesOfType(5), 5);
}

TEST_F(GameTickTest, JunkAndTheBonusPieceCanGoInOneTick) {
    StartPlaying();
    std::fill(std::begin(game->particles), std::end(game->particles), 0.0f);
    OnlyJunkAt({{3, 4}, {4, 4}, {9, 9}});
    Player(PlayerEl::bonusCol) = 3;
    Player(PlayerEl::bonusRow) = 4;
    PutShip(CellX(3) + 11, CellY(4));  // 11 from the bonus piece, 5 from the junk
    Step();
    EXPECT_EQ(game->score, 105);
    EXPECT_EQ(Effects(), (std::vector<int>{3, 4})) << "column 3 before column 4";
    EXPECT_EQ(ParticlesOfType(6), 32);
    EXPECT_EQ(ParticlesOfType(5), 5);
    ASSERT_EQ(ParticlesOfType(99), 1);
    for (int r = 0; r <= game->lastParticle; ++r) {
        const float* p = game->particles + MyApp::kRecordFloats * r;
        if (p[ParticleEl::type] == 99) {
            EXPECT_EQ(p[ParticleEl::frame], 100) << "the number shown";
        }
    }
}

TEST_F(GameTickTest, ANewBonusIsChosenInTheTickTheOldOneGoesAndMarkedFromTheNext) {
    StartPlaying();
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j < 12; ++j) *GridCell(game->grid, i, j) = 1;
    }
    Player(PlayerEl::bonusCol) = 0;
    Player(PlayerEl::bonusRow) = 0;
    PutShip(CellX(0), CellY(0));
    Step();
    EXPECT_EQ(game->score, 100);
    int column = static_cast<int>(Player(PlayerEl::bonusCol)), row = static_cast<int>(Player(PlayerEl::bonusRow));
    EXPECT_TRUE(CellHasJunk(game->grid, column, row)) << column << "," << row;
    for (const float* image : Images(kGfx, kFrameBonus)) {
        EXPECT_NE(image[kScaleX], 0.75f) << "no marker in the tick the bonus piece went";
    }

    PutShip(CellX(0), CellY(0));
    Step();
    std::vector<const float*> marks = Images(kGfx, kFrameBonus);
    ASSERT_EQ(marks.size(), 2u) << "the piece and its marker";
    EXPECT_EQ(marks[0][kScaleX], 0.5f);
    EXPECT_EQ(marks[1][kScaleX], 0.75f);
    EXPECT_EQ(marks[1][kAlpha], 0.5f);
    EXPECT_EQ(marks[1][kX], CellX(column));
    EXPECT_EQ(marks[1][kY], CellY(row));
}

TEST_F(GameTickTest, WhenEveryTryMissesTheOldChoiceStaysUntilATryLandsOnJunk) {
    StartPlaying();
    OnlyJunkAt({{7, 2}});
    Player(PlayerEl::bonusCol) = 5;  // an empty cell: no marker, no bonus piece
    Player(PlayerEl::bonusRow) = 5;
    PutShip(CellX(0), CellY(11));
    bool landed = false;
    for (int tick = 0; tick < 200 && !landed; ++tick) {
        Step();
        float column = Player(PlayerEl::bonusCol), row = Player(PlayerEl::bonusRow);
        landed = column == 7 && row == 2;
        if (!landed) {
            ASSERT_EQ(column, 5);
            ASSERT_EQ(row, 5);
            ASSERT_TRUE(Images(kGfx, kFrameBonus).empty());
        }
    }
    EXPECT_TRUE(landed);
}

TEST_F(GameTickTest, TheMarkerLooksOneCellPastTheGridAndFindsItEmpty) {
    StartPlaying();
    OnlyJunkAt({{7, 2}});
    const float choices[][2] = {{12, 2}, {2, 12}, {12, 12}, {-1, -1}};
    for (const auto& choice : choices) {
        Player(PlayerEl::bonusCol) = choice[0];
        Player(PlayerEl::bonusRow) = choice[1];
        game->Game();
        for (const float* image : Images(kGfx, kFrameBonus)) EXPECT_NE(image[kScaleX], 0.75f);
    }
}

TEST_F(GameTickTest, GimmeTakesTheHighestFreeRecordAndCountsEvenWithNone) {
    StartPlaying();
    std::fill(std::begin(game->particles), std::end(game->particles), 0.0f);
    game->particles[MyApp::kRecordFloats * 250] = 5;
    game->score = 10;
    game->Gimme(100, 50, 60);
    EXPECT_EQ(game->score, 110);
    const float* p = game->particles + MyApp::kRecordFloats * 249;
    EXPECT_EQ(p[ParticleEl::type], 99);
    EXPECT_EQ(p[ParticleEl::x], 50);
    EXPECT_EQ(p[ParticleEl::y], 60);
    EXPECT_EQ(p[ParticleEl::vx], 0);
    EXPECT_EQ(p[ParticleEl::vy], -0.25f);
    EXPECT_EQ(p[ParticleEl::rotation], std::floor(p[ParticleEl::rotation]));
    EXPECT_LE(p[ParticleEl::rotation], 360);
    EXPECT_GE(p[ParticleEl::spin], -7);
    EXPECT_LT(p[ParticleEl::spin], 7);
    EXPECT_EQ(p[ParticleEl::life], 1);
    EXPECT_EQ(p[ParticleEl::colour], 3);
    EXPECT_EQ(p[ParticleEl::frame], 100);

    for (int r = 0; r <= game->lastParticle; ++r) game->particles[MyApp::kRecordFloats * r] = 5;
    std::vector<float> full(std::begin(game->particles), std::end(game->particles));
    game->Gimme(100, 50, 60);
    EXPECT_EQ(game->score, 210);
    EXPECT_EQ(std::vector<float>(std::begin(game->particles), std::end(game->particles)), full);
}

// A bullet reaching the ship: the hit's sounds, and the end of the game
// 120 ticks later when no life was left.
TEST_F(GameTickTest, ABulletHitsTheShip) {
    const struct {
        float lives;
        std::vector<int> effects;
        std::vector<std::string> tunes;
    } cases[] = {{3, {5}, {}}, {0, {5, 6}, {"stop"}}};
    for (const auto& c : cases) {
        StartPlaying();
        Player(PlayerEl::lives) = c.lives;
        // Slot 50, flying down through the ship.
        const float bullet[] = {10, Player(PlayerEl::x), Player(PlayerEl::y) - 4, 0, 3, 0, 0, 0, 0, 0};
        std::copy(std::begin(bullet), std::end(bullet), Object(50));
        Step();
        EXPECT_EQ(Player(PlayerEl::deathTime), 1);
        EXPECT_EQ(Effects(), c.effects) << "lives " << c.lives;
        EXPECT_EQ(Tunes(), c.tunes) << "lives " << c.lives;

        int ticks = 0;
        while (game->gameEnded == 0 && ticks < 300) {
            Step();
            ticks += 1;
        }
        if (c.lives == 0) {
            EXPECT_EQ(ticks, 120);
            EXPECT_EQ(game->gameOverTime, 1) << "the banner starts in the same tick";
        } else {
            EXPECT_EQ(game->gameEnded, 0);
            EXPECT_EQ(Player(PlayerEl::lives), c.lives - 1);
        }
    }
}
