// Soak test: the whole game, headless, for a long stretch of game time with a
// seeded random player on keyboard, mouse, touch and a pad, who also resizes
// the window, minimises it, flips full screen and takes the focus away.
// After every tick and frame the game's state must still make sense (known
// mode, display list in bounds and finite, settings in range, score lists in
// order). Memory must stay flat: every 3000 ticks the window goes to one
// checkpoint size, and there the resident memory (/proc/self/statm) and the
// heap in use may not grow beyond allocator slack once warm-up has loaded
// every picture resolution.
//
//   build/tests/test_soak                              # 20 000 ticks (CTest)
//   ZT_SOAK_TICKS=216000 build/tests/test_soak         # an hour of game time
//   ZT_SOAK_SEED=7 ZT_SOAK_TICKS=50000 build/tests/test_soak   # another player
//
// The player never asks to quit: F4, the close codes and the title menu's
// Back would end the process (on purpose, with status 0), so back controls
// are held only where they mean "pause" or "close this overlay".
#include <gtest/gtest.h>
#include <unistd.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "shell/myapp.h"
#include "shell/globals.h"
#include "tests/support/fake_host.h"

namespace {

constexpr int kKeyDown = 1, kKeyUp = 2;
constexpr int kMouseDown = 4, kMouseUp = 5, kMouseMove = 6;
constexpr int kTouchDown = 7, kTouchUp = 8, kTouchMove = 9;
constexpr int kPadBase = 256, kPadCodesPerUnit = 32;

// Keys that quit at once wherever they are pressed: F4 and the two close codes.
constexpr int kQuitKeys[] = {115, 416, 432};
// Back on the keyboard (Escape, `, Delete, Backspace) and on a pad (back, start, 14).
constexpr int kBackKeys[] = {27, 192, 46, 8};
constexpr int kBackPadButtons[] = {6, 7, 14};
// What players press: arrows, both letter layouts, the buttons, the shell's
// function keys F1, F2 and F11.
constexpr int kPlayKeys[] = {38, 37, 39, 40, 87, 65, 68, 83, 90, 74, 32, 13, 88, 75, 17,
                             67, 76, 16, 86, 73, 66, 85, 78, 79, 112, 113, 122};

struct Size {
    int width, height;
};
// Window sizes in all three picture resolutions, portrait, tiny and minimised.
constexpr Size kSizes[] = {{640, 480},  {800, 600},  {1280, 720}, {1920, 1080}, {480, 640}, {320, 200},
                           {2560, 1440}, {1, 1},     {0, 0},      {300, 1000},  {1024, 768}};
// The first resizes load every resolution before memory is measured.
constexpr Size kWarmUpSizes[] = {{1280, 720}, {1920, 1080}, {2560, 1440}, {640, 480}};

int EnvInt(const char* name, int fallback) {
    const char* value = getenv(name);
    return value && *value ? atoi(value) : fallback;
}

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool IsBackPadButton(int button) {
    return std::find(std::begin(kBackPadButtons), std::end(kBackPadButtons), button) != std::end(kBackPadButtons);
}

bool IsBackKey(int code) {
    if (std::find(std::begin(kBackKeys), std::end(kBackKeys), code) != std::end(kBackKeys)) return true;
    return code >= kPadBase && code < kPadBase + 4 * kPadCodesPerUnit &&
           IsBackPadButton((code - kPadBase) % kPadCodesPerUnit);
}

bool IsQuitKey(int code) {
    return std::find(std::begin(kQuitKeys), std::end(kQuitKeys), code) != std::end(kQuitKeys);
}

// The host with one pad (unit 0) whose sticks and buttons the player works;
// it notes the last tune loaded (the music channel holds it, decoded whole).
class SoakHost : public FakeHost {
public:
    unsigned char* LoadAudioData(const String& path, int* length, int* channels, int* bytesPerSample,
                                 int* rate) override {
        unsigned char* data = FakeHost::LoadAudioData(path, length, channels, bytesPerSample, rate);
        if (data && path.ends_with(u".ogg")) lastTune = path;
        return data;
    }

