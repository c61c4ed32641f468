// The title menu tick by tick with scripted keys, mouse and touch: the wheel
// and its key repeat, the focus, the side panel and the Play button, the
// score lists, Back, and the credits page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/globals.h"
#include "shell/numeric.h"
#include "tests/shell/menu_test.h"

TEST_F(MenuTest, UpStopsAtEasyAndDownAtHard) {
    EXPECT_EQ(game->menuSel, 1);
    Tap(kUp);
    EXPECT_EQ(game->menuSel, 0);
    EXPECT_FLOAT_EQ(game->wheelTarget, 0);
    Tap(kUp);
    EXPECT_EQ(game->menuSel, 0);
    EXPECT_EQ(game->difficulty, 1);
    for (int i = 0; i < 3; ++i) Tap(kDown);
    EXPECT_EQ(game->menuSel, 2);
    EXPECT_FLOAT_EQ(game->wheelTarget, -64);
    EXPECT_EQ(game->difficulty, 3);
}

// Held Down repeats after 31, 19, 7 and then every 4 ticks. The selection is
// put back to Easy after each step so that the run is not cut short by Hard.
TEST_F(MenuTest, HeldDownRepeatsFasterAndFaster) {
    game->menuSel = 0;
    host.PressKey(kDown);
    std::vector<int> steps;
    for (int tick = 0; tick < 70; ++tick) {
        host.Tick();
        if (game->menuSel != 0) {
            steps.push_back(tick);
            game->menuSel = 0;
        }
    }
    EXPECT_EQ(steps, (std::vector<int>{0, 31, 50, 57, 61, 65, 69}));
    host.ReleaseKey(kDown);
    host.Tick();
    EXPECT_FLOAT_EQ(game->player[PlayerEl::menuRepeatDelay], 30) << "a release restarts the slow repeat";
}

TEST_F(MenuTest, HoldingDownFromEasyReachesHard31TicksLater) {
    game->menuSel = 0;
    host.PressKey(kDown);
    host.Tick();
    EXPECT_EQ(game->menuSel, 1);
    Ticks(30);
    EXPECT_EQ(game->menuSel, 1);
    host.Tick();
    EXPECT_EQ(game->menuSel, 2);
}

TEST_F(MenuTest, LeftAndRightMoveTheFocusAndOnlyTheWheelTakesUpAndDown) {
    Tap(kLeft);
    EXPECT_EQ(game->menuFocus, 0);
    Tap(kLeft);
    EXPECT_EQ(game->menuFocus, 0);
    Tap(kUp);
    EXPECT_EQ(game->menuSel, 1) << "the cog has the focus";
    for (int i = 0; i < 3; ++i) Tap(kRight);
    EXPECT_EQ(game->menuFocus, 2);
    Tap(kDown);
    EXPECT_EQ(game->menuSel, 1) << "the panel has the focus";
    host.PressKey(kLeft);
    Ticks(10);
    EXPECT_EQ(game->menuFocus, 1) << "a held key moves the focus once";
}

TEST_F(MenuTest, ThePanelOpensTheCreditsOnlyOnASecondSeparatePress) {
    MouseDown(600, 200);
    EXPECT_EQ(game->menuFocus, 2);
    Ticks(5);
    EXPECT_EQ(game->creditsOpen, 0);
    MouseUp();
    MouseDown(600, 200);
    EXPECT_EQ(game->creditsOpen, 1);
}

TEST_F(MenuTest, ThePlayButtonStartsTheGameAtTheSelectedDifficulty) {
    Tap(kDown);
    MouseDown(jscrw - 70, jscrh - 48);
    EXPECT_EQ(game->mode, 11);
    EXPECT_EQ(game->difficulty, 3);
    EXPECT_EQ(game->controlMode, 2) << "started by the pointer";
    EXPECT_EQ(game->menuFocus, 1);
}

