// Ship control and motion.
//
//   game->AnalogueControl();   // early in the tick: controls -> steerInputX/Y
//   ...
//   game->ShipSteps();         // later: steer, move, confine, turn, trail, draw, die
//   game->ShipHit();           // a bullet reached the intact ship
//   int r = MyApp::WhichWayDoIGo(heading, wanted, 0, 359);   // signed turn, degrees
//
// The controls never move the ship directly. AnalogueControl turns the touch
// stick, joystick 0's left stick and the keys into a steering input of -1..1
// per axis; the ship steps add it to a steering vector with inertia, turn the
// heading towards that vector (at most 8 degrees a tick clockwise, at once
// counter-clockwise) and move the ship 2 pixels a tick in the direction
// heading + 180; the rim of the arena (radius 160) holds it in. A hit starts
// the death sequence: 120 ticks hidden and fading back, then either a spare
// life is used and the ship returns where it was, or the game is over.
#include <algorithm>
#include <cmath>

#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"
#include "shell/random.h"

namespace {

constexpr float kR2D = 57.2957795f;  // radians to degrees, held in single precision like kD2R

constexpr int kGfxBank = 1, kShipFrame = 4;
constexpr float kShipSpeed = 2;
constexpr float kArenaRadius = 160, kRimRadius = 159.9f;

// The touch stick: pixels of drag for a full input, and how far the pointer
// may wander from the anchor before the anchor follows it.
constexpr float kStickReach = 72;
constexpr int kAnchorSlack = 64, kAnchorStep = 4;

// Keyboard steering builds up and falls back at these rates a tick.
constexpr float kKeyBuild = 0.15f, kKeyRelease = 0.2f;

// Controls of PlayKey that steer.
constexpr int kUp = 0, kLeft = 3, kRight = 5, kDown = 8;

// The death sequence, in ticks since the hit.
constexpr float kHiddenUntil = 90, kFadeTicks = 30, kSparksUntil = 30, kBackAfter = 120;

float ToDegrees(double radians) { return static_cast<float>(radians * kR2D); }

// Moves value step towards 0 without passing it.
float TowardsZero(float value, float step) {
    if (value > 0) return std::max(value - step, 0.0f);
    if (value < 0) return std::min(value + step, 0.0f);
    return value;
}

// One axis of keyboard steering: a held control (toward = -1 or +1) builds the
// accumulator up; once released, an accumulator on that side falls back to 0.
// Either way the input follows the accumulator; otherwise it is left alone.
void KeySteer(bool held, float toward, float& accumulator, float& input) {
    if (held) {
        accumulator += toward * kKeyBuild;
        input = accumulator;
    } else if (accumulator * toward > 0) {
        accumulator = TowardsZero(accumulator, kKeyRelease);
        input = accumulator;
    }
}

// The fan of sparks around the heading when the ship appears or comes back.
void Burst(MyApp& game) {
    const float x = game.player[PlayerEl::x], y = game.player[PlayerEl::y];
    const float heading = game.player[PlayerEl::heading];
    for (int m = -12; m <= 12; ++m) {
        // The arguments are drawn from the last to the first.
        float speed = random::Rnd2(0.5f, 1.5f);
        float angle = heading + static_cast<float>(3 * m) + random::Rnd2(-3, 3);
        int colour = TruncToInt(std::floor(random::Rnd2(3, 5.99f)));  // yellow, green, cyan
        game.ThrowParticle(x, y, 3, colour, angle, speed);
    }
}

// One explosion spark: red or orange, at a speed in minSpeed..maxSpeed.
void Spark(MyApp& game, float minSpeed, float maxSpeed) {
    float speed = random::Rnd2(minSpeed, maxSpeed);
    float angle = random::Rnd3(360);
    int colour = TruncToInt(std::floor(random::Rnd2(1, 2.99f)));
    game.ThrowParticle(game.player[PlayerEl::x], game.player[PlayerEl::y], 3, colour, angle, speed);
}

}  // namespace

