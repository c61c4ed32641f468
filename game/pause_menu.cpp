// The pause menu: a veil over a blank screen, "PAUSED", a curve-drawing toy
// and three buttons sliding in from the left: quit, resume and options.
//
//   if (paused == 1) game->PauseMenu();   // from InGame, every tick while paused
//
// InGame opens it (paused 1, pauseMotion 1, pauseChoice 0). It slides in by 24
// a tick; a resume slides it out and play goes on only once it has gone, a
// quit ends the game at once. The toy: up and down change the inner circle's
// radius, left and right its speed; it keeps its state from pause to pause.
#include <algorithm>
#include <cmath>

#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

constexpr int kIconBank = 97, kButtonsBank = 95;
constexpr int kFrameQuit = 1, kFrameResume = 3, kFrameHighlight = 6;
constexpr int kFrameCogBack = 8, kFrameCogMiddle = 9, kFrameCogFront = 10;
constexpr float kQuitY = 96, kResumeY = 196, kOptionsY = 296;
constexpr int kSfxConfirm = 98, kSfxMove = 99;
constexpr int kControlUp = 0, kControlDown = 8, kControlLeft = 3, kControlRight = 5;
constexpr int kControlSelect = 10, kControlBack = 99;
constexpr int kPlayers = 4;
constexpr int kSlidePerTick = 24;
constexpr int kClosedOffset = -64;
constexpr int kToyPoints = 102;  // the curve joins the last 102 points
constexpr float kToyTopSpeed = 128;

bool Held(MyApp& game, int control) {
    for (int p = 0; p < kPlayers; ++p) {
        if (game.PlayKey(control, 1, p)) return true;
    }
    return false;
}

// A control that acts once per press: the dispatch clears the latch only on a
// tick with nothing held.
bool Pressed(MyApp& game, int control) {
    if (game.keyLatch != 0 || !Held(game, control)) return false;
    game.keyLatch = 1;
    return true;
}

void Resume(MyApp& game) {
    game.paused = 1;
    game.pauseMotion = -1;
    game.pointerLatch = 1;
    game.PlaySFX(kSfxConfirm, 1, 0.5f, 0);
}

// Ends the game at once: the game tick runs again under the banner.
void Quit(MyApp& game) {
    game.paused = 0;
    game.pauseMotion = -1;
    game.pauseOffset = kClosedOffset;
    game.gameEnded = 1;
    game.quitGame = -1;
    game.pointerLatch = 1;
    game.PlaySFX(kSfxConfirm, 0.5f, 0.5f, 0);
}

void OpenOptions(MyApp& game) {
    game.optionsOpen = 1;
    game.PlaySFX(kSfxConfirm, 1, 0.5f, 0);
}

void MoveChoice(MyApp& game, int choice, float rate) {
    game.pauseChoice = choice;
    game.PlaySFX(kSfxMove, rate, 0.5f, 0);
}

void Highlight(MyApp& game, float x, float y) {
    game.SetSize(2.5f);
    game.SetCol(255, 255, 100);
    game.DrawImg(kIconBank, x, y, kFrameHighlight);
}

// A resumed game comes back only once the menu has slid out.
void Slide(MyApp& game) {
    if (game.pauseMotion == 1 && static_cast<float>(game.pauseOffset) < jscrh / 2) {
        game.pauseOffset += kSlidePerTick;
    }
    if (game.pauseMotion != -1) return;
    if (game.pauseOffset < kClosedOffset + 1) {
        game.paused = 0;
        return;
    }
    game.pauseOffset -= kSlidePerTick;
    if (game.pauseOffset < -32) game.paused = 0;
}

float ToyLimit() { return std::min((jscrw - 96) * 0.45f, jscrh * 0.45f); }

// A point on a small circle riding a large one; the controls set the small
// circle's radius and speed.
void MoveToy(MyApp& game, float& x, float& y) {
    game.SetCol(255, 255, 255);
    game.Alpha(1);
    float ox = jscrw / 2 + 96, oy = jscrh / 2;
    float limit = ToyLimit();
    game.toyAngleA = std::fmod(game.toyAngleA + 1, 360.0f);
    game.toyAngleB = std::fmod(game.toyAngleB + game.toySpeed, 360.0f);
    game.toyHue = std::fmod(game.toyHue + 1.5f, 360.0f);
    float r = game.toyRadius;
    x = ox + (limit - r) * SinDeg(game.toyAngleA) + r * SinDeg(game.toyAngleB);
    y = oy - (limit - r) * CosDeg(game.toyAngleA) - r * CosDeg(game.toyAngleB);

    if (Held(game, kControlUp)) game.toyRadius -= 1;
    if (Held(game, kControlDown)) game.toyRadius += 1;
    game.toyRadius = std::clamp(game.toyRadius, 0.0f, limit);
    if (Held(game, kControlLeft)) game.toySpeed -= 0.25f;
    if (Held(game, kControlRight)) game.toySpeed += 0.25f;
    game.toySpeed = std::clamp(game.toySpeed, 0.0f, kToyTopSpeed);

    game.SetCol(100, 255, 100);
    game.Alpha(0.8f);
    TextBuffer<32> settings;
    settings.Add(TruncToInt(game.toyRadius)).Add(u":").Add(TruncToInt(game.toySpeed));
    game.Text(jscrw - 8, jscrh - 8, settings.View(), 2, 2, 0);
}