TEST_F(MenuTest, AButtonOnTheWheelStartsTheGameWithKeyboardIcons) {
    Tap(kUp);
    host.PressKey(kZ);
    host.Tick();
    EXPECT_EQ(game->mode, 11);
    EXPECT_EQ(game->difficulty, 1);
    EXPECT_EQ(game->controlMode, 0);
    EXPECT_FLOAT_EQ(game->wheelTarget, 0);
}

TEST_F(MenuTest, BackEndsTheProgram) {
    EXPECT_EXIT(
        {
            host.PressKey(kEscape);
            host.Tick();
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, ACogPressOpensTheOptions) {
    MouseDown(38, jscrh - 64);
    EXPECT_EQ(game->optionsOpen, 1);
    EXPECT_EQ(game->menuFocus, 0);
}

TEST_F(MenuTest, ATouchOnAnotherItemSelectsItAndATapOnTheSelectedOneStartsTheGame) {
    float x, y;
    ItemPosition(0, x, y);
    MouseDown(x, y);
    EXPECT_EQ(game->menuSel, 0);
    EXPECT_EQ(game->wheelTouched, 1);
    EXPECT_EQ(game->mode, 1);
    Ticks(5);
    EXPECT_EQ(game->mode, 1) << "holding on does not start the game";
    MouseUp();
    Ticks(40);
    ItemPosition(0, x, y);
    MouseDown(x, y);
    EXPECT_EQ(game->mode, 11);
    EXPECT_EQ(game->difficulty, 1);
}

TEST_F(MenuTest, DraggingSpinsTheWheelAndFocusesIt) {
    Tap(kRight);
    ASSERT_EQ(game->menuFocus, 2);
    MouseDown(250, 200);
    for (int i = 1; i <= 3; ++i) {
        host.MouseEvent(kMouseMove, 0, 250, 200.0f + 20 * i);
        host.Tick();
    }
    EXPECT_EQ(game->menuFocus, 1);
    EXPECT_GT(game->wheelSpin, 0);
    EXPECT_EQ(game->pointerLatch, -1) << "a drag is not a press";
    MouseUp();
    Ticks(60);
    EXPECT_EQ(game->mode, 1);
    EXPECT_EQ(game->menuSel, 0) << "the wheel turned Easy into the window";
}

TEST_F(MenuTest, ScoreListsShowAsManyLinesAsFitWithTheirHeadings) {
    for (int i = 0; i < 10; ++i) game->highscores[10 + i] = 900 - 10 * i;
    for (int i = 0; i < 10; ++i) game->highscores[40 + i] = i + 1;
    struct Case {
        int lineHeight;
        std::string top, last;
    } cases[] = {
        {16, "Top6\n900\n890\n880\n870\n860\n850\n", "Last6\n1\n2\n3\n4\n5\n6\n"},
        {10, "Top10\n900\n890\n880\n870\n860\n850\n840\n830\n820\n810\n", "Last10\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n"},
        {60, "Highscore\n900\n", "Last\n1\n"},
    };
    for (const Case& c : cases) {
        game->imageSizes[3 * game->currentFont + 1] = c.lineHeight;
        host.Tick();
        EXPECT_EQ(DrawnText(500, 2000, 0, jscrh * 0.5f), c.top);
        EXPECT_EQ(DrawnText(500, 2000, jscrh * 0.5f, jscrh), c.last);
    }
}

TEST_F(MenuTest, TheFocusedWheelShowsTheSelectedDescription) {
    EXPECT_EQ(game->menuDescIndex, 3);
    EXPECT_EQ(DrawnText(240, 500, 400).find("Justright!\nTough,butnothard.\n"), 0u);
    Tap(kUp);
    EXPECT_EQ(DrawnText(240, 500, 400).find("Easiestmode\nNiceandEasy.\n"), 0u);
    Tap(kRight);
    EXPECT_EQ(DrawnText(240, 500, 400), "") << "only with the wheel focused";
}

// The credits page opens from the focused panel, scrolls (faster while Up or
// Down is held) through lines 0..55 forever, and closes on a button without
// that press acting anywhere else.
TEST_F(MenuTest, TheCreditsOpenScrollThroughEveryLineButEndAndClose) {
    Tap(kRight);
    Tap(kZ);
    ASSERT_EQ(game->creditsOpen, 1);
    Ticks(60);
    EXPECT_EQ(game->creditsLine, 1);

    std::set<std::string> shown;
    host.PressKey(kDown);
    for (int tick = 0; tick < 700; ++tick) {
        host.Tick();
        std::string rows = DrawnText(250, 640, 150, 350);
        for (size_t start = 0, end; (end = rows.find('\n', start)) != std::string::npos; start = end + 1) {
            shown.insert(rows.substr(start, end - start));
        }
    }
    host.ReleaseKey(kDown);
    EXPECT_GE(game->creditsLine, 56) << "a full cycle";
    for (const String& line : CreditText) {
        std::string glyphs;
        for (char16_t c : line) {
            if (c != u' ') glyphs += static_cast<char>(c);
        }
        if (glyphs.empty()) continue;
        EXPECT_EQ(shown.count(glyphs), glyphs == "End" ? 0u : 1u) << glyphs;
    }

    host.PressKey(kZ);
    host.Tick();
    EXPECT_EQ(game->creditsOpen, 0);
    Ticks(5);
    EXPECT_EQ(game->creditsOpen, 0) << "the closing press does not reopen them";
    EXPECT_EQ(game->mode, 1);
    EXPECT_EQ(game->optionsOpen, 0);
    host.ReleaseKey(kZ);
    Ticks(60);
    EXPECT_FLOAT_EQ(game->panelGrow, 0) << "the panel narrows again";
}

TEST_F(MenuTest, BackClosesTheCreditsWithoutEndingTheProgram) {
    Tap(kRight);
    Tap(kZ);
    ASSERT_EQ(game->creditsOpen, 1);
    // Run in a child: if Back ended the program it would end the test run too.
    EXPECT_EXIT(
        {
            host.PressKey(kEscape);
            for (int i = 0; i < 10; ++i) host.Tick();
            std::exit(game->creditsOpen == 0 && game->mode == 1 ? 7 : 8);
        },
        testing::ExitedWithCode(7), "");
}

TEST(MenuTexts, CreditTextHasItsSectionsAndOnlyDrawableCharacters) {
    FakeHost host;  // sets the globals up
    ASSERT_EQ(CreditText.size(), 57u);
    std::map<int, std::u16string> headings = {{1, u"A Game by"}, {7, u"Developed using"}, {13, u"Graphics"},
                                              {26, u"Audio"},    {40, u"Hello to"},       {43, u"Thanks to"},
                                              {55, u"-=-=-"},    {56, u"End"}};
    for (const auto& [index, text] : headings) EXPECT_EQ(CreditText[index], text) << index;
    for (int separator : {4, 10, 23, 36}) {
        EXPECT_EQ(CreditText[separator], u"");
        EXPECT_EQ(CreditText[separator + 1], u"-=-=-");
        EXPECT_EQ(CreditText[separator + 2], u"");
    }
    for (int blank : {0, 14, 17, 22, 27, 39, 42, 54}) EXPECT_EQ(CreditText[blank], u"") << blank;
    for (int named : {2, 3, 8, 9, 15, 16, 18, 19, 20, 21, 28, 35, 41, 44, 53}) EXPECT_NE(CreditText[named], u"") << named;
    for (const String& line : CreditText) {
        for (char16_t c : line) EXPECT_TRUE(c >= 32 && c < 127) << "not in the font: " << static_cast<int>(c);
    }
    EXPECT_EQ(MenuSet, (std::vector<String>{u"Easy", u"Easiest mode\\nNice and Easy.", u"Normal",
                                            u"Just right!\\nTough, but not hard.", u"Hard",
                                            u"Maybe TOO hard!\\nIf you like it like that"}));
}