int MyApp::AnalogueControl() {
    steerInputX = steerInputY = 0;

    // The touch stick: the first tick of a press sets the anchor, later ticks
    // steer by the drag from it.
    if (pointerDown == 0) {
        touchAnchorX = -1;
    } else {
        const int tx = mouseX, ty = mouseY;
        if (touchAnchorX < 0) {
            touchAnchorX = tx;
            touchAnchorY = ty;
        } else {
            steerInputX = static_cast<float>(tx - touchAnchorX) / kStickReach;
            steerInputY = static_cast<float>(ty - touchAnchorY) / kStickReach;
            if (std::fabs(steerInputX) < 0.1f && std::fabs(steerInputY) < 0.1f) steerInputX = steerInputY = 0;
            // The anchor creeps after a pointer that has wandered far from it.
            if (tx < touchAnchorX - kAnchorSlack) touchAnchorX -= kAnchorStep;
            if (tx > touchAnchorX + kAnchorSlack) touchAnchorX += kAnchorStep;
            if (ty < touchAnchorY - kAnchorSlack) touchAnchorY -= kAnchorStep;
            if (ty > touchAnchorY + kAnchorSlack) touchAnchorY += kAnchorStep;
            if (touchAnchorX < 0) {
                touchAnchorX = tx;
                touchAnchorY = ty;
            }
        }
        SetCol(0, 100, 250);
        Alpha(0.25f);
        Oval(static_cast<float>(touchAnchorX), static_cast<float>(touchAnchorY), 12, 12);
        Oval(static_cast<float>(tx), static_cast<float>(ty), 8, 8);
    }

    // Joystick 0's left stick overrides the touch stick outside its dead zone.
    const float jx = StickX(0, 0), jy = StickY(0, 0);
    if (std::fabs(jx) > 0.2f || std::fabs(jy) > 0.2f) {
        steerInputX = jx;
        steerInputY = jy;
    }

    // Keys override both while held or falling back.
    KeySteer(PlayKey(kUp, 0, 0) != 0, -1, keySteerY, steerInputY);
    KeySteer(PlayKey(kDown, 0, 0) != 0, 1, keySteerY, steerInputY);
    KeySteer(PlayKey(kLeft, 0, 0) != 0, -1, keySteerX, steerInputX);
    KeySteer(PlayKey(kRight, 0, 0) != 0, 1, keySteerX, steerInputX);

    steerInputX = std::clamp(steerInputX, -1.0f, 1.0f);
    steerInputY = std::clamp(steerInputY, -1.0f, 1.0f);
    keySteerX = std::clamp(keySteerX, -1.0f, 1.0f);
    keySteerY = std::clamp(keySteerY, -1.0f, 1.0f);

    if (DebugMode == 1 && (std::fabs(steerInputX) > 0.05f || std::fabs(steerInputY) > 0.05f)) {
        SetCol(0, 180, 250);
        Alpha(0.5f);
        Oval(jscrw - 64, jscrh - 64, 12, 12);
        Oval(jscrw - 64 + 52 * steerInputX, jscrh - 64 + 52 * steerInputY, 8, 8);
    }
    ResetDraw();
    return 0;
}

int MyApp::WhichWayDoIGo(float a, float b, int lo, int hi) {
    const int d = hi - lo;
    const double n = d + 1;
    auto wrap = [n](double value) {
        double r = std::fmod(value, n);
        return r < 0 ? r + n : r;
    };
    const float from = static_cast<float>(wrap(a));
    const float to = static_cast<float>(wrap(b));
    const double t = wrap(to - from) + lo;
    // Past half the circle the target lies behind. (Subtracting d rather than
    // n leaves a backward answer one short; turning treats them all alike.)
    if (t > lo + d / 2) return TruncToInt(t - d);
    return TruncToInt(t);
}