    bool PollJoystick(int unit, float* joyX, float* joyY, float* joyZ, bool* buttons) override {
        if (unit != 0) return false;
        for (int i = 0; i < 2; ++i) joyX[i] = stickX[i], joyY[i] = stickY[i], joyZ[i] = 0;
        for (int i = 0; i < 32; ++i) buttons[i] = padButtons[i];
        return true;
    }
    float stickX[2] = {}, stickY[2] = {};
    bool padButtons[32] = {};
    String lastTune;
};

struct Coverage {
    long ticksInMode[12] = {};
    int gamesStarted = 0, pauses = 0, optionsOpened = 0, creditsOpened = 0;
    int resizes = 0, suspensions = 0;
};

// A player who presses whatever, whenever, except what quits.
class RandomPlayer {
public:
    RandomPlayer(SoakHost& host, MyApp& game, unsigned seed) : host(host), game(game), rng(seed) {}

    // Input for the next tick, given the state the game is in now.
    void Act() {
        bool backIsSafe = BackIsSafe();
        for (size_t i = 0; i < held.size();) {
            held[i].ticksLeft -= 1;
            if (held[i].ticksLeft > 0 && (backIsSafe || !IsBack(held[i]))) {
                ++i;
                continue;
            }
            Release(held[i]);
            held.erase(held.begin() + static_cast<long>(i));
        }
        if (Chance(0.08)) PressSomething();
        if (Chance(0.05)) MovePointer();
        if (Chance(0.01)) ClickOrTouch();
        if (Chance(0.02)) MoveSticks();
    }

    void ReleaseAll() {
        for (const Held& key : held) Release(key);
        held.clear();
        if (mouseDown) host.MouseEvent(kMouseUp, mouseButton, pointerX, pointerY);
        if (touchDown) host.TouchEvent(kTouchUp, 0, pointerX, pointerY);
        mouseDown = touchDown = false;
        host.stickX[0] = host.stickY[0] = host.stickX[1] = host.stickY[1] = 0;
    }

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }

private:
    struct Held {
        int code;  // a key code, or a button of the pad
        bool pad;
        int ticksLeft;
    };

    static bool IsBack(const Held& key) { return key.pad ? IsBackPadButton(key.code) : IsBackKey(key.code); }

    void Release(const Held& key) {
        if (key.pad) {
            host.padButtons[key.code] = false;
        } else {
            host.KeyEvent(kKeyUp, key.code);
        }
    }

    // Back pauses a game and closes an overlay on the title; on the bare
    // title menu it would end the program.
    bool BackIsSafe() const {
        return game.mode == 10 || (game.mode == 1 && (game.optionsOpen == 1 || game.creditsOpen == 1));
    }

    void PressSomething() {
        Held key = {0, false, 1 + Below(Chance(0.2) ? 120 : 12)};
        int pick = Below(10);
        if (pick < 6) {
            key.code = kPlayKeys[Below(static_cast<int>(std::size(kPlayKeys)))];
            if (key.code == 122 && !Chance(0.05)) return;  // full screen now and then, not all the time
        } else if (pick < 8) {
            key.code = kBackKeys[Below(static_cast<int>(std::size(kBackKeys)))];
        } else if (pick < 9) {
            key = {Below(16), true, key.ticksLeft};  // the pad's buttons, d-pad included
        } else {
            key.code = 1 + Below(511);  // anything at all
        }
        if ((!key.pad && IsQuitKey(key.code)) || (IsBack(key) && !BackIsSafe())) return;
        for (const Held& other : held)
            if (other.code == key.code && other.pad == key.pad) return;
        if (key.pad) {
            host.padButtons[key.code] = true;
        } else {
            host.KeyEvent(kKeyDown, key.code);
        }
        held.push_back(key);
    }

    void MovePointer() {
        pointerX = static_cast<float>(Below(host.width + 41) - 20);
        pointerY = static_cast<float>(Below(host.height + 41) - 20);
        host.MouseEvent(kMouseMove, 0, pointerX, pointerY);
        if (touchDown) host.TouchEvent(kTouchMove, 0, pointerX, pointerY);
    }

