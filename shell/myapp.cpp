#include "shell/myapp.h"

#include <cmath>
#include <cstdint>

#include "audio/audio.h"
#include "input/input.h"
#include "shell/globals.h"
#include "shell/numeric.h"
#include "shell/random.h"

namespace {

// Key codes the shell itself reacts to.
constexpr int kKeyF1 = 112, kKeyF2 = 113, kKeyF4 = 115, kKeyF11 = 122;
constexpr int kCloseCode = 432;
constexpr int kLeftButton = 1;
constexpr int kFirstTouchCode = 384;

// Controls that count as "held" for the key latch, in the order they are asked.
constexpr int kLatchControls[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};
constexpr int kBackControl[] = {99};

constexpr int kWindowedWidth = 640, kWindowedHeight = 480;
constexpr int kFullscreenFlag = 1;

}  // namespace

MyApp::MyApp() = default;

int MyApp::OnCreate() {
    isFullscreen = 0;
    logoSoundPlayed = 0;
    menuSel = 1;
    wheelTarget = -32.0f;
    mode = 1;
    app::SetUpdateRate(60);
    lastDevWidth = app::_devWidth;
    lastDevHeight = app::_devHeight;
    Reload();
    difficulty = 2;
    menuSlide = -32;
    paused = 0;
    pauseMotion = -1;
    pauseOffset = -64;
    // The upper half of the badge flags keeps what the constructor made.
    for (int i = 0; i < 128; ++i) badges[i] = false;
    for (int& setting : settings) setting = 0;
    settings[5] = 1;  // effects and music on
    for (int i = 0; i <= 30; ++i) highscores[i] = 0;
    Load();
    for (int i = 0; i < kChannels; ++i) channelMap[i] = i;
    return 0;
}

int MyApp::OnUpdate() {
    if (input::KeyHit(kKeyF1)) DebugMode = 1 - DebugMode;
    if (input::KeyHit(kKeyF2)) hideHud = 1 - hideHud;
    if (input::KeyHit(kKeyF11)) FullscreenFlip();
    if (input::KeyHit(kKeyF4) || input::KeyHit(kCloseCode)) qvError(u"");

    // The tune stops with the pause menu and goes on where it stopped.
    if (musicOn == 1) {
        if (paused) {
            audio::PauseMusic();
        } else {
            audio::ResumeMusic();
        }
    }

    MeasureTickRate();
    ReadPointer();
    UpdateLatches();
    if (loadStage == 0) RunScreens();
    // Read again: a screen may just have started the loader.
    if (loadStage > 0) Loader();
    if (DebugMode == 1) DrawDebugLine();
    ResetDraw();
    return 0;
}

void MyApp::MeasureTickRate() {
    int64_t elapsed = static_cast<int64_t>(app::Millisecs()) - tickClock;
    if (elapsed >= 1) tickRate = static_cast<int>(1000 / elapsed);
    tickRateAvg = (tickRate + tickRateAvg * 9) / 10;
    tickClock = app::Millisecs();
}

void MyApp::ReadPointer() {
    prevMouseX = mouseX;
    prevMouseY = mouseY;
    // Before the first render there is no scale yet: the virtual screen is
    // then the design size, one window pixel per virtual pixel.
    float sx = scaleX > 0 ? scaleX : 1.0f;
    float sy = scaleY > 0 ? scaleY : 1.0f;
    float insetY = app::_devWidth > 0 ? overscan * static_cast<float>(app::_devHeight) / app::_devWidth : 0.0f;
    auto mapX = [&](float windowX) { return TruncToInt((windowX - overscan) / sx); };
    auto mapY = [&](float windowY) { return TruncToInt((windowY - insetY) / sy); };

    mouseX = mapX(input::MouseX());
    mouseY = mapY(input::MouseY());
    bool leftDown = input::KeyDown(kLeftButton);
    if (leftDown && mouseWasDown == 0) {
        // No jump on the press: a drag measured from the last tick starts at zero.
        prevMouseX = mouseX;
        prevMouseY = mouseY;
    }
    pointerDown = leftDown ? 1 : 0;
    mouseHit = input::KeyHit(kLeftButton);

    for (int i = 0; i < kTouchPoints; ++i) {
        touchDown[i] = 0;
        touchX[i] = touchY[i] = kNoTouch;
        if (!input::KeyDown(kFirstTouchCode + i)) continue;
        touchDown[i] = 1;
        touchX[i] = mapX(input::TouchX(i));
        touchY[i] = mapY(input::TouchY(i));
        pointerDown = 1;
    }
    mouseWasDown = leftDown ? 1 : 0;
    if (pointerDown == 0) pointerLatch = 0;
}

