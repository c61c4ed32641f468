// One tick of MyApp: start values, the shell's function keys, the meters, the
// pointer and touch mapping, the latches, the dispatch by mode, suspend and
// resume.
#include <gtest/gtest.h>
#include <unistd.h>

#include "shell/globals.h"
#include "tests/shell/shell_test.h"

namespace {

constexpr int kF1 = 112, kF2 = 113, kF4 = 115, kF11 = 122;
constexpr int kSpace = 32, kEscape = 27;
constexpr int kMouseDown = 4, kMouseUp = 5, kMouseMove = 6, kTouchDown = 7, kTouchUp = 8;

}  // namespace

// A tick with no screen running, so that only the dispatch's own rules act.
class DispatchTest : public ShellTest {
protected:
    void SetUp() override {
        FinishLoading();
        game->mode = 0;
    }
    void Press(int key) {
        host.PressKey(key);
        host.Tick();
        host.ReleaseKey(key);
    }
};

TEST_F(ShellTest, CreationSetsTheStartValues) {
    EXPECT_EQ(game->mode, 1);
    EXPECT_EQ(game->menuSel, 1);
    EXPECT_FLOAT_EQ(game->wheelTarget, -32);
    EXPECT_EQ(game->difficulty, 2);
    EXPECT_EQ(game->menuSlide, -32);
    EXPECT_EQ(game->menuFocus, 1);
    EXPECT_EQ(game->pauseMotion, -1);
    EXPECT_EQ(game->pauseOffset, -64);
    EXPECT_EQ(game->settings[5], 1);
    EXPECT_EQ(game->lastStar, 100);
    EXPECT_EQ(game->lastParticle, 250);
    EXPECT_FLOAT_EQ(game->toySpeed, 25);
    EXPECT_FLOAT_EQ(game->toyRadius, 25);
    for (int i = 0; i < MyApp::kChannels; ++i) EXPECT_EQ(game->channelMap[i], i);
    EXPECT_EQ(game->lastDevWidth, 640);
    EXPECT_EQ(game->lastDevHeight, 480);
    EXPECT_GT(game->loadStage, 0) << "the loader starts at once";
    EXPECT_EQ(host.UpdateRate(), 60);
}

TEST_F(DispatchTest, F1AndF2ToggleOncePerPress) {
    host.PressKey(kF1);
    host.PressKey(kF2);
    host.Tick();
    EXPECT_EQ(DebugMode, 1);
    EXPECT_EQ(game->hideHud, 1);
    host.Tick();  // still held: no second toggle
    EXPECT_EQ(DebugMode, 1);
    EXPECT_EQ(game->hideHud, 1);
    host.ReleaseKey(kF1);
    host.ReleaseKey(kF2);
    Press(kF1);
    Press(kF2);
    EXPECT_EQ(DebugMode, 0);
    EXPECT_EQ(game->hideHud, 0);
}

TEST_F(DispatchTest, F11SwitchesToTheDesktopModeAndBack) {
    Press(kF11);
    EXPECT_EQ(game->isFullscreen, 1);
    EXPECT_TRUE(host.fullscreen);
    EXPECT_EQ(host.width, 1920);
    EXPECT_EQ(host.height, 1080);
    Press(kF11);
    EXPECT_EQ(game->isFullscreen, 0);
    EXPECT_FALSE(host.fullscreen);
    EXPECT_EQ(host.width, 640);
    EXPECT_EQ(host.height, 480);
}

TEST_F(DispatchTest, F4EndsTheProgramWithStatusZeroWithoutSaving) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Press(kF4), ::testing::ExitedWithCode(0), "");
    EXPECT_NE(access(host.stateFile.c_str(), F_OK), 0);
}

TEST_F(DispatchTest, TickRateMeterSmoothsOverTenTicks) {
    host.clockMs = 1000;
    host.Tick();
    host.clockMs = 1016;
    game->tickRateAvg = 50;
    host.Tick();
    EXPECT_EQ(game->tickRate, 62);
    EXPECT_EQ(game->tickRateAvg, (62 + 50 * 9) / 10);
    EXPECT_EQ(game->tickClock, 1016);
    host.Tick();  // no time passed: the last rate stands
    EXPECT_EQ(game->tickRate, 62);
}

