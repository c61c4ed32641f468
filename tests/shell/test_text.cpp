// The text renderer: measuring and alignment, spacing, line breaks, rotation,
// escape icons with their keyboard frames and blinking; rstr.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/shell/shell_test.h"

namespace {

struct Glyph {
    float x, y;
    int frame;
};

}  // namespace

class TextTest : public ShellTest {
protected:
    void SetUp() override {
        UseGameFont();
        game->CLS2D(0, 0, 0, 1);
    }

    std::vector<Glyph> Glyphs() const {
        std::vector<Glyph> glyphs;
        for (int k = 0; k < Commands(); ++k) {
            const float* c = Command(k);
            EXPECT_FLOAT_EQ(c[0], 90) << "every glyph comes from the font bank";
            glyphs.push_back({c[1], c[2], static_cast<int>(c[6])});
        }
        return glyphs;
    }

    // Draws text and returns the frame of its only glyph.
    int OnlyFrame(std::u16string_view text) {
        game->CLS2D(0, 0, 0, 1);
        game->Text(0, 0, text, 0, 1, 0);
        std::vector<Glyph> glyphs = Glyphs();
        EXPECT_EQ(glyphs.size(), 1u) << "for the text of " << text.size() << " units";
        return glyphs.empty() ? -1 : glyphs[0].frame;
    }
};

TEST_F(TextTest, EmptyTextDrawsNothing) {
    game->Text(100, 100, u"", 1, 1, 0);
    EXPECT_EQ(Commands(), 0);
}

TEST_F(TextTest, CentringMeasuresAllButTheLastCharacter) {
    // Measured: the added space and A, so W = 14 and x0 = 93; B is not measured.
    game->Text(100, 50, u"AB", 1, 1, 0);
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[0].x, 100, 1e-4);
    EXPECT_NEAR(glyphs[0].y, 50, 1e-4);
    EXPECT_EQ(glyphs[0].frame, 'A' - 32);
    EXPECT_NEAR(glyphs[1].x, 107, 1e-4);
    EXPECT_EQ(glyphs[1].frame, 'B' - 32);
}

TEST_F(TextTest, AlignmentPlacesTheFirstLine) {
    struct Case {
        float alignX, alignY;
        float firstX, firstY;
    };
    const Case cases[] = {
        {0, 1, 107, 50},  // left end at x, middle of the line at y
        {2, 1, 93, 50},   // right end at x
        {0, 0, 107, 55},  // hangs below y by half a line
        {0, 2, 107, 45},  // sits above y by half a line
    };
    for (const Case& c : cases) {
        game->CLS2D(0, 0, 0, 1);
        game->Text(100, 50, u"AB", c.alignX, c.alignY, 0);
        std::vector<Glyph> glyphs = Glyphs();
        ASSERT_EQ(glyphs.size(), 2u);
        EXPECT_NEAR(glyphs[0].x, c.firstX, 1e-4) << c.alignX << "," << c.alignY;
        EXPECT_NEAR(glyphs[0].y, c.firstY, 1e-4) << c.alignX << "," << c.alignY;
    }
}

TEST_F(TextTest, SpacingTableNarrowsAndWidensLetters) {
    // Advances: space 7, w 9, i 4, M 8, k 6.
    game->Text(0, 0, u"wiMkA", 0, 1, 0);
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 5u);
    const float expectedX[] = {7, 16, 20, 28, 34};
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(glyphs[i].x, expectedX[i], 1e-4) << i;
}

TEST_F(TextTest, MeasuringTruncatesAfterEveryCharacter) {
    game->SetSize(1.5f);  // each plain advance is 10.5, truncated as the width grows
    game->Text(100, 0, u"ABC", 2, 1, 0);
    // W = trunc(trunc(10.5) + 10.5) + 10.5 -> 10, 20, 30: the right end is at 100.
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_NEAR(glyphs[0].x, 70 + 10.5f, 1e-4);
}

TEST_F(TextTest, BackslashNBreaksTheLineOneAdvanceIn) {
    game->SetSize(2);
    game->Text(100, 100, u"Easiest mode\\nNice and Easy.", 0, 1, 0);
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_FALSE(glyphs.empty());
    int firstOfSecondLine = -1;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i].frame == 'N' - 32) firstOfSecondLine = static_cast<int>(i);
    }
    ASSERT_GE(firstOfSecondLine, 0);
    EXPECT_NEAR(glyphs[firstOfSecondLine].x, 114, 1e-3);  // x0 + one advance at scale 2
    EXPECT_NEAR(glyphs[firstOfSecondLine].y, 120, 1e-3);  // 10 x sy lower
    for (const Glyph& glyph : glyphs) {
        EXPECT_NE(glyph.frame, '\\' - 32) << "the break itself is not drawn";
        bool onALine = std::fabs(glyph.y - 100) < 1e-3 || std::fabs(glyph.y - 120) < 1e-3;
        EXPECT_TRUE(onALine) << glyph.y;
    }
}

