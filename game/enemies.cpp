// Enemies and bullets: the scan of object slots 50 down to 0, once a tick.
//
//   game->DoObjects();   // move, fire, draw and hit; after DoParticles
//
// An enemy (kind 1) flies straight in from radius 600 until it reaches the
// rim of the arena, then rides the rim, drifting at a speed it changes every
// 2 to 4 seconds, and fires a bullet at the centre when its countdown runs
// out. A bullet (kind 10) flies on at 3 pixels a tick until it is 64 pixels
// off the screen, and destroys the ship if it comes within 10 pixels on both
// axes. A bullet goes into the last free slot seen in this scan, which lies
// above the enemy; that slot is not taken out of the scan, so when two
// enemies fire before another free slot is seen, the later shot replaces the
// earlier one. Once the level is cleared the enemies neither fire nor show;
// for 29 ticks each throws a spark instead, while bullets fly on.
#include <cmath>

#include "host/app.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"
#include "shell/random.h"

namespace {

constexpr int kLastObjectSlot = 50;
constexpr int kFree = 0, kEnemy = 1, kBullet = 10;

constexpr int kGfxBank = 1, kEnemyFrame = 5, kFirstBulletFrame = 7;
constexpr float kRim = 160;
constexpr float kBulletSpeed = 3;
constexpr float kHitReach = 10;
constexpr float kOffScreen = 64;
// Ticks after the level is cleared during which the enemies burst.
constexpr float kBurstTicks = 30;

// A countdown of 2 to 4 seconds.
float RandomCountdown() { return random::Rnd2(120, 240); }

}  // namespace

int MyApp::DoObjects() {
    const float cx = jscrw * 0.5f, cy = jscrh * 0.5f;
    const float levelTime = player[PlayerEl::levelTime];
    // The bullets' animation runs on the clock: a frame every quarter second.
    const int quarterSeconds = app::Millisecs() / 250;

    SetSize(1);
    SetRot(0);
    SetCol(255, 255, 255);
    Alpha(1);
    int freeSlot = -1;

    for (int s = kLastObjectSlot; s >= 0; --s) {
        float* o = objects + kRecordFloats * s;
        const float kind = o[ObjectEl::kind];
        if (kind == kFree) freeSlot = s;

        if (kind == kEnemy) {
            o[ObjectEl::angle] = std::fmod(o[ObjectEl::angle] + o[ObjectEl::spin], 360.0f);
            o[ObjectEl::radius] -= o[ObjectEl::approachSpeed];
            const float angle = o[ObjectEl::angle];
            float px, py;
            if (o[ObjectEl::radius] < kRim) {
                o[ObjectEl::turnTime] -= 1;
                if (o[ObjectEl::turnTime] < 0) {
                    o[ObjectEl::turnTime] = RandomCountdown();
                    o[ObjectEl::spin] = random::Rnd2(-0.75f, 0.75f);
                }
                o[ObjectEl::radius] = kRim;
                // The countdown stands still while the ship is destroyed.
                if (player[PlayerEl::deathTime] < 1) o[ObjectEl::fireTime] -= 1;
                px = cx + kRim * SinDeg(angle);
                py = cy - kRim * CosDeg(angle);
                if (o[ObjectEl::fireTime] < 0 && freeSlot >= 0 && levelTime < 1) {
                    o[ObjectEl::fireTime] = RandomCountdown();
                    float* bullet = objects + kRecordFloats * freeSlot;
                    bullet[ObjectEl::kind] = kBullet;
                    bullet[ObjectEl::x] = px;
                    bullet[ObjectEl::y] = py;
                    bullet[ObjectEl::vx] = kBulletSpeed * SinDeg(angle + 180);  // towards the centre
                    bullet[ObjectEl::vy] = -kBulletSpeed * CosDeg(angle + 180);
                    bullet[ObjectEl::angle] = angle;
                    PlaySFX(7, 1, 1, 0);
                }
            } else {
                px = cx + o[ObjectEl::radius] * SinDeg(angle);
                py = cy - o[ObjectEl::radius] * CosDeg(angle);
            }
            if (levelTime < 1) {
                SetRot(-angle);
                DrawImg(kGfxBank, px, py, kEnemyFrame);
            }
            if (levelTime > 0 && levelTime < kBurstTicks) {
                // The arguments are drawn from the last to the first.
                float speed = random::Rnd2(2, 4);
                float direction = random::Rnd3(360);
                int colour = TruncToInt(std::floor(random::Rnd2(3, 5.99f)));
                ThrowParticle(px, py, 5, colour, direction, speed);
            }
        }

        if (kind == kBullet) {
            o[ObjectEl::x] += o[ObjectEl::vx];
            o[ObjectEl::y] += o[ObjectEl::vy];
            SetRot(-(o[ObjectEl::angle] + 180));
            int phase = (s + quarterSeconds) % 4;
            if (phase < 0) phase += 4;
            DrawImg(kGfxBank, o[ObjectEl::x], o[ObjectEl::y], static_cast<float>(kFirstBulletFrame + phase));
            // The bullet flies on after a hit and may cross the wreck unharmed.
            if (std::fabs(o[ObjectEl::x] - player[PlayerEl::x]) < kHitReach &&
                std::fabs(o[ObjectEl::y] - player[PlayerEl::y]) < kHitReach && player[PlayerEl::deathTime] < 1) {
                ShipHit();
            }
            if (o[ObjectEl::x] < -kOffScreen || o[ObjectEl::y] < -kOffScreen || o[ObjectEl::x] > jscrw + kOffScreen ||
                o[ObjectEl::y] > jscrh + kOffScreen) {
                o[ObjectEl::kind] = kFree;  // free from the next tick
            }
        }
    }
    return 0;
}