int RainbowChannel(float value) { return std::clamp(TruncToInt(value), 0, 255); }

// The point's path over the last 101 ticks, dark at its old end and bright at its new.
void DrawToyCurve(MyApp& game, float x, float y) {
    float* points = game.toyTrail;
    // A trail never drawn before holds only the origin, which the toy never
    // reaches: start it all at the point, or the first pause draws a stroke
    // from the corner of the screen that is no part of the path.
    if (points[0] == 0 && points[1] == 0) {
        for (int j = 0; j < kToyPoints; ++j) points[2 * j] = x, points[2 * j + 1] = y;
    }
    points[2 * (kToyPoints - 1)] = x;
    points[2 * (kToyPoints - 1) + 1] = y;
    for (int j = 0; j < kToyPoints - 1; ++j) {
        float fj = static_cast<float>(j);
        float phase = 2 * fj + game.toyHue;
        game.SetCol(static_cast<float>(RainbowChannel(fj + fj * SinDeg(phase))),
                    static_cast<float>(RainbowChannel(fj + fj * CosDeg(phase))),
                    static_cast<float>(RainbowChannel(fj - fj * CosDeg(phase))));
        game.Alpha(1);
        float* from = points + 2 * j;
        float* to = from + 2;
        game.Line(from[0], from[1], to[0], to[1]);
        game.Line(from[0] - 0.5f, from[1] - 0.5f, to[0] - 0.5f, to[1] - 0.5f);
        from[0] = to[0];
        from[1] = to[1];
    }
}

void ResumeButton(MyApp& game, float bx) {
    game.SetSize(2);
    game.SetCol(255, 255, 255);
    if (game.Button(kIconBank, bx, kResumeY, kFrameResume) && game.pointerLatch == 0) Resume(game);
    if (game.pauseChoice != 0) return;
    Highlight(game, bx, kResumeY);
    if (Pressed(game, kControlSelect)) Resume(game);
    if (Pressed(game, kControlUp)) MoveChoice(game, -1, 0.8f);
    if (Pressed(game, kControlDown)) MoveChoice(game, 1, 1.2f);
}

void QuitButton(MyApp& game, float bx) {
    game.SetSize(2);
    game.SetCol(255, 255, 255);
    if (game.Button(kIconBank, bx, kQuitY, kFrameQuit) && game.pointerLatch == 0) Quit(game);
    if (game.pauseChoice != -1) return;
    Highlight(game, bx, kQuitY);
    if (Pressed(game, kControlSelect)) Quit(game);
    if (Pressed(game, kControlDown)) MoveChoice(game, 0, 0.8f);
}

// The cog's three layers turn against each other, and stand still while the
// options overlay is open.
void OptionsButton(MyApp& game, float bx) {
    game.SetSize(1);
    game.SetCol(255, 255, 255);
    if (game.optionsOpen != 1) game.cogAngle += 0.2f;
    game.SetRot(-0.66f * game.cogAngle);
    game.DrawImg(kButtonsBank, bx, kOptionsY, kFrameCogBack);
    game.SetRot(0.33f * game.cogAngle);
    game.DrawImg(kButtonsBank, bx, kOptionsY, kFrameCogMiddle);
    if (game.Button(kButtonsBank, bx, kOptionsY, kFrameCogFront) && game.pointerLatch == 0) {
        game.optionsOpen = 1;
        game.pointerLatch = 1;
        game.PlaySFX(kSfxMove, 1, 1, 0);
    }
    if (game.pauseChoice != 1) return;
    Highlight(game, bx, kOptionsY);
    if (Pressed(game, kControlSelect)) OpenOptions(game);
    if (Pressed(game, kControlUp)) MoveChoice(game, 0, 0.8f);
}

}  // namespace

int MyApp::PauseMenu() {
    // A fresh list: nothing of the game shows under the menu.
    DoBG(-123, -123, -123, -123);
    SetSize(1);
    SetRot(0);
    SetCol(0, 0, 0);
    Alpha(static_cast<float>(std::abs(pauseOffset)) / (0.8f * jscrh));
    Rect(0, 0, jscrw, jscrh);
    Slide(*this);

    float x = 0, y = 0;
    MoveToy(*this, x, y);
    DrawToyCurve(*this, x, y);
    SetCol(255, 255, 255);
    SetSize(4);
    Text(jscrw / 2 + 96, jscrh / 2, u"PAUSED", 1, 1, 0);
    ResetDraw();

    float bx = static_cast<float>(TruncToInt(static_cast<float>(pauseOffset) + 64 - jscrh / 2));
    ResumeButton(*this, bx);
    QuitButton(*this, bx);
    OptionsButton(*this, bx);
    if (Pressed(*this, kControlBack)) {
        paused = 1;
        pauseMotion = -1;
        PlaySFX(kSfxConfirm, 1, 0.5f, 0);
    }
    return 0;
}