    void ClickOrTouch() {
        if (Chance(0.7)) {
            mouseDown = !mouseDown;
            if (mouseDown) mouseButton = Below(3);
            host.MouseEvent(mouseDown ? kMouseDown : kMouseUp, mouseButton, pointerX, pointerY);
        } else {
            touchDown = !touchDown;
            host.TouchEvent(touchDown ? kTouchDown : kTouchUp, 0, pointerX, pointerY);
        }
    }

    void MoveSticks() {
        std::uniform_real_distribution<float> axis(-1.0f, 1.0f);
        int stick = Below(2);
        bool centre = Chance(0.3);
        host.stickX[stick] = centre ? 0 : axis(rng);
        host.stickY[stick] = centre ? 0 : axis(rng);
    }

    SoakHost& host;
    MyApp& game;
    std::mt19937 rng;
    std::vector<Held> held;
    float pointerX = 0, pointerY = 0;
    bool mouseDown = false, touchDown = false;
    int mouseButton = 0;
};

bool Finite(float value) { return std::isfinite(value); }

// What must hold after every tick and frame; the first broken rule, or "".
std::string BrokenRule(const MyApp& game) {
    if (game.mode != 1 && game.mode != 2 && game.mode != 10 && game.mode != 11) return "unknown mode";
    if (game.loadStage < 0 || game.loadStage > 17) return "loader stage out of range";
    if (game.drawLength < 0 || game.drawLength > MyApp::kDrawListFloats - MyApp::kCommandFloats ||
        game.drawLength % MyApp::kCommandFloats != 0)
        return "display list length out of bounds";
    for (int at = 0; at < game.drawLength; at += MyApp::kCommandFloats) {
        const float* command = game.drawList + at;
        float code = command[0];
        bool shape = code >= MyApp::kCodeRect && code <= MyApp::kCodeTri && code == std::floor(code);
        bool image = code >= 0 && code < MyApp::kImageBanks && code == std::floor(code);
        if (!shape && !image) return "display list command with an unknown code";
        if (!std::all_of(command, command + MyApp::kCommandFloats, Finite)) return "display list holds a non-finite number";
    }
    if (!Finite(jscrw) || !Finite(jscrh) || jscrw <= 0 || jscrh <= 0) return "virtual screen lost";
    if (game.paused < 0 || game.paused > 1 || game.optionsOpen < 0 || game.optionsOpen > 1 ||
        game.creditsOpen < 0 || game.creditsOpen > 1 || game.optionsFade < 0 || game.optionsFade > 30)
        return "overlay flags out of range";
    if (game.difficulty < 1 || game.difficulty > 3 || game.menuSel < 0 || game.menuSel > 2 || game.menuFocus < 0 ||
        game.menuFocus > 2)
        return "title menu state out of range";
    for (int setting : {5, 6, 7})
        if (game.settings[setting] < 0 || game.settings[setting] > 3) return "sound setting out of range";
    if (game.score < 0) return "negative score";
    if (game.mode == 10) {
        float lives = game.player[PlayerEl::lives];
        if (lives < 0 || lives > 3) return "lives out of range";
        if (!Finite(game.player[PlayerEl::x]) || !Finite(game.player[PlayerEl::y])) return "ship position lost";
    }
    for (int i = 0; i < MyApp::kPoolFloats; i += MyApp::kRecordFloats) {
        float kind = game.objects[i];
        if (kind != 0 && kind != 1 && kind != 10) return "object slot of unknown kind";
    }
    for (int list = 0; list < 3; ++list) {
        const int* top = game.highscores + 10 * list;
        if (!std::is_sorted(top, top + 10, std::greater<int>())) return "top ten out of order";
    }
    return "";
}

// Memory is measured at checkpoints, always in the same state: the window at
// 800 x 600 and the loader done, so the same pictures are loaded; freed heap
// is handed back to the system first, so that what stays resident is what
// the game holds (plus the allocator's fragments). Only checkpoints that hold
// the same tune are compared (the in-game tune is ten times the other).
struct Checkpoints {
    static constexpr int kEvery = 3000;  // ticks
    static constexpr int kSettle = 60;   // ticks for the loader to finish
    static constexpr Size kSize = {800, 600};

