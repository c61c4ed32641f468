// The game-over banner: its phases, the hand-over to the title menu with the
// score entered and saved, the "New Highscore" line, and the latched input.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/game/game_flow.h"

namespace {

// The fields of a saved text (each ends with "|").
std::vector<long long> SavedFields(const String& text) {
    std::vector<long long> fields;
    std::string bytes = ToUtf8(text), field;
    for (char c : bytes) {
        if (c != '|') {
            field += c;
            continue;
        }
        fields.push_back(std::stoll(field));
        field.clear();
    }
    return fields;
}

}  // namespace

class GameOverTest : public GameFlowTest {
protected:
    // A game on Normal with a score, against a top ten, about to lose its
    // last ship: the next tick ends it. The wreck stays put, so the score does too.
    void EndGameWith(int score, std::vector<int> topTen) {
        StartPlaying();
        std::copy(topTen.begin(), topTen.end(), game->highscores + 10);
        game->score = game->shownScore = score;
        Player(PlayerEl::lives) = 0;
        Player(PlayerEl::deathTime) = 121;
    }
    // The alpha of the black veil over the whole screen, or -1.
    float VeilAlpha() const {
        for (int k = 0; k < Commands(); ++k) {
            const float* c = Command(k);
            if (c[0] == MyApp::kCodeRect && c[kX] == -1 && c[kY] == -1 && c[4] == 642 && c[5] == 482) return c[kAlpha];
        }
        return -1;
    }
    // The y of the first glyph of a word drawn this frame, or -1.
    float WordY(std::u16string_view word) const {
        float y = -1;
        for (int k = 0; k + 1 < Commands() && y < 0; ++k) {
            const float* c = Command(k);
            if (c[0] == game->currentFont && c[kFrame] == word[0] - 32 && Command(k + 1)[kFrame] == word[1] - 32) {
                y = c[kY];
            }
        }
        return y;
    }
};

TEST_F(GameOverTest, TheBannerHandsOverAtNinetyAndTheScoreIsEnteredAndSaved) {
    EndGameWith(1234, {5000, 4000, 3000, 2000, 1000, 900, 800, 700, 600, 500});
    int savesBefore = host.saves;
    Step();
    EXPECT_EQ(game->gameEnded, 1);
    EXPECT_EQ(game->gameOverTime, 1);
    EXPECT_FALSE(HasText(u"GAME")) << "nothing is drawn in the tick the game ends";

    std::vector<float> wordHeights;
    int ticks = 1;
    while (game->mode == 10 && ticks < 200) {
        audio.calls.clear();
        Step();
        ticks += 1;
        if (game->mode != 10) break;
        EXPECT_EQ(game->gameOverTime, ticks);
        EXPECT_EQ(game->keyLatch, 1);
        EXPECT_EQ(game->pointerLatch, 1);
        EXPECT_EQ(Player(PlayerEl::menuHoldOff), 240);
        ASSERT_TRUE(HasText(u"GAME") && HasText(u"OVER")) << "tick " << ticks;
        wordHeights.push_back(WordY(u"GAME"));
        EXPECT_FLOAT_EQ(VeilAlpha(), std::min((ticks - 1) / 40.0f, 0.7f)) << "the veil at tick " << ticks;
    }
    EXPECT_EQ(ticks, 90);
    EXPECT_EQ(game->mode, 2);
    EXPECT_EQ(game->gameOverTime, 73);
    EXPECT_EQ(Tunes(), std::vector<std::string>{"stop"});
    EXPECT_NEAR(wordHeights[16], 12 * 17, 0.01) << "t 17";
    EXPECT_NEAR(wordHeights[17], 216, 0.01) << "t 18: on its bar";
    EXPECT_NEAR(wordHeights.back(), 216, 0.01);
    EXPECT_EQ(host.saves, savesBefore);

    audio.calls.clear();
    Step();
    EXPECT_EQ(game->mode, 1);
    EXPECT_EQ(game->gameOverTime, 71);
    EXPECT_EQ(Effects(), std::vector<int>{96});
    EXPECT_EQ(host.saves, savesBefore + 1);
    EXPECT_EQ(game->highscores[10 + 4], 1234) << "fifth in the top ten";
    EXPECT_EQ(game->highscores[10 + 9], 600);
    EXPECT_EQ(game->highscores[40], 1234) << "first in the last ten";
    std::vector<long long> fields = SavedFields(host.LoadState());
    ASSERT_EQ(fields.size(), 203u);
    const int block = 35 + 21;  // Normal's block: top ten and last ten interleaved
    EXPECT_EQ(fields[block + 2 * 4], 1234);
    EXPECT_EQ(fields[block + 1], 1234);
    long long checksum = 0;
    for (int k = 0; k < 10; ++k) checksum += (k + 4) * fields[block + 2 * k] + (1 + k + 3) * fields[block + 2 * k + 1];
    EXPECT_EQ(fields[block + 20], checksum);

    int outTicks = 0;
    while (game->gameOverTime > 0 && outTicks < 100) {
        Step();
        outTicks += 1;
        EXPECT_EQ(game->gameOverTime, std::max(71 - 2 * outTicks, 0));
    }
    EXPECT_EQ(outTicks, 36);
    Step();
    EXPECT_FALSE(HasText(u"GAME")) << "the banner has gone";
}

TEST_F(GameOverTest, NewHighscoreShowsThePlaceTheScoreTakes) {
    const std::vector<int> full{900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    const struct {
        int score;
        std::vector<int> topTen;
        std::u16string_view place;  // empty: no "New Highscore"
    } cases[] = {
        {0, std::vector<int>(10, 0), u"1st!"},  // although 0 will not enter the table
        {50, full, u"10th"},                   // a tie with the tenth, which the store leaves out
        {49, full, u""},
        {950, full, u"1st!"},
        {650, full, u"4th"},
    };
    for (const auto& c : cases) {
        EndGameWith(c.score, c.topTen);
        Step(2);
        EXPECT_EQ(HasText(u"NewHighscore"), !c.place.empty()) << c.score;
        if (!c.place.empty()) {
            EXPECT_TRUE(HasText(c.place)) << c.score;
        }
    }
}

TEST_F(GameOverTest, ControlsHaveNoEffectUnderTheBanner) {
    EndGameWith(10, {});
    Step(5);
    host.PressKey(kEscape);
    Step(3);
    EXPECT_EQ(game->paused, 0);
    host.ReleaseKey(kEscape);
}
