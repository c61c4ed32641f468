// The game world and its levels: starting a game, clearing the records, and
// filling the grid and placing the enemies at the start of every level.
//
//   mode = 11;           // the dispatch then calls LoadGame once, which enters mode 10
//   game->Refill();      // next level: grid refilled, enemies for the difficulty
//
// Every record is a flat float array owned by MyApp; nothing is allocated here.
// Random values are drawn in a fixed order so that a game replays from its
// seed and clock.
#include "game/world.h"

#include <cmath>

#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/random.h"

namespace {

constexpr int kPlayerResetFloats = 500;  // elements 0..499; the rest outlive a game
constexpr int kLargestCount = 500;       // a star or particle count must stay below this
constexpr int kMostEnemiesIndex = 15;    // slots 0..15: at most 16 enemies
constexpr float kEnemyStartRadius = 600;
constexpr int kStartLives = 3;
constexpr float kStartHeading = -180;  // travels upwards
constexpr float kStartBelowCentre = 140;
constexpr float kAppearTicks = -60;
constexpr float kOpeningTicks = -60;

template <int N>
void ClearFloats(float (&values)[N]) {
    for (float& value : values) value = 0;
}

}  // namespace

float* GridCell(float* grid, int column, int row) {
    return grid + (row * MyApp::kGridRowCells + column) * MyApp::kRecordFloats;
}

bool CellHasJunk(const float* grid, int column, int row) {
    // Only the 12 x 12 block is ever filled; around it the cells read empty,
    // and outside the stored block there are none at all.
    if (column < 0 || row < 0 || column >= MyApp::kGridRowCells || row >= MyApp::kGridRowCells) return false;
    return grid[(row * MyApp::kGridRowCells + column) * MyApp::kRecordFloats] != 0;
}

int EnemyCount(int difficulty, int level) {
    int last = static_cast<int>(static_cast<float>(level - 1) / 3.0f);
    if (difficulty == 2) last = level - 1;
    if (difficulty == 3) last = 2 * level + 1;
    if (last < 0) last = 0;
    if (last > kMostEnemiesIndex) last = kMostEnemiesIndex;
    return last + 1;
}

int MyApp::LoadGame() {
    mode = 10;
    PlayTune(u"fish", 1);
    FlushGame();
    player[PlayerEl::level] = 0;
    Refill();
    player[PlayerEl::lives] = kStartLives;
    player[PlayerEl::heading] = kStartHeading;
    player[PlayerEl::wantedHeading] = kStartHeading;
    player[PlayerEl::appearTime] = kAppearTicks;
    player[PlayerEl::x] = jscrw * 0.5f;
    player[PlayerEl::y] = jscrh * 0.5f + kStartBelowCentre;
    // Far off screen: no old trail copy shows before the ship has flown.
    for (float& value : trail) value = -100;
    return 0;
}

int MyApp::FlushGame() {
    ResetObj();
    ResetGrid();
    ResetStars(100);
    ResetParticles(250);
    ResetPlayers();
    paused = 0;
    score = 0;
    gameEnded = 0;
    gameOverTime = 0;
    quitGame = 0;
    return 0;
}

int MyApp::ResetObj() {
    ClearFloats(objects);
    return 0;
}

int MyApp::ResetGrid() {
    ClearFloats(grid);
    return 0;
}

int MyApp::ResetPlayers() {
    for (int i = 0; i < kPlayerResetFloats; ++i) player[i] = 0;
    return 0;
}

int MyApp::ResetStars(int count) {
    if (count > 0 && count < kLargestCount) lastStar = count;
    if (lastStar < 0) return 0;
    SeedRnd(app::Millisecs());
    for (int s = 0; s <= lastStar; ++s) {
        float* star = stars + s * kRecordFloats;
        star[StarEl::frame] = std::floor(random::Rnd3(255.99f));
        star[StarEl::x] = random::Rnd3(jscrw + 16) - 8;
        star[StarEl::y] = random::Rnd3(jscrh + 16) - 8;
        star[StarEl::speed] = random::Rnd2(0.2f, 0.8f);
        star[StarEl::rotation] = random::Rnd3(360);
        star[StarEl::spin] = random::Rnd2(-0.5f, 0.5f);
    }
    return 0;
}

int MyApp::ResetParticles(int count) {
    if (count > 0 && count < kLargestCount) lastParticle = count;
    for (int r = 0; r <= lastParticle; ++r) particles[r * kRecordFloats + ParticleEl::type] = 0;
    return 0;
}

int MyApp::Refill() {
    player[PlayerEl::level] += 1;
    player[PlayerEl::levelTime] = kOpeningTicks;

    // Column by column; about half the cells get a piece (0.99 in 1.99).
    for (int i = 0; i < kGridCells; ++i) {
        for (int j = 0; j < kGridCells; ++j) *GridCell(grid, i, j) = std::floor(random::Rnd3(1.99f));
    }
    player[PlayerEl::bonusCol] = -1;
    player[PlayerEl::bonusRow] = -1;

    // Slots above the enemies are left alone: bullets in flight carry on into
    // the new level. An enemy keeps the countdowns its slot held before.
    int enemies = EnemyCount(difficulty, static_cast<int>(player[PlayerEl::level]));
    for (int k = 0; k < enemies; ++k) {
        float* enemy = objects + k * kRecordFloats;
        enemy[ObjectEl::kind] = 1;
        enemy[ObjectEl::radius] = kEnemyStartRadius;
        enemy[ObjectEl::approachSpeed] = random::Rnd2(1.4f, 2.8f);
        enemy[ObjectEl::angle] = random::Rnd3(360);
        enemy[ObjectEl::spin] = 0;
    }
    return 0;
}
