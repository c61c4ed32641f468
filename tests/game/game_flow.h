// A whole game driven through the dispatch, as the host runs it: loaded
// banks, a scripted clock and keys, and an audio device that logs the game's
// sound calls.
//
//   TEST_F(GameFlowTest, Something) {
//       StartGame(2);                 // Normal; the dispatch runs LoadGame
//       Step(60);                     // sixty ticks, 16 or 17 ms apart
//       EXPECT_EQ(Effects(), (std::vector<int>{1}));
//       EXPECT_TRUE(HasText(u"GAME"));
//   }
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/world.h"
#include "tests/shell/audio_log.h"
#include "tests/shell/shell_test.h"

class GameFlowTest : public ShellFixture<FakeHost> {
protected:
    static constexpr int kEscape = 27, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
    static constexpr int kMouseDown = 4, kMouseUp = 5, kMouseMove = 6;
    static constexpr float kCx = 320, kCy = 240;  // the arena's centre on the 640 x 480 screen
    // Elements of a display-list command.
    static constexpr int kX = 1, kY = 2, kRotation = 3, kScaleX = 4, kFrame = 6, kAlpha = 7;
    static constexpr int kGfx = 1, kIcons = 97;

    void SetUp() override {
        host.clockMs = 1000;
        FinishLoading();
        audio.calls.clear();
    }

    // Enters a game at a difficulty through the dispatch (mode 11).
    void StartGame(int difficulty) {
        game->difficulty = difficulty;
        game->mode = 11;
        Step();
    }

    // Ticks with the clock moving on by 16 and 17 ms in turn (60 a second).
    void Step(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            host.clockMs += (tickCount % 3 == 2) ? 18 : 16;
            tickCount += 1;
            host.Tick();
        }
    }

    // Holds a key for one tick and lets go of it, with a tick to clear the latch.
    void Press(int key) {
        host.PressKey(key);
        Step();
        host.ReleaseKey(key);
        Step();
    }

    // Runs through the opening of the level, into play.
    void SkipOpening() {
        while (game->player[PlayerEl::levelTime] < 0) Step();
    }
    // A game on Normal in play (past its opening) with no enemies, the sound log cleared.
    void StartPlaying() {
        StartGame(2);
        ClearObjects();
        SkipOpening();
        ClearObjects();
        audio.calls.clear();
    }

    // No enemies and no bullets: nothing can hit the ship.
    void ClearObjects() { std::fill(std::begin(game->objects), std::end(game->objects), 0.0f); }
    // The grid emptied except for the given cells.
    void OnlyJunkAt(std::initializer_list<std::pair<int, int>> cells) {
        game->ResetGrid();
        for (auto [column, row] : cells) *GridCell(game->grid, column, row) = 1;
    }
    static float CellX(int column) { return kCx - 92 + 16.0f * static_cast<float>(column); }
    static float CellY(int row) { return kCy - 92 + 16.0f * static_cast<float>(row); }
    void PutShip(float x, float y) {
        game->player[PlayerEl::x] = x;
        game->player[PlayerEl::y] = y;
    }
    float* Object(int slot) { return game->objects + MyApp::kRecordFloats * slot; }
    float& Player(int element) { return game->player[element]; }

    // The image commands of this frame drawing a frame of a bank.
    std::vector<const float*> Images(int bank, int frame) const {
        std::vector<const float*> found;
        for (int k = 0; k < Commands(); ++k) {
            const float* c = Command(k);
            if (c[0] == static_cast<float>(bank) && c[kFrame] == static_cast<float>(frame)) found.push_back(c);
        }
        return found;
    }
    int ParticlesOfType(int type) const {
        int count = 0;
        for (int r = 0; r <= game->lastParticle; ++r) count += game->particles[MyApp::kRecordFloats * r] == type;
        return count;
    }

    // The ids of the effects played since the log was last cleared, in order.
    std::vector<int> Effects() const {
        std::vector<int> ids;
        for (const AudioCall& call : audio.Of("play")) {
            for (int id = 0; id < MyApp::kSoundBanks; ++id) {
                if (game->sounds[id] && game->sounds[id]->sample.get() == call.sample) ids.push_back(id);
            }
        }
        return ids;
    }
    int CountEffect(int id) const {
        std::vector<int> ids = Effects();
        return static_cast<int>(std::count(ids.begin(), ids.end(), id));
    }
    // The tunes started ("fish", "clustered") and stopped ("stop") since the log was cleared.
    std::vector<std::string> Tunes() const {
        std::vector<std::string> events;
        for (const AudioCall& call : audio.calls) {
            if (call.what == "stopMusic") events.push_back("stop");
            if (call.what != "music") continue;
            std::string path = ToUtf8(call.path);
            size_t slash = path.rfind('/'), dot = path.rfind('.');
            events.push_back(path.substr(slash + 1, dot - slash - 1));
        }
        return events;
    }

    // The text lines drawn this frame: runs of glyphs of the font on one baseline
    // (spaces are not drawn, so they do not appear).
    std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> lines;
        float lastX = 0, lastY = 0;
        bool inRun = false;
        for (int k = 0; k < Commands(); ++k) {
            const float* c = Command(k);
            if (c[0] != static_cast<float>(game->currentFont)) {
                inRun = false;
                continue;
            }
            // Glyphs of one line share their y up to rounding.
            if (!inRun || std::fabs(c[2] - lastY) > 0.01f || c[1] < lastX) lines.emplace_back();
            lines.back().push_back(static_cast<char16_t>(c[6] + 32));
            inRun = true;
            lastX = c[1];
            lastY = c[2];
        }
        return lines;
    }
    bool HasText(std::u16string_view text) const {
        for (const std::u16string& line : Texts()) {
            if (line == text) return true;
        }
        return false;
    }

    AudioLog audio;  // made after the game: the game's sound calls come here
    int tickCount = 0;
};
