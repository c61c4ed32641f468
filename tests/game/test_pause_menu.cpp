// The pause menu: opening and closing slides with the game frozen meanwhile,
// the buttons by keys and by pointer, quitting, and the curve toy.
#include <gtest/gtest.h>

#include <vector>

#include "shell/numeric.h"
#include "tests/game/game_flow.h"

class PauseMenuTest : public GameFlowTest {
protected:
    // Whether the game tick ran in the next tick (it writes cellsLeft every tick).
    bool GameRanInStep() {
        Player(PlayerEl::cellsLeft) = -1;
        Step();
        return Player(PlayerEl::cellsLeft) != -1;
    }

    // Opens the menu with the back key and waits until it is fully open.
    void OpenFully() {
        Press(kEscape);
        Step(11);
        ASSERT_EQ(game->paused, 1);
        ASSERT_EQ(game->pauseOffset, 248);
        audio.calls.clear();
    }

    void ClickAt(float x, float y) {
        host.MouseEvent(kMouseDown, 0, x, y);
        Step();
        host.MouseEvent(kMouseUp, 0, x, y);
        Step();
    }

    static constexpr float kButtonX = 72;  // trunc(248 + 64 - 240), fully open
};

TEST_F(PauseMenuTest, TheMenuOpensInThirteenTicksAndAResumeTakesTwelveMore) {
    StartPlaying();
    host.PressKey(kEscape);
    EXPECT_TRUE(GameRanInStep()) << "the tick that pauses has already run the game";
    EXPECT_EQ(game->paused, 1);
    EXPECT_EQ(game->pauseChoice, 0);
    EXPECT_EQ(Effects(), std::vector<int>{98});
    std::vector<int> offsets{game->pauseOffset};
    for (int tick = 2; tick <= 14; ++tick) {
        EXPECT_FALSE(GameRanInStep()) << "tick " << tick;
        offsets.push_back(game->pauseOffset);
    }
    std::vector<int> expected;
    for (int k = 1; k <= 13; ++k) expected.push_back(-64 + 24 * k);
    expected.push_back(248);
    EXPECT_EQ(offsets, expected);
    const float* veil = Command(0);
    EXPECT_EQ(veil[0], MyApp::kCodeRect);
    EXPECT_FLOAT_EQ(veil[kAlpha], 248.0f / 384.0f);
    EXPECT_EQ(CountEffect(98), 1) << "holding the key does not resume";

    host.ReleaseKey(kEscape);
    Step();
    host.PressKey(kEscape);
    audio.calls.clear();
    EXPECT_FALSE(GameRanInStep());
    EXPECT_EQ(game->pauseMotion, -1);
    EXPECT_EQ(Effects(), std::vector<int>{98});
    host.ReleaseKey(kEscape);
    for (int tick = 1; tick <= 12; ++tick) {
        EXPECT_FALSE(GameRanInStep()) << "slide-out tick " << tick;
        EXPECT_EQ(game->pauseOffset, 248 - 24 * tick);
        EXPECT_EQ(game->paused, tick < 12 ? 1 : 0) << "slide-out tick " << tick;
        if (tick == 5) host.PressKey(kEscape);  // back again keeps it closing
    }
    EXPECT_TRUE(GameRanInStep());
    EXPECT_EQ(game->paused, 0) << "the held key does not pause again";
}

TEST_F(PauseMenuTest, QuittingEndsTheGameAtOnceAndTheBannerReadsQuitGame) {
    StartPlaying();
    game->score = 35;
    OpenFully();
    Press(kUp);
    EXPECT_EQ(game->pauseChoice, -1);
    ASSERT_EQ(Effects(), std::vector<int>{99});
    EXPECT_FLOAT_EQ(audio.Of("rate")[0].value, 0.8f);

    audio.calls.clear();
    host.PressKey(kSpace);
    Step();
    EXPECT_EQ(game->paused, 0);
    EXPECT_EQ(game->gameEnded, 1);
    EXPECT_EQ(game->quitGame, -1);
    EXPECT_EQ(game->pauseOffset, -64);
    EXPECT_EQ(game->pauseMotion, -1);
    EXPECT_EQ(game->gameOverTime, 1);
    EXPECT_EQ(Effects(), std::vector<int>{98});
    EXPECT_FLOAT_EQ(audio.Of("rate")[0].value, 0.5f);
    host.ReleaseKey(kSpace);

    EXPECT_TRUE(GameRanInStep()) << "the world goes on under the banner";
    EXPECT_TRUE(HasText(u"Quit"));
    EXPECT_TRUE(HasText(u"Game"));
    EXPECT_FALSE(HasText(u"GAME"));
    EXPECT_EQ(game->score, 35);
}