TEST_F(TextTest, RotationTurnsTheLine) {
    game->SetRot(-90);  // the pen's rotation becomes 90
    game->Text(100, 100, u"AB", 0, 1, 0);
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[0].x, 100, 1e-3);
    EXPECT_NEAR(glyphs[0].y, 93, 1e-3);
    EXPECT_NEAR(glyphs[1].y, 86, 1e-3);
    EXPECT_FLOAT_EQ(Command(0)[3], 90);  // each glyph turned with the pen
}

TEST_F(TextTest, EscapeIconsFollowTheControlMode) {
    struct Case {
        const char16_t* text;
        int controlMode;
        int clockMs;
        int frame;
    };
    const Case cases[] = {
        {u"\u00acA", 0, 250, 123},  // keyboard icons are 16 frames on
        {u"\u00acA", 1, 250, 107},
        {u"\u00acA", 1, 1100, 104},  // pressed look for 200 ms of every 500
        {u"\u00acA", 1, 1199, 104},
        {u"\u00acA", 1, 1200, 107},
        {u"\u00acA", 0, 100, 123},  // keyboard icons never blink
        {u"\u00acJ", 1, 250, 96},   {u"\u00acJ", 1, 0, 109},   {u"\u00acU", 1, 10, 110},
        {u"\u00acO", 0, 10, 117},   {u"\u00acQ", 1, 10, 102},  // no blink frame
        {u"\u00acE", 0, 10, 119},   {u"\u00acD", 1, 499, 108},
        {u"\u00aca", 1, 250, 97},   // any other letter: the frame of its code
    };
    for (const Case& c : cases) {
        game->controlMode = c.controlMode;
        host.clockMs = c.clockMs;
        EXPECT_EQ(OnlyFrame(c.text), c.frame) << "mode " << c.controlMode << " at " << c.clockMs;
    }
}

TEST_F(TextTest, EscapeSpacingDiffersWhileMeasuringAndDrawing) {
    game->controlMode = 1;
    host.clockMs = 300;
    // Measured: space 7 and the escape 9 (B, the last, is not): W = 16, x0 = 92.
    game->Text(100, 0, u"\u00acUB", 1, 1, 0);
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[0].x, 99, 1e-4);
    EXPECT_NEAR(glyphs[1].x, 112, 1e-4);  // the U and O icons take 13 while drawing
}

TEST_F(TextTest, OddCharactersAreSafe) {
    // A trailing escape with no letter and codes of 160 and above move but draw nothing.
    EXPECT_EQ(OnlyFrame(u"A\u00ac"), 'A' - 32);
    EXPECT_EQ(OnlyFrame(u"\u00e9A"), 'A' - 32);
    // A NUL neither draws nor moves.
    game->CLS2D(0, 0, 0, 1);
    game->Text(0, 0, std::u16string_view(u"A\0B", 3), 0, 1, 0);
    std::vector<Glyph> glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[1].x, 14, 1e-4);
}

TEST_F(TextTest, TextTakesThePenAndTheBankOffset) {
    game->SetCol(100, 255, 100, 0.8f);
    game->Text(0, 0, u"A", 0, 1, 1);
    ASSERT_EQ(Commands(), 1);
    EXPECT_FLOAT_EQ(Command(0)[0], 91);
    EXPECT_FLOAT_EQ(Command(0)[7], 0.8f);
    EXPECT_FLOAT_EQ(Command(0)[10], 100);
}

TEST(Rstr, PadsToAFixedWidth) {
    struct Case {
        int value, width;
        const char16_t* pad;
        const char16_t* text;
    };
    const Case cases[] = {
        {42, 6, u"0", u"000042"},      {1234567, 4, u"0", u"4567"}, {12, 11, u" ", u"         12"},
        {5, 0, u"0", u"05"},           {-5, 3, u"0", u"0-5"},       {0, 8, u"0", u"00000000"},
        {7, 3, u"ab", u"ab7"},         {123, 2, u"", u"23"},
    };
    for (const Case& c : cases) EXPECT_EQ(MyApp::rstr(c.value, c.width, c.pad), String(c.text)) << c.value;
}