    struct Sample {
        int tick;
        String tune;
        long residentKb, heapKb;
    };

    bool Due(int tick) const { return tick > 0 && tick % kEvery == 0; }
    bool Settling(int tick) const { return tick % kEvery < kSettle; }

    void Take(int tick, const SoakHost& host, const MyApp& game) {
        if (host.width != kSize.width || host.height != kSize.height || game.loadStage != 0) return;
        malloc_trim(0);
        struct mallinfo2 heap = mallinfo2();
        long heapKb = static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
        samples.push_back({tick, host.lastTune, ResidentKb(), heapKb});
        if (getenv("ZT_SOAK_VERBOSE"))
            printf("soak: tick %d, tune %s, resident %ld KB, heap in use %ld KB\n", tick,
                   ToUtf8(host.lastTune).c_str(), samples.back().residentKb, heapKb);
    }

    // Growth from the first checkpoint after warm-up to the largest later one
    // that holds the same tune.
    long Growth(int warmUpTicks, long Sample::*field) const {
        long growth = 0;
        for (const Sample& first : samples) {
            if (first.tick < warmUpTicks || !FirstWithItsTune(first, warmUpTicks)) continue;
            for (const Sample& later : samples)
                if (later.tick > first.tick && later.tune == first.tune)
                    growth = std::max(growth, later.*field - first.*field);
        }
        return growth;
    }

    // Checkpoints after warm-up that have an earlier one to be compared with.
    int Compared(int warmUpTicks) const {
        int count = 0;
        for (const Sample& sample : samples)
            count += sample.tick >= warmUpTicks && !FirstWithItsTune(sample, warmUpTicks);
        return count;
    }

    bool FirstWithItsTune(const Sample& sample, int warmUpTicks) const {
        for (const Sample& other : samples)
            if (other.tick >= warmUpTicks && other.tick < sample.tick && other.tune == sample.tune) return false;
        return true;
    }

    std::vector<Sample> samples;
};

// Every so often the window takes a new size (during warm-up, each picture
// resolution in turn), and the focus goes away for a few seconds: the keys
// go up, the game is suspended (and saves), frames go on.
class WindowChanges {
public:
    WindowChanges(SoakHost& host, RandomPlayer& player, Coverage& seen, int warmUpTicks)
        : host(host), player(player), seen(seen), warmUpTicks(warmUpTicks),
          warmUpEvery(warmUpTicks / static_cast<int>(std::size(kWarmUpSizes) + 1)) {}

    void BeforeTick(int tick, const Checkpoints& checkpoints) {
        if (checkpoints.Due(tick)) {
            Resize(Checkpoints::kSize);
        } else if (tick < warmUpTicks) {
            int step = tick / warmUpEvery;
            if (tick % warmUpEvery == 0 && step >= 1 && step <= static_cast<int>(std::size(kWarmUpSizes)))
                Resize(kWarmUpSizes[step - 1]);
        } else if (!checkpoints.Settling(tick) && player.Chance(1.0 / 1500)) {
            Resize(kSizes[player.Below(static_cast<int>(std::size(kSizes)))]);
        }
        if (suspendedUntil < 0 && !checkpoints.Settling(tick) && player.Chance(1.0 / 4000)) {
            player.ReleaseAll();
            host.SuspendGame();
            suspendedUntil = tick + 30 + player.Below(300);
            seen.suspensions += 1;
        }
        if (suspendedUntil >= 0 && tick >= suspendedUntil) {
            host.ResumeGame();
            suspendedUntil = -1;
        }
    }

    bool Suspended() const { return suspendedUntil >= 0; }

private:
    void Resize(Size size) {
        host.SetWindowSize(size.width, size.height);
        seen.resizes += 1;
    }

    SoakHost& host;
    RandomPlayer& player;
    Coverage& seen;
    int warmUpTicks, warmUpEvery;
    int suspendedUntil = -1;
};

// The few fields that tell what happened in a tick, from before it.
struct Before {
    int mode, paused, optionsOpen, creditsOpen;
};

