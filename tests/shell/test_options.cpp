// The options overlay tick by tick: opening from the title menu's cog, the
// slide during which nothing changes, the cursor, each line's change once per
// press or tap, closing by the cog, Back or a button (which saves), and the
// screen below taking no input meanwhile.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/saved_text.h"
#include "tests/shell/menu_test.h"

class OptionsTest : public MenuTest {
protected:
    // Left focuses the cog, a button opens the overlay; then it slides in.
    void Open() {
        Tap(kLeft);
        host.PressKey(kZ);
        host.Tick();
        ASSERT_EQ(game->optionsOpen, 1);
        host.ReleaseKey(kZ);
        Ticks(31);
        ASSERT_EQ(game->optionsFade, 30);
    }
    void CursorTo(int line) {
        while (game->optCursor < line) Tap(kDown);
        while (game->optCursor > line) Tap(kUp);
    }
    // The y of an option line once the panel is in.
    static float LineY(int line) { return 130.0f + 40.0f * static_cast<float>(line - 1); }
    void TapLine(int line) {
        MouseDown(320, LineY(line) + 10);
        MouseUp();
    }
    std::string Stored() const {
        std::ifstream file(host.stateFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    int& Value(int index) { return game->settings[index]; }
};

TEST_F(OptionsTest, TheCogOpensTheOverlayWhichSlidesInOverThirtyTicks) {
    Tap(kLeft);
    host.PressKey(kZ);
    host.Tick();
    EXPECT_EQ(game->optionsOpen, 1);
    EXPECT_EQ(game->optionsFade, 1);
    Ticks(10);
    EXPECT_EQ(game->optionsFade, 11);
    Ticks(30);
    EXPECT_EQ(game->optionsFade, 30);
    EXPECT_EQ(game->mode, 1) << "the held button did nothing else";
}

// Presses held from the first tick act neither while the panel moves nor
// after it stops: each needs a release first.
TEST_F(OptionsTest, NothingChangesWhileThePanelSlides) {
    game->optCursor = 1;
    Tap(kLeft);
    host.PressKey(kZ);
    host.Tick();
    host.PressKey(kEscape);
    Ticks(45);
    EXPECT_EQ(game->optionsOpen, 1);
    EXPECT_EQ(Value(Setting::sfxVolume), 0);
    host.ReleaseKey(kZ);
    host.ReleaseKey(kEscape);
    host.Tick();
    Tap(kZ);
    EXPECT_EQ(Value(Setting::sfxVolume), 1);
}

TEST_F(OptionsTest, TheSoundLineCyclesLoudNormalQuietOffLoudOncePerPress) {
    Open();
    CursorTo(1);
    const char* labels[] = {"Sound:[---Loud]", "Sound:[--Normal-]", "Sound:[-Quiet--]", "Sound:[OFF---]"};
    for (int press = 1; press <= 4; ++press) {
        EXPECT_EQ(DrawnText(90, 2000, LineY(1) - 5, LineY(1) + 20), std::string(labels[(press - 1) % 4]) + "\n");
        host.PressKey(kZ);
        Ticks(10);
        EXPECT_EQ(Value(Setting::sfxVolume), press % 4) << "press " << press;
        host.ReleaseKey(kZ);
        host.Tick();
    }
}

TEST_F(OptionsTest, TheMusicLineCyclesAndTheStickLinesToggle) {
    Open();
    CursorTo(2);
    Tap(kZ);
    EXPECT_EQ(Value(Setting::musicVolume), 1);
    CursorTo(4);
    EXPECT_EQ(DrawnText(90, 2000, LineY(4) - 5, LineY(4) + 20), "LeftThumbstickYFlipped\n");
    Tap(kZ);
    EXPECT_EQ(Value(Setting::leftStickYNormal), 1);
    EXPECT_EQ(DrawnText(90, 2000, LineY(4) - 5, LineY(4) + 20), "LeftThumbstickYNormal\n");
    CursorTo(5);
    Tap(kZ);
    Tap(kZ);
    EXPECT_EQ(Value(Setting::rightStickYNormal), 0);
    EXPECT_EQ(DrawnText(90, 2000, LineY(5) - 5, LineY(5) + 20), "RightThumbstickYFlipped\n");
}

TEST_F(OptionsTest, TheCursorRunsFromTheCogToTheLastLine) {
    Open();
    for (int i = 0; i < 8; ++i) Tap(kDown);
    EXPECT_EQ(game->optCursor, 5);
    Tap(kLeft);
    EXPECT_EQ(game->optCursor, 4);
    Tap(kRight);
    EXPECT_EQ(game->optCursor, 5);
    for (int i = 0; i < 8; ++i) Tap(kUp);
    EXPECT_EQ(game->optCursor, 0);
    EXPECT_EQ(game->menuFocus, 0) << "the menu below did not move";
    EXPECT_EQ(game->menuSel, 1);
}

TEST_F(OptionsTest, AButtonOnTheCogClosesAndSaves) {
    Open();
    CursorTo(1);
    Tap(kZ);
    CursorTo(0);
    int saves = host.saves;
    host.PressKey(kZ);
    host.Tick();
    EXPECT_EQ(game->optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_EQ(Stored().substr(0, 14), "0|0|0|0|0|1|1|");
    Ticks(5);
    EXPECT_EQ(game->menuFocus, 0) << "the closing press does not act on the menu";
    EXPECT_EQ(game->optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 1);
    host.ReleaseKey(kZ);
    Ticks(30);
    EXPECT_EQ(game->optionsFade, 0);
}

TEST_F(OptionsTest, BackAndATapOnTheCogCloseAndSave) {
    Open();
    int saves = host.saves;
    host.PressKey(kEscape);
    host.Tick();
    host.ReleaseKey(kEscape);
    EXPECT_EQ(game->optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_EQ(game->mode, 1) << "Back closed the overlay, it did not end the program";

    Ticks(40);
    Open();
    MouseDown(100, 60);
    EXPECT_EQ(game->optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 2);
}

TEST_F(OptionsTest, ATapOnALineMovesTheCursorThereAndChangesItOncePerTouch) {
    Open();
    MouseDown(320, LineY(4) + 10);
    Ticks(10);
    EXPECT_EQ(game->optCursor, 4);
    EXPECT_EQ(Value(Setting::leftStickYNormal), 1);
    MouseUp();
    TapLine(4);
    EXPECT_EQ(Value(Setting::leftStickYNormal), 0);
}

// The window line waits for both overlay latches like every other line, so a
// button held through the switch cannot switch the window back.
TEST_F(OptionsTest, TheWindowLineSwitchesOncePerPressEvenWhenHeld) {
    Open();
    CursorTo(3);
    EXPECT_EQ(DrawnText(90, 2000, LineY(3) - 5, LineY(3) + 20), "Fullscreen\n");
    host.PressKey(kZ);
    Ticks(20);
    EXPECT_EQ(game->isFullscreen, 1);
    EXPECT_TRUE(host.fullscreen);
    EXPECT_EQ(DrawnText(90, 2000, LineY(3) - 5, LineY(3) + 20), "Windowed\n");
    host.ReleaseKey(kZ);
    host.Tick();
    TapLine(3);
    EXPECT_EQ(game->isFullscreen, 0);
    EXPECT_FALSE(host.fullscreen);
}

TEST_F(OptionsTest, OutOfRangeSettingsAreMendedWhereTheOverlayUsesThem) {
    Value(Setting::sfxVolume) = 9;
    Value(Setting::musicVolume) = -2;
    Value(Setting::audioMode) = 3;
    Value(Setting::leftStickYNormal) = INT_MAX;
    Open();
    EXPECT_EQ(Value(Setting::sfxVolume), 0);
    EXPECT_EQ(Value(Setting::musicVolume), 0);
    EXPECT_EQ(Value(Setting::audioMode), 1) << "effects and music are on while the overlay shows";
    CursorTo(4);
    Tap(kZ);
    EXPECT_EQ(Value(Setting::leftStickYNormal), 0);
}