int MyApp::ShipSteps() {
    float* p = player;
    const float cx = jscrw * 0.5f, cy = jscrh * 0.5f;

    // The steering vector has inertia: it grows with the input and, on an
    // axis without much input, runs down by 0.25 a tick.
    p[PlayerEl::steerX] = std::clamp(p[PlayerEl::steerX] + 0.4f * steerInputX, -4.0f, 4.0f);
    p[PlayerEl::steerY] = std::clamp(p[PlayerEl::steerY] + 0.4f * steerInputY, -4.0f, 4.0f);
    if (std::fabs(steerInputX) < 0.25f) p[PlayerEl::steerX] = TowardsZero(p[PlayerEl::steerX], 0.25f);
    if (std::fabs(steerInputY) < 0.25f) p[PlayerEl::steerY] = TowardsZero(p[PlayerEl::steerY], 0.25f);

    if (p[PlayerEl::appearTime] < 0) {
        p[PlayerEl::appearTime] += 1;
        if (p[PlayerEl::appearTime] > -1) {
            p[PlayerEl::appearTime] = 0;
            Burst(*this);
        }
    }

    if (p[PlayerEl::deathTime] == 0 && p[PlayerEl::appearTime] == 0) {
        const float travel = p[PlayerEl::heading] + 180;
        p[PlayerEl::x] += kShipSpeed * SinDeg(travel);
        p[PlayerEl::y] -= kShipSpeed * CosDeg(travel);
    }

    // The rim holds the ship in: outside it, it is put back on the radius
    // through its position, so it slides along the rim.
    const float dx = p[PlayerEl::x] - cx, dy = cy - p[PlayerEl::y];
    const float distance = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    if (distance > kArenaRadius) {
        const float theta = ToDegrees(std::atan2(static_cast<double>(dx), static_cast<double>(dy)));
        p[PlayerEl::x] = cx + kRimRadius * SinDeg(theta);
        p[PlayerEl::y] = cy - kRimRadius * CosDeg(theta);
    }

    // The heading whose travel direction is the steering vector's.
    if (std::fabs(p[PlayerEl::steerX]) + std::fabs(p[PlayerEl::steerY]) > 0.25f) {
        p[PlayerEl::wantedHeading] =
            ToDegrees(std::atan2(-static_cast<double>(p[PlayerEl::steerX]), static_cast<double>(p[PlayerEl::steerY])));
    }

    // Clockwise turns are limited to 8 degrees a tick; anything within 4
    // degrees, or the other way round, is taken at once.
    const int turn = WhichWayDoIGo(p[PlayerEl::heading], p[PlayerEl::wantedHeading], 0, 359);
    if (turn > 8) {
        p[PlayerEl::heading] += 8;
    } else if (turn > 4) {
        p[PlayerEl::heading] += static_cast<float>(turn);
    } else {
        p[PlayerEl::heading] = p[PlayerEl::wantedHeading];
    }

    // The trail: entry 99 is now, entry j (up to 98) is 98 - j ticks ago.
    trail[3 * 99] = p[PlayerEl::x];
    trail[3 * 99 + 1] = p[PlayerEl::y];
    trail[3 * 99 + 2] = p[PlayerEl::heading];
    SetSize(1);
    SetCol(255, 255, 255);
    Alpha(0.25f);
    for (int j = 0; j <= 98; ++j) {
        std::copy_n(trail + 3 * (j + 1), 3, trail + 3 * j);
        SetRot(-(trail[3 * j + 2] + 180));
        const bool copyShown = j >= 64 && j <= 96 && j % 8 == 0;
        if (copyShown && p[PlayerEl::deathTime] == 0) DrawImg(kGfxBank, trail[3 * j], trail[3 * j + 1], kShipFrame);
    }

    // The ship: hidden after a hit, fading back in over the last 30 ticks
    // when a spare life remains (fully transparent when none does).
    const float deathTime = p[PlayerEl::deathTime];
    Alpha(1);
    SetRot(-(p[PlayerEl::heading] + 180));
    const float fade = p[PlayerEl::lives] >= 1 ? (deathTime - kHiddenUntil) / kFadeTicks : 0;
    if (deathTime > kHiddenUntil) Alpha(fade);
    if (deathTime < 1 || deathTime > kHiddenUntil) DrawImg(kGfxBank, p[PlayerEl::x], p[PlayerEl::y], kShipFrame);
    ResetDraw();

    if (p[PlayerEl::deathTime] > 0) {
        p[PlayerEl::deathTime] += 1;
        if (p[PlayerEl::deathTime] < kSparksUntil) {
            for (int i = 0; i < 4; ++i) {
                Spark(*this, 3, 8);
                Spark(*this, 0.75f, 2.5f);
            }
        }
        if (p[PlayerEl::deathTime] > kBackAfter) {
            if (p[PlayerEl::lives] < 1) {
                gameEnded = 1;
            } else {
                // Back where it was destroyed, heading and steering unchanged.
                p[PlayerEl::lives] -= 1;
                p[PlayerEl::deathTime] = 0;
                Burst(*this);
            }
        }
    }
    return 0;
}

int MyApp::ShipHit() {
    player[PlayerEl::deathTime] = 1;
    PlaySFX(5, 1, 1, 0);
    if (player[PlayerEl::lives] == 0) {
        StopTune();
        PlaySFX(6, 1, 1, 0);
    }
    return 0;
}