void Count(Coverage& seen, const MyApp& game, const Before& before) {
    if (game.mode >= 0 && game.mode < 12) seen.ticksInMode[game.mode] += 1;
    if (game.mode == 11 && before.mode != 11) seen.gamesStarted += 1;
    if (game.mode == 10 && game.paused == 1 && before.paused == 0) seen.pauses += 1;
    if (game.optionsOpen == 1 && before.optionsOpen == 0) seen.optionsOpened += 1;
    if (game.creditsOpen == 1 && before.creditsOpen == 0) seen.creditsOpened += 1;
}

}  // namespace

TEST(Soak, RandomPlayerThroughMenusGamesPausesOptionsAndResizes) {
    const int ticks = EnvInt("ZT_SOAK_TICKS", 20000);
    const unsigned seed = static_cast<unsigned>(EnvInt("ZT_SOAK_SEED", 1));
    const int warmUpTicks = std::min(ticks / 3, 6000);

    SoakHost host;
    MyApp* game = host.CreateApp<MyApp>();
    RandomPlayer player(host, *game, seed);
    Coverage seen;
    Checkpoints checkpoints;
    WindowChanges window(host, player, seen, warmUpTicks);
    const long residentAtStart = ResidentKb();
    long residentPeak = residentAtStart;
    auto started = std::chrono::steady_clock::now();

    for (int tick = 0; tick < ticks; ++tick) {
        host.clockMs += tick % 3 == 0 ? 16 : 17;  // 60 ticks a second
        window.BeforeTick(tick, checkpoints);
        if (!window.Suspended()) player.Act();
        Before before = {game->mode, game->paused, game->optionsOpen, game->creditsOpen};

        host.Tick();
        host.Frame();

        std::string broken = BrokenRule(*game);
        ASSERT_EQ(broken, "") << "at tick " << tick << " (mode " << game->mode << ", window " << host.width << "x"
                              << host.height << ", seed " << seed << ")";
        Count(seen, *game, before);
        if (tick % Checkpoints::kEvery == Checkpoints::kSettle) checkpoints.Take(tick, host, *game);
        if (tick % 500 == 0) residentPeak = std::max(residentPeak, ResidentKb());
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long heapGrowth = checkpoints.Growth(warmUpTicks, &Checkpoints::Sample::heapKb);
    const long residentGrowth = checkpoints.Growth(warmUpTicks, &Checkpoints::Sample::residentKb);

    printf("soak: %d ticks (%.1f minutes of game time) in %.1f s, seed %u\n", ticks, ticks / 3600.0, seconds, seed);
    printf("soak: ticks on the title %ld, starting a game %ld, in a game %ld, back to the title %ld\n",
           seen.ticksInMode[1], seen.ticksInMode[11], seen.ticksInMode[10], seen.ticksInMode[2]);
    printf("soak: %d games, %d pauses, %d options overlays, %d credits pages, %d resizes, %d suspensions, %d saves\n",
           seen.gamesStarted, seen.pauses, seen.optionsOpened, seen.creditsOpened, seen.resizes, seen.suspensions,
           host.saves);
    printf("soak: resident memory %ld KB at start, peak %ld KB; over %d checkpoints after warm-up the heap in use "
           "grew by %ld KB and the resident memory by %ld KB\n",
           residentAtStart, residentPeak, checkpoints.Compared(warmUpTicks), heapGrowth, residentGrowth);

    // The player really went everywhere the soak claims to cover.
    EXPECT_GT(seen.gamesStarted, 0);
    EXPECT_GT(seen.pauses, 0);
    EXPECT_GT(seen.optionsOpened, 0);
    EXPECT_GT(seen.resizes, 0);
    EXPECT_GE(checkpoints.Compared(warmUpTicks), 2) << "too few memory checkpoints to call it flat";
    // Flat: the same screen holds the same memory an hour later, give or
    // take a little allocator slack (under AddressSanitizer the quarantine
    // holds freed blocks for a while, so only the heap in use is compared).
    EXPECT_LT(heapGrowth, 2048) << "the heap in use grows during play";
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(residentGrowth, 4096) << "resident memory grows during play";
#endif
    delete game;
}