bool MyApp::AnyUnitHolds(const int* ids, int count) {
    for (int unit = 0; unit < 4; ++unit) {
        for (int i = 0; i < count; ++i) {
            if (PlayKey(ids[i], 1, unit)) return true;
        }
    }
    return false;
}

void MyApp::UpdateLatches() {
    constexpr int kLatchControlCount = sizeof kLatchControls / sizeof kLatchControls[0];
    bool anyHeld = AnyUnitHolds(kLatchControls, kLatchControlCount);
    if (!anyHeld) keyLatch = 0;
    // Back closes the credits page (or an options overlay) before the menu sees it.
    if (pointerLatch == 0 && (!anyHeld || keyLatch == 0) && AnyUnitHolds(kBackControl, 1) && mode == 1 &&
        (optionsOpen == 1 || creditsOpen == 1)) {
        creditsOpen = 0;
        keyLatch = 1;
        pointerLatch = 1;
    }
    // The screens under an open options overlay take no input.
    if (optionsOpen == 1) keyLatch = pointerLatch = 1;
}

void MyApp::RunScreens() {
    switch (mode) {
    case 1:
        Menu();
        break;
    case 2:
        LoadMenu();
        PlaySFX(96, 1, 1, 0);
        mode = 1;
        Menu();
        break;
    case 10:
        if (!paused) Game();
        InGame();
        break;
    case 11:
        LoadGame();
        break;
    default:
        break;
    }
    if (mode == 1 || mode == 2 || (mode == 10 && gameEnded > 0)) GameOver();
    if (optionsOpen == 1 || optionsFade > 0) OptionBox();
    if (optionsOpen == 0 && optionsFade > 0) optionsFade -= 1;
    if (optionsOpen == 1 && optionsFade < 30) optionsFade += 1;
    SlideCreditsPanel();
}

void MyApp::SlideCreditsPanel() {
    float target = jscrw - 140.0f;
    if (creditsOpen == 1 && panelGrow < target) {
        panelGrow -= (panelGrow - target) * 0.125f;
        if (std::fabs(panelGrow - target) < 8.0f) panelGrow = target;
    }
    if (creditsOpen == 0 && panelGrow > 0) {
        panelGrow -= panelGrow * 0.125f;
        if (panelGrow < 8.0f) panelGrow = 0;
    }
}

void MyApp::DrawDebugLine() {
    ResetDraw();
    TextBuffer<96> line;
    line.Add(renderRateAvg).Add(u":").Add(scaleX).Add(u",").Add(scaleY).Add(u" - ").Add(drawLength / kCommandFloats);
    Text(16, jscrh - 16, line.View(), 0, 0, 0);
}

// A game that is running or starting comes back under a half-open pause menu.
void MyApp::ApplyPauseRule() {
    if (mode > 9) {
        paused = 1;
        pauseMotion = 1;
        pauseOffset = TruncToInt(jscrh * 0.5f);
    } else {
        paused = pauseMotion = pauseOffset = 0;
    }
}

int MyApp::OnSuspend() {
    app::_game->SetKeyboardEnabled(false);
    ApplyPauseRule();
    app::SetUpdateRate(5);
    // There is no save at exit, so every suspension saves.
    Save();
    return 0;
}

int MyApp::OnResume() {
    ApplyPauseRule();
    app::SetUpdateRate(60);
    app::_game->SetKeyboardEnabled(false);
    return 0;
}

void MyApp::FullscreenFlip() {
    std::optional<QvDisplayMode> desktop = app::_game->GetDesktopMode();
    int desktopWidth = desktop ? desktop->width : app::_devWidth;
    int desktopHeight = desktop ? desktop->height : app::_devHeight;
    isFullscreen = 1 - isFullscreen;
    // Reopening the window changes its size, so the next render reloads the pictures.
    if (isFullscreen == 1) {
        app::SetDeviceWindow(desktopWidth, desktopHeight, kFullscreenFlag);
    } else {
        app::SetDeviceWindow(kWindowedWidth, kWindowedHeight, 0);
    }
}

void MyApp::SeedRnd(int seed) {
    if (seed == kTimeSeed) seed = app::Millisecs();
    uint32_t state = static_cast<uint32_t>(seed);
    for (int i = 0; i < 21; ++i) state = random::Next(state);
    random::Seed = static_cast<int32_t>(state);
}

int MyApp::Rand(int low, int high) {
    float r = random::Unit();
    // 0.99 rather than 1 keeps the result at or below high.
    float span = static_cast<float>(high) + 0.99f - static_cast<float>(low);
    return TruncToInt(std::floor(static_cast<float>(low) + span * r));
}