TEST_F(DispatchTest, PointerMapsThroughScaleAndOverscan) {
    host.SetWindowSize(1280, 720);
    game->scaleX = game->scaleY = 2;
    overscan = 20;
    host.MouseEvent(kMouseMove, 0, 200, 100);
    host.Tick();
    EXPECT_EQ(game->mouseX, 90);  // (200 - 20) / 2
    EXPECT_EQ(game->mouseY, 44);  // (100 - 20 * 720 / 1280) / 2, truncated
}

TEST_F(ShellTest, PointerBeforeTheFirstRenderMapsOneToOne) {
    host.MouseEvent(kMouseMove, 0, 123, 45);
    host.Tick();
    EXPECT_EQ(game->mouseX, 123);
    EXPECT_EQ(game->mouseY, 45);
}

TEST_F(DispatchTest, FirstPressStartsADragAtZero) {
    game->scaleX = game->scaleY = 1;
    host.MouseEvent(kMouseMove, 0, 10, 10);
    host.Tick();
    host.MouseEvent(kMouseDown, 0, 50, 60);
    host.Tick();
    EXPECT_EQ(game->prevMouseX, 50);
    EXPECT_EQ(game->prevMouseY, 60);
    EXPECT_EQ(game->mouseHit, 1);
    host.MouseEvent(kMouseMove, 0, 70, 60);
    host.Tick();
    EXPECT_EQ(game->prevMouseX, 50);
    EXPECT_EQ(game->mouseX, 70);
    EXPECT_EQ(game->mouseHit, 0);
}

TEST_F(DispatchTest, TouchPointsFollowTheKeysAndTheLeftButtonIsPointZero) {
    game->scaleX = game->scaleY = 2;
    host.MouseEvent(kMouseDown, 0, 60, 80);
    host.TouchEvent(kTouchDown, 3, 100, 40);
    host.Tick();
    EXPECT_EQ(game->pointerDown, 1);
    EXPECT_EQ(game->touchDown[0], 1);
    EXPECT_EQ(game->touchX[0], 30);
    EXPECT_EQ(game->touchY[0], 40);
    EXPECT_EQ(game->touchDown[3], 1);
    EXPECT_EQ(game->touchX[3], 50);
    EXPECT_EQ(game->touchX[1], -3717);
    EXPECT_EQ(game->touchY[9], -3717);
    host.MouseEvent(kMouseUp, 0, 60, 80);
    host.Tick();
    EXPECT_EQ(game->touchDown[0], 0);
    EXPECT_EQ(game->touchX[0], -3717);
    EXPECT_EQ(game->pointerDown, 1) << "touch point 3 is still down";
    host.TouchEvent(kTouchUp, 3, 100, 40);
    host.Tick();
    EXPECT_EQ(game->pointerDown, 0);
}

TEST_F(DispatchTest, KeyLatchHoldsUntilEveryControlIsReleased) {
    host.PressKey(kSpace);
    host.Tick();
    game->keyLatch = 1;  // a screen acted on the press
    host.Tick();
    host.Tick();
    EXPECT_EQ(game->keyLatch, 1);
    host.ReleaseKey(kSpace);
    host.Tick();
    EXPECT_EQ(game->keyLatch, 0);
}

TEST_F(DispatchTest, PointerLatchHoldsWhileThePointerIsDown) {
    host.MouseEvent(kMouseDown, 0, 10, 10);
    host.Tick();
    game->pointerLatch = 1;
    host.Tick();
    EXPECT_EQ(game->pointerLatch, 1);
    host.MouseEvent(kMouseUp, 0, 10, 10);
    host.Tick();
    EXPECT_EQ(game->pointerLatch, 0);
}

TEST_F(DispatchTest, AnOpenOptionsOverlayForcesBothLatchesEveryTick) {
    game->optionsOpen = 1;
    for (int i = 0; i < 3; ++i) {
        game->keyLatch = game->pointerLatch = 0;
        host.Tick();
        EXPECT_EQ(game->keyLatch, 1);
        EXPECT_EQ(game->pointerLatch, 1);
    }
}

TEST_F(DispatchTest, BackClosesTheCreditsOnlyOnTheTitleScreenWithClearLatches) {
    struct Case {
        int mode, keyLatchBefore;
        int creditsAfter;
    };
    const Case cases[] = {{1, 0, 0}, {1, 1, 1}, {10, 0, 1}};
    for (const Case& c : cases) {
        host.PressKey(kEscape);
        game->mode = c.mode;
        game->creditsOpen = 1;
        game->keyLatch = c.keyLatchBefore;
        game->pointerLatch = 0;
        game->paused = 1;  // keep a game's screens from reading Back themselves
        host.Tick();
        EXPECT_EQ(game->creditsOpen, c.creditsAfter) << "mode " << c.mode << " latch " << c.keyLatchBefore;
        if (c.creditsAfter == 0) {
            EXPECT_EQ(game->keyLatch, 1);
            EXPECT_EQ(game->pointerLatch, 1);
        }
        host.ReleaseKey(kEscape);
    }
}

