// One tick of play: advances the world and records it into the display list.
//
//   if (!paused) game->Game();   // the dispatch, every tick of mode 10
//   game->Gimme(100, x, y);      // points plus a rising number at (x, y)
//
// The order of the steps is also the drawing order: background, stars, touch
// stick, grid, bonus marker, ring, ship, particles, enemies and bullets, score.
// A level opens (levelTime -60 .. -2), is played (0) and, once a tick counts no
// junk, is cleared (1 .. 181) before the next one is filled.
#include <cmath>

#include "game/world.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"
#include "shell/random.h"

namespace {

// Sound effects of a level.
constexpr int kSfxLevelOpens = 1, kSfxLevelCleared = 2, kSfxBonus = 3, kSfxJunk = 4;
// Frames of image bank 1.
constexpr int kGameBank = 1;
constexpr int kFrameBonus = 0, kFrameJunk = 2, kFrameRing = 3;

constexpr float kGridOrigin = -92;  // cell (0, 0) relative to the centre
constexpr float kCellPitch = 16;
constexpr float kJunkReach = 10, kBonusReach = 13;
constexpr int kJunkPoints = 5, kBonusPoints = 100;
constexpr int kBonusTries = 26;
constexpr int kMarkerLastCell = 12;  // the marker may look one cell past the played block

constexpr float kSoundAt = -40;
constexpr float kClearedTicks = 180;
constexpr int kRingSegments = 72;
constexpr float kRimRadius = 160;

// Particle kinds and the text particle's settings.
constexpr int kJunkSpark = 5, kBonusSpark = 6;
constexpr int kTextParticle = 99;
constexpr int kTextColour = 3;

// Where cell (column, row) is drawn and collected.
float CellX(int column) { return jscrw * 0.5f + kGridOrigin + kCellPitch * static_cast<float>(column); }
float CellY(int row) { return jscrh * 0.5f + kGridOrigin + kCellPitch * static_cast<float>(row); }

// A particle call's random arguments are drawn from the last to the first.
void ThrowSpark(MyApp& game, float x, float y, int type, float speedLow, float speedHigh) {
    float speed = random::Rnd2(speedLow, speedHigh);
    float angle = random::Rnd3(360);
    int colour = static_cast<int>(std::floor(random::Rnd2(1, 9.99f)));
    game.ThrowParticle(x, y, type, colour, angle, speed);
}

void CollectJunk(MyApp& game, float x, float y) {
    game.score += kJunkPoints;
    game.PlaySFX(kSfxJunk, random::Rnd2(0.7f, 1.4f), 1, 0);
    for (int n = 0; n < 5; ++n) ThrowSpark(game, x, y, kJunkSpark, 0.25f, 0.75f);
}

void CollectBonus(MyApp& game, float x, float y) {
    game.Gimme(kBonusPoints, x, y);
    game.PlaySFX(kSfxBonus, random::Rnd2(0.7f, 1.4f), 1, 0);
    for (int n = 0; n < 16; ++n) {
        ThrowSpark(game, x, y, kBonusSpark, 0.25f, 0.75f);
        ThrowSpark(game, x, y, kBonusSpark, 1.25f, 2.75f);
    }
}

// Counts, draws and collects the junk; says whether the bonus piece was there.
// A piece collected in this pass has already been counted.
bool PassGrid(MyApp& game) {
    float* player = game.player;
    player[PlayerEl::cellsLeft] = 0;
    float levelTime = player[PlayerEl::levelTime];
    if (levelTime == kSoundAt) game.PlaySFX(kSfxLevelOpens, 1, 1, 0);
    // The grid fades in while the level opens.
    float alpha = levelTime < 0 ? (levelTime + 60) / 60 : 1.0f;
    game.SetCol(255, 255, 255);
    game.Alpha(alpha);

    int ms = app::Millisecs();
    bool bonusSeen = false;
    for (int i = 0; i < kGridCells; ++i) {
        for (int j = 0; j < kGridCells; ++j) {
            float* cell = GridCell(game.grid, i, j);
            if (*cell == 0) continue;
            player[PlayerEl::cellsLeft] += 1;
            float x = CellX(i), y = CellY(j);
            bool bonus = i == player[PlayerEl::bonusCol] && j == player[PlayerEl::bonusRow];
            float reach = kJunkReach;
            if (bonus) {
                bonusSeen = true;
                game.SetRot(static_cast<float>(ms / 10));
                game.SetSize(0.5f);
                game.DrawImg(kGameBank, x, y, kFrameBonus);
                reach = kBonusReach;
            } else {
                game.SetRot(0);
                game.SetSize(1);
                game.DrawImg(kGameBank, x, y, kFrameJunk);
            }
            if (std::fabs(player[PlayerEl::x] - x) < reach && std::fabs(player[PlayerEl::y] - y) < reach) {
                *cell = 0;
                if (bonus) {
                    // Gone: a new one is chosen in this same tick.
                    bonusSeen = false;
                    CollectBonus(game, x, y);
                } else {
                    CollectJunk(game, x, y);
                }
            }
        }
    }
    return bonusSeen;
}

// The marker spins the other way from the bonus piece under it.
void DrawBonusMarker(MyApp& game) {
    game.SetRot(0);
    game.SetCol(255, 255, 255);
    game.Alpha(0.5f);
    game.SetSize(0.75f);
    int c = static_cast<int>(game.player[PlayerEl::bonusCol]);
    int r = static_cast<int>(game.player[PlayerEl::bonusRow]);
    if (c < 0 || c > kMarkerLastCell || r < 0 || r > kMarkerLastCell || !CellHasJunk(game.grid, c, r)) return;
    game.SetRot(static_cast<float>(-(app::Millisecs() / 30)));
    game.DrawImg(kGameBank, CellX(c), CellY(r), kFrameBonus);
}

// The last of the tries that lands on junk wins; when all miss, the old
// choice stays and the next tick tries again.
void ChooseBonus(MyApp& game) {
    for (int n = 0; n < kBonusTries; ++n) {
        int c = static_cast<int>(std::floor(random::Rnd3(11.99f)));
        int r = static_cast<int>(std::floor(random::Rnd3(11.99f)));
        if (CellHasJunk(game.grid, c, r)) {
            game.player[PlayerEl::bonusCol] = static_cast<float>(c);
            game.player[PlayerEl::bonusRow] = static_cast<float>(r);
        }
    }
}

// The opening runs -60 .. -2 and jumps to 0 (it never holds -1); a tick that
// counted no junk starts or continues the clearing.
void AdvanceLevel(MyApp& game) {
    float& levelTime = game.player[PlayerEl::levelTime];
    if (levelTime < 0) {
        levelTime += 1;
        if (levelTime > -2) {
            levelTime = 0;
            game.PlayTune(u"clustered", 1);
        }
    }
    if (game.player[PlayerEl::cellsLeft] != 0) return;
    if (levelTime == 0) {
        game.StopTune();
        game.PlaySFX(kSfxLevelCleared, 1, 1, 0);
    }
    levelTime += 1;
    if (levelTime > kClearedTicks) game.Refill();
}

// On the rim during play; closing in from radius 400 while the level opens,
// shrinking through the centre and turning inside out once it is cleared.
void DrawRing(MyApp& game) {
    game.SetSize(1);
    game.SetRot(0);
    game.Alpha(1);
    int ms = app::Millisecs();
    float levelTime = game.player[PlayerEl::levelTime];
    float radius = kRimRadius - 4 * levelTime;
    float cx = jscrw * 0.5f, cy = jscrh * 0.5f;
    for (int g = 0; g < kRingSegments; ++g) {
        game.RotInk(static_cast<float>(5 * g + ms / 20), 1, 1);
        float angle = static_cast<float>(5 * g) + levelTime;
        game.DrawImg(kGameBank, cx + SinDeg(angle) * radius, cy - CosDeg(angle) * radius, kFrameRing);
    }
}

}  // namespace

int MyApp::Game() {
    DoBG(0, 0, 0, -123);
    DoStars(0, 0.25f);
    AnalogueControl();
    bool bonusSeen = PassGrid(*this);
    DrawBonusMarker(*this);
    if (!bonusSeen) ChooseBonus(*this);
    AdvanceLevel(*this);
    DrawRing(*this);
    ShipSteps();
    DoParticles(1);
    DoObjects();
    ScoreDisplay();
    return 0;
}

int MyApp::Gimme(int points, float x, float y) {
    score += points;
    // With no free record the points still count.
    int record = FreeParticle();
    if (record < 0) return 0;
    float* p = particles + record * kRecordFloats;
    p[ParticleEl::type] = kTextParticle;
    p[ParticleEl::x] = x;
    p[ParticleEl::y] = y;
    p[ParticleEl::vx] = 0;
    p[ParticleEl::vy] = -0.25f;
    p[ParticleEl::rotation] = std::floor(random::Rnd3(360.99f));
    p[ParticleEl::spin] = random::Rnd2(-7, 7);
    p[ParticleEl::life] = 1;
    p[ParticleEl::colour] = kTextColour;
    p[ParticleEl::frame] = static_cast<float>(points);
    return 0;
}