TEST_F(PauseMenuTest, TheControlsMoveTheHighlightOncePerPress) {
    StartPlaying();
    OpenFully();
    const struct {
        int key;
        int choice;
        float rate;
    } moves[] = {{kDown, 1, 1.2f}, {kDown, 1, 0}, {kUp, 0, 0.8f}, {kUp, -1, 0.8f}, {kUp, -1, 0}, {kDown, 0, 0.8f}};
    for (const auto& move : moves) {
        audio.calls.clear();
        host.PressKey(move.key);
        Step(3);
        host.ReleaseKey(move.key);
        Step();
        EXPECT_EQ(game->pauseChoice, move.choice);
        if (move.rate == 0) {
            EXPECT_TRUE(Effects().empty());
        } else {
            ASSERT_EQ(Effects(), std::vector<int>{99});
            EXPECT_FLOAT_EQ(audio.Of("rate")[0].value, move.rate);
        }
    }
    Press(kDown);
    audio.calls.clear();
    Press(kSpace);
    EXPECT_EQ(game->optionsOpen, 1);
    EXPECT_EQ(game->paused, 1);
    ASSERT_FALSE(Effects().empty());
    EXPECT_EQ(Effects()[0], 98);
}

TEST_F(PauseMenuTest, TheButtonsAnswerThePointerOncePerPress) {
    const struct {
        float y;
        int paused, pauseMotion, gameEnded, optionsOpen;
        std::vector<int> effects;
    } cases[] = {
        {196, 1, -1, 0, 0, {98}},  // resume
        {96, 0, -1, 1, 0, {98}},   // quit
        {296, 1, 1, 0, 1, {99}},   // options
        {246, 1, 1, 0, 0, {}},     // between the buttons
    };
    for (const auto& c : cases) {
        game->optionsOpen = 0;
        StartPlaying();
        OpenFully();
        host.MouseEvent(kMouseDown, 0, kButtonX, c.y);
        Step();
        EXPECT_EQ(game->paused, c.paused) << "y " << c.y;
        EXPECT_EQ(game->pauseMotion, c.pauseMotion) << "y " << c.y;
        EXPECT_EQ(game->gameEnded, c.gameEnded) << "y " << c.y;
        EXPECT_EQ(game->optionsOpen, c.optionsOpen) << "y " << c.y;
        EXPECT_EQ(Effects(), c.effects) << "y " << c.y;
        if (c.optionsOpen == 0) {
            Step(2);  // still held: nothing more
            EXPECT_EQ(Effects(), c.effects) << "y " << c.y;
        }
        host.MouseEvent(kMouseUp, 0, kButtonX, c.y);
        Step();
    }
}

TEST_F(PauseMenuTest, TheToyRidesACircleOfTheLimitAndItsControlsClamp) {
    StartPlaying();
    OpenFully();
    // With the inner radius at 0 the point moves on the big circle at 1 degree a tick.
    game->toyRadius = 0;
    game->toyAngleA = 0;
    Step();
    EXPECT_NEAR(game->toyTrail[2 * 100], 416 + 216 * SinDeg(1), 1e-3);
    EXPECT_NEAR(game->toyTrail[2 * 100 + 1], 240 - 216 * CosDeg(1), 1e-3);

    host.PressKey(kDown);
    host.PressKey(kRight);
    Step(500);
    EXPECT_EQ(game->toyRadius, 216);
    EXPECT_EQ(game->toySpeed, 128);
    EXPECT_TRUE(HasText(u"216:128"));
    host.ReleaseKey(kDown);
    host.ReleaseKey(kRight);
    host.PressKey(kLeft);
    host.PressKey(kUp);
    Step(600);
    EXPECT_EQ(game->toyRadius, 0);
    EXPECT_EQ(game->toySpeed, 0);
    EXPECT_TRUE(HasText(u"0:0"));
}

TEST_F(PauseMenuTest, TheFirstCurveStartsAtTheToyNotAtTheScreenCorner) {
    StartPlaying();
    host.PressKey(kEscape);
    Step();
    int lines = 0;
    for (int k = 0; k < Commands(); ++k) {
        const float* c = Command(k);
        if (c[0] != MyApp::kCodeLine) continue;
        lines += 1;
        EXPECT_GT(c[kX], 100) << "line " << k;
        EXPECT_GT(c[4], 100) << "line " << k;
    }
    EXPECT_EQ(lines, 202);
}