TEST_F(DispatchTest, TheLoaderRunsInsteadOfTheScreens) {
    game->mode = 11;  // would start a game
    game->loadStage = 1;
    host.Tick();
    EXPECT_EQ(game->mode, 11);
}

TEST_F(DispatchTest, BackToTheTitleBecomesTheTitleInTheSameTick) {
    game->mode = 2;
    host.Tick();
    EXPECT_EQ(game->mode, 1);
}

TEST_F(DispatchTest, OptionsFadeAndCreditsPanelSlide) {
    game->optionsOpen = 1;
    for (int i = 0; i < 40; ++i) host.Tick();
    EXPECT_EQ(game->optionsFade, 30);
    game->optionsOpen = 0;
    host.Tick();
    EXPECT_EQ(game->optionsFade, 29);
    for (int i = 0; i < 40; ++i) host.Tick();
    EXPECT_EQ(game->optionsFade, 0);

    game->creditsOpen = 1;
    host.Tick();
    EXPECT_FLOAT_EQ(game->panelGrow, 62.5f);  // an eighth of the way to 640 - 140
    for (int i = 0; i < 60; ++i) host.Tick();
    EXPECT_FLOAT_EQ(game->panelGrow, 500);
    game->creditsOpen = 0;
    host.Tick();
    EXPECT_FLOAT_EQ(game->panelGrow, 437.5f);
    for (int i = 0; i < 60; ++i) host.Tick();
    EXPECT_FLOAT_EQ(game->panelGrow, 0);
}

TEST_F(DispatchTest, DebugLineShowsRenderRateScaleAndCommandCount) {
    UseGameFont();
    game->FitScreen(1280, 720);
    game->renderRateAvg = 60;
    game->CLS2D(0, 0, 0, 1);
    game->Rect(0, 0, 1, 1);
    DebugMode = 1;
    host.Tick();
    // "60:2.0,2.0 - 1", drawn 16 pixels in from the bottom left, spaces not drawn.
    const char16_t expected[] = u"60:2.0,2.0-1";
    ASSERT_EQ(Commands(), 1 + 12);
    for (int i = 0; i < 12; ++i) EXPECT_FLOAT_EQ(Command(1 + i)[6], expected[i] - 32) << i;
    EXPECT_NEAR(Command(1)[1], 16 + 7, 1e-3);
    EXPECT_NEAR(Command(1)[2], 360 - 16 + 5, 1e-3);
}

TEST_F(DispatchTest, EveryTickEndsWithThePenReset) {
    game->SetSize(3);
    game->SetCol(1, 2, 3, 0.5f);
    game->SetRot(10);
    game->drawBlend = 3;
    host.Tick();
    EXPECT_FLOAT_EQ(game->drawScaleX, 1);
    EXPECT_FLOAT_EQ(game->drawRotation, 0);
    EXPECT_FLOAT_EQ(game->drawG, 255);
    EXPECT_FLOAT_EQ(game->drawAlpha, 1);
    EXPECT_EQ(game->drawBlend, 1);
}

TEST_F(ShellTest, SuspendPausesARunningGameAndResumeKeepsItPaused) {
    struct Case {
        int mode;
        int paused, pauseMotion, pauseOffset;
    };
    const Case cases[] = {{10, 1, 1, 240}, {11, 1, 1, 240}, {1, 0, 0, 0}, {2, 0, 0, 0}};
    for (const Case& c : cases) {
        game->mode = c.mode;
        host.SuspendGame();
        EXPECT_EQ(game->paused, c.paused) << "mode " << c.mode;
        EXPECT_EQ(game->pauseMotion, c.pauseMotion);
        EXPECT_EQ(game->pauseOffset, c.pauseOffset);
        EXPECT_EQ(host.UpdateRate(), 5);
        EXPECT_FALSE(host.KeyboardEnabled());
        game->paused = game->pauseMotion = game->pauseOffset = 7;
        host.ResumeGame();
        EXPECT_EQ(game->paused, c.paused) << "mode " << c.mode;
        EXPECT_EQ(game->pauseOffset, c.pauseOffset);
        EXPECT_EQ(host.UpdateRate(), 60);
    }
}
