// A game replays exactly: the same input on the same clock, from a fresh start,
// gives the same score, the same pictures tick by tick and the same saved text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/gxtk_audio.h"
#include "graphics/gxtk_graphics.h"
#include "host/app.h"
#include "input/input_device.h"
#include "shell/myapp.h"
#include "tests/shell/audio_log.h"
#include "tests/support/fake_host.h"

namespace {

constexpr int kEscape = 27, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39;

struct KeyEvent {
    int tick;
    int key;
    bool down;
};

// Steering, a pause and a resume, then a quit from the pause menu.
const KeyEvent kRecording[] = {
    {70, kRight, true},  {88, kRight, false}, {120, kLeft, true},   {150, kLeft, false}, {180, kUp, true},
    {185, kRight, true}, {210, kUp, false},   {230, kRight, false}, {300, kEscape, true}, {303, kEscape, false},
    {310, kLeft, true},  {330, kLeft, false}, {340, kEscape, true}, {342, kEscape, false}, {420, kLeft, true},
    {470, kLeft, false}, {640, kEscape, true}, {642, kEscape, false}, {660, kUp, true},    {662, kUp, false},
    {670, kSpace, true}, {672, kSpace, false},
};

struct Replay {
    int score = 0;
    int ticks = 0;
    int levels = 0;
    uint64_t pictures = 1469598103934665603ull;  // FNV-1a over every tick's display list
    String saved;
};

void Mix(uint64_t& hash, const void* bytes, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
}

// Takes down what one run made (the app, its delegate and devices), so that
// the next run's start-up leaves nothing of it behind.
void TearDown(MyApp* game) {
    GameDelegate* delegate = app::_delegate;
    delete game;
    if (!delegate) return;
    delete delegate->graphics;
    delete delegate->audio;
    delete delegate->input;
    delete delegate;
    app::_delegate = nullptr;
}

Replay PlayRecording() {
    FakeHost host;
    host.clockMs = 5000;
    MyApp* game = host.CreateApp<MyApp>();
    AudioLog audio;
    for (int i = 0; i < 100 && game->loadStage > 0; ++i) host.Tick();
    game->difficulty = 3;
    game->mode = 11;

    Replay replay;
    bool started = false;
    for (int tick = 0; tick < 2000; ++tick) {
        // Keys reach only the game: after it ends they would act on the title menu.
        for (const KeyEvent& event : kRecording) {
            if (event.tick != tick || game->mode != 10) continue;
            if (event.down) host.PressKey(event.key);
            if (!event.down) host.ReleaseKey(event.key);
        }
        host.clockMs += tick % 3 == 2 ? 18 : 16;
        host.Tick();
        Mix(replay.pictures, game->drawList, sizeof(float) * static_cast<size_t>(game->drawLength));
        started = started || game->mode == 10;
        replay.ticks = tick;
        replay.levels = std::max(replay.levels, static_cast<int>(game->player[PlayerEl::level]));
        if (started && game->mode == 1 && game->gameOverTime == 0) break;
    }
    replay.score = game->score;
    replay.saved = host.LoadState();
    TearDown(game);
    return replay;
}

}  // namespace

TEST(Replay, TheSameInputOnTheSameClockPlaysTheSameGame) {
    Replay first = PlayRecording();
    Replay second = PlayRecording();
    EXPECT_GT(first.score, 0) << "the recording collects junk";
    EXPECT_LT(first.ticks, 1999) << "the game ended and the title menu came back";
    EXPECT_FALSE(first.saved.empty());
    EXPECT_EQ(second.score, first.score);
    EXPECT_EQ(second.ticks, first.ticks);
    EXPECT_EQ(second.levels, first.levels);
    EXPECT_EQ(second.pictures, first.pictures);
    EXPECT_EQ(second.saved, first.saved);
}
