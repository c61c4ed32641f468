// The in-game overlay: the ordinals, the place a score takes, the rolling
// score, the place line, the spare lives, and pausing by key and by icon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/game_flow.h"

namespace {

constexpr int kFrameLife = 11, kFramePause = 0;

}  // namespace

TEST(Nth, OrdinalsFromOneToThirty) {
    const struct {
        int n;
        std::u16string_view text;
    } cases[] = {{1, u"1st"},   {2, u"2nd"},   {3, u"3rd"},   {4, u"4th"},   {10, u"10th"}, {11, u"11th"},
                 {12, u"12th"}, {13, u"13th"}, {20, u"20th"}, {21, u"21st"}, {22, u"22nd"}, {23, u"23rd"},
                 {24, u"24th"}, {30, u"30th"}, {0, u""},      {31, u""},     {-1, u""},     {101, u""}};
    for (const auto& c : cases) EXPECT_EQ(MyApp::Nth(c.n), c.text) << c.n;
}

using OverlayTest = GameFlowTest;

TEST_F(OverlayTest, MyNthRanksATieAboveTheEntry) {
    const int table[] = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    const struct {
        int score;
        std::u16string_view text;
        int place;
    } cases[] = {{901, u"1st!", 1}, {900, u"1st!", 1}, {899, u"2nd", 2}, {800, u"2nd", 2},
                 {650, u"4th", 4},  {50, u"10th", 10}, {49, u"", 0}};
    game->difficulty = 3;
    std::copy(std::begin(table), std::end(table), game->highscores + 20);
    for (const auto& c : cases) {
        game->score = c.score;
        EXPECT_EQ(game->MyNth(), c.text) << c.score;
        EXPECT_EQ(game->loopIndex, c.place) << c.score;
    }
    game->difficulty = 1;  // an empty table: even 0 is first
    game->score = 0;
    EXPECT_EQ(game->MyNth(), u"1st!");
}

class ScoreDisplayTest : public GameFlowTest {
protected:
    void SetUp() override {
        GameFlowTest::SetUp();
        game->mode = 0;
        game->difficulty = 2;
    }
    void Display() {
        game->CLS2D(0, 0, 0, 1);
        game->ScoreDisplay();
    }
};

TEST_F(ScoreDisplayTest, TheShownScoreRollsASixthOfTheGapAndSnapsWhenClose) {
    game->shownScore = 0;
    game->score = 5;
    Display();
    EXPECT_EQ(game->shownScore, 5) << "a junk piece shows at once";

    game->score = 105;
    std::vector<int> steps;
    int ticks = 0;
    while (game->shownScore != game->score && ticks < 100) {
        int before = game->shownScore;
        Display();
        steps.push_back(game->shownScore - before);
        ticks += 1;
    }
    ASSERT_GE(steps.size(), 4u);
    EXPECT_EQ((std::vector<int>(steps.begin(), steps.begin() + 4)), (std::vector<int>{16, 14, 11, 9}));
    EXPECT_EQ(ticks, 19) << "the last step snaps across a gap under 6";

    // Never reset: a new game's 0 rolls it back down.
    game->score = 0;
    Display();
    EXPECT_EQ(game->shownScore, 105 - 105 / 6);
    EXPECT_TRUE(HasText(u"00000088"));
}

TEST_F(ScoreDisplayTest, ThePlaceLineNamesTheNextEntryToPassAndNeverTenth) {
    const int table[] = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    std::copy(std::begin(table), std::end(table), game->highscores + 10);
    const struct {
        int score;
        std::u16string_view line;
    } cases[] = {
        {0, u"11th00000050"},   {50, u"11th00000050"}, {51, u"9th00000100"}, {101, u"8th00000200"},
        {850, u"1st00000900"},  {5000, u"1st00000900"},
    };
    for (const auto& c : cases) {
        game->score = game->shownScore = c.score;
        Display();
        EXPECT_TRUE(HasText(c.line)) << c.score;
    }
    std::fill(game->highscores + 10, game->highscores + 20, 0);
    game->score = 0;
    Display();
    EXPECT_TRUE(HasText(u"1st00000000")) << "an empty table is passed from the start";
    game->highscores[12] = 20;  // empty entries count as passed, whatever comes above them
    Display();
    EXPECT_TRUE(HasText(u"3rd00000020"));
}

TEST_F(ScoreDisplayTest, OneIconPerSpareLifeAndNothingWhileTheHudIsHidden) {
    for (int lives : {0, 1, 3}) {
        game->player[PlayerEl::lives] = static_cast<float>(lives);
        Display();
        std::vector<const float*> icons = Images(kIcons, kFrameLife);
        ASSERT_EQ(icons.size(), static_cast<size_t>(lives));
        for (int i = 0; i < lives; ++i) {
            EXPECT_EQ(icons[i][kX], 560 + 16 * i);
            EXPECT_EQ(icons[i][kY], 48);
        }
    }
    game->hideHud = 1;
    game->shownScore = 0;
    game->score = 600;
    Display();
    EXPECT_EQ(Commands(), 0);
    EXPECT_EQ(game->shownScore, 100) << "the score rolls on while hidden";
}

TEST_F(OverlayTest, ThePauseIconPausesOnAPressThatNothingElseTook) {
    StartPlaying();
    std::vector<const float*> icon = Images(kIcons, kFramePause);
    ASSERT_EQ(icon.size(), 1u);
    EXPECT_EQ(icon[0][kAlpha], 0.2f);
    host.MouseEvent(kMouseDown, 0, 20, 20);
    Step();
    EXPECT_EQ(game->paused, 1);
    EXPECT_EQ(game->pauseMotion, 1);
    EXPECT_EQ(game->pauseChoice, 0);
    EXPECT_EQ(game->pointerLatch, 1);
    EXPECT_EQ(Effects(), std::vector<int>{98});
    host.MouseEvent(kMouseUp, 0, 20, 20);

    // Under the game-over banner every press is latched: the icon does not pause.
    StartPlaying();
    game->gameEnded = 1;
    Step(3);
    host.MouseEvent(kMouseDown, 0, 20, 20);
    Step();
    EXPECT_EQ(game->paused, 0);
    host.MouseEvent(kMouseUp, 0, 20, 20);
}

TEST_F(OverlayTest, TheBackControlPausesOncePerPressAndShowsThroughAHiddenHud) {
    StartPlaying();
    game->hideHud = 1;
    host.PressKey(kEscape);
    Step();
    EXPECT_EQ(game->paused, 1);
    EXPECT_EQ(game->menuSlide, -32);
    EXPECT_TRUE(HasText(u"PAUSED")) << "the pause menu runs with the hud hidden";
    EXPECT_TRUE(Images(kIcons, kFramePause).empty());
    Step(3);
    EXPECT_EQ(CountEffect(98), 1);
}
