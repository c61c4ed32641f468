// Frames and updates per second of the real game at its busiest: the real
// host and main loop (QvTarvikGame::MainWith, Run, RunPass with its 60 Hz
// schedule and the swap interval the game sets), the real OpenGL and OpenAL
// devices, and MyApp in the busy scene of tests/game/busy_game.h -- Hard,
// level 7, sixteen enemies on the rim, bullets in flight, the particle pool
// full -- kept that busy: the ship cannot die, the grid never empties, and
// free particle and bullet records are filled again.
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_frame_rate
//   build/bench/bench_frame_rate --benchmark_filter=FrameRate/1280
//   build/bench/bench_frame_rate --seconds=5               # a shorter measurement
//   build/bench/bench_frame_rate --run=1280x720 --seconds=5   # one run, in this process (for perf)
//
// Every case runs the game in a child process of its own (this program again,
// with --run=WxH), so each starts from nothing and its start-up and peak
// memory are its own. The child opens the window at the requested size before
// anything is loaded, focuses it with xdotool as a window manager would (an
// unfocused game suspends itself), starts the busy game once loading is done,
// warms up for two seconds and then measures. Counters (per frame = per
// presented frame):
//   updates/s, frames/s  ticks and presented frames per second of wall time
//   cpu_ms/frame         CPU time of the whole process: main thread, llvmpipe's
//                        rasteriser threads, OpenAL's mixer
//   main_ms/frame        CPU time of the main thread
//   render_ms            wall time from the end of the pass's events or ticks
//                        to the swap: the replay and the GL calls
//   swap_ms              wall time in the swap, where llvmpipe rasterises the
//                        frame and hands it to the X server
//   update_ms            wall time of the ticks, per frame
//   commands             display-list commands per frame
//   first_frame_ms       process start to the first frame presented
//   loaded_ms            process start to the end of loading
//   peak_MiB             the process's peak resident memory (VmHWM)
//   suspends             times the game lost the focus (must be 0)
// The Time column is the whole child run and says nothing by itself.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/app.h"
#include "host/graphics_seq.h"
#include "host/qvglfwgame.h"
#include "shell/myapp.h"
#include "shell/random.h"
#include "tests/game/busy_game.h"

extern char** environ;

namespace {

constexpr double kWarmUpSeconds = 2;
constexpr double kDefaultSeconds = 10;
constexpr double kGiveUpSeconds = 60;  // no busy game by then: something is wrong
constexpr int kBulletSlotsFrom = 16, kLastObjectSlot = 50;
constexpr int kFewestPieces = 24;  // below this the grid is filled again
constexpr int kGridSide = 12;

double Seconds(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
double Now() { return Seconds(CLOCK_MONOTONIC); }

double PeakMiB() {
    FILE* status = fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    double kib = 0;
    while (fgets(line, sizeof line, status)) {
        if (strncmp(line, "VmHWM:", 6) == 0) kib = atof(line + 6);
    }
    fclose(status);
    return kib / 1024;
}

// ---- the child: one run of the game ----------------------------------------

struct RunOptions {
    int width = 640, height = 480;
    double seconds = kDefaultSeconds;
    double launchedAt = 0;  // CLOCK_REALTIME seconds of the process start
};

// Sums over the measured window.
struct Sums {
    int frames = 0, updates = 0;
    double renderSeconds = 0, swapSeconds = 0, updateSeconds = 0;
    double commands = 0;
};

class BusyApp;

// What the run knows across the host, the platform and the app.
struct Run {
    RunOptions options;
    double mark = 0;  // when the pass's events or last tick ended
    double firstFrameAt = 0, loadedAt = 0, busyAt = 0;
    bool measuring = false;
    double measureStart = 0, cpuStart = 0, threadCpuStart = 0;
    Sums sums;
    int suspends = 0;
    std::filesystem::path folder;  // the run's working directory (its state file)
} run;

double SinceLaunch(double realtime) { return (realtime - run.options.launchedAt) * 1000; }

[[noreturn]] void Finish(bool measured);

// The busy game: MyApp that sets up the busy scene once loading is done and
// keeps it busy before every tick.
class BusyApp : public MyApp {
public:
    int OnCreate() override {
        if (run.options.width != 640 || run.options.height != 480) {
            app::SetDeviceWindow(run.options.width, run.options.height, 0);
            app::ValidateDeviceWindow();
        }
        return MyApp::OnCreate();
    }

    int OnUpdate() override {
        double start = Now();
        Prepare();
        MyApp::OnUpdate();
        if (stage == Stage::loading && loadStage == 0) {
            run.loadedAt = Seconds(CLOCK_REALTIME);
            stage = Stage::startGame;
        }
        run.mark = Now();
        if (run.measuring) {
            run.sums.updates += 1;
            run.sums.updateSeconds += run.mark - start;
        }
        return 0;
    }

    int OnRender() override {
        if (run.measuring) run.sums.commands += drawLength / kCommandFloats;
        return MyApp::OnRender();
    }

    int OnSuspend() override {
        run.suspends += 1;
        return MyApp::OnSuspend();
    }

private:
    enum class Stage { loading, startGame, makeBusy, busy };

    void Prepare() {
        switch (stage) {
        case Stage::loading:
            break;
        case Stage::startGame:
            difficulty = 3;  // Hard
            mode = 11;       // this tick's dispatch starts the game
            stage = Stage::makeBusy;
            break;
        case Stage::makeBusy:
            player[PlayerEl::level] = 6;
            Refill();  // level 7 on Hard: sixteen enemies
            BusyGame::MakeBusy(*this);
            SeedRnd(1234);
            PlayTune(u"clustered", 1);  // the level's tune, as after an opening
            SaveScene();
            run.busyAt = Now();
            stage = Stage::busy;
            break;
        case Stage::busy:
            KeepBusy();
            break;
        }
    }

    void SaveScene() {
        std::copy(std::begin(grid), std::end(grid), savedGrid.begin());
        std::copy(std::begin(objects), std::end(objects), savedObjects.begin());
        std::copy(std::begin(particles), std::end(particles), savedParticles.begin());
    }

    // Puts a saved record back where the game has freed it.
    static void RefillRecord(float* records, const std::vector<float>& saved, int index, float kind) {
        float* record = records + kRecordFloats * index;
        const float* from = saved.data() + kRecordFloats * index;
        if (record[0] == 0 && from[0] == kind) std::copy(from, from + kRecordFloats, record);
    }

    void KeepBusy() {
        // The ship is hit but never dies, so the game never ends.
        player[PlayerEl::lives] = 3;
        player[PlayerEl::deathTime] = 0;
        int pieces = 0;
        for (int j = 0; j < kGridSide; ++j) {
            for (int i = 0; i < kGridSide; ++i) pieces += grid[(j * kGridRowCells + i) * kRecordFloats] != 0;
        }
        if (pieces < kFewestPieces) std::copy(savedGrid.begin(), savedGrid.end(), std::begin(grid));
        for (int r = 0; r <= lastParticle; ++r) {
            const float type = savedParticles[kRecordFloats * r];
            RefillRecord(particles, savedParticles, r, type);
        }
        for (int s = kBulletSlotsFrom; s <= kLastObjectSlot; ++s) RefillRecord(objects, savedObjects, s, 10);
    }

    Stage stage = Stage::loading;
    std::vector<float> savedGrid = std::vector<float>(kGridFloats);
    std::vector<float> savedObjects = std::vector<float>(kPoolFloats);
    std::vector<float> savedParticles = std::vector<float>(kPoolFloats);
};

// The window system as the real loop uses it, with the bench's clocks around
// the swap and a window manager's focus for each new window.
class BenchPlatform : public LoopPlatform {
public:
    void SwapBuffers() override {
        double start = Now();
        LoopPlatform::SwapBuffers();
        double end = Now();
        if (run.firstFrameAt == 0) run.firstFrameAt = Seconds(CLOCK_REALTIME);
        if (run.measuring) {
            run.sums.frames += 1;
            run.sums.renderSeconds += start - run.mark;
            run.sums.swapSeconds += end - start;
        }
        AfterFrame(end);
    }
    void PollEvents() override {
        LoopPlatform::PollEvents();
        run.mark = Now();
    }
    void WaitEvents() override {
        LoopPlatform::WaitEvents();
        run.mark = Now();
    }
    bool WindowActive() override {
        if (focusedWindow != glfwGraphicsSeq && !LoopPlatform::WindowActive()) {
            focusedWindow = glfwGraphicsSeq;
            Focus();
        }
        return LoopPlatform::WindowActive();
    }

private:
    static void Focus() {
        char command[160];
        snprintf(command, sizeof command,
                 "timeout 10 xdotool search --sync --onlyvisible --pid %d windowfocus --sync >/dev/null 2>&1",
                 static_cast<int>(getpid()));
        if (std::system(command) != 0) fprintf(stderr, "could not focus the game's window\n");
    }

    static void AfterFrame(double now) {
        if (run.busyAt > 0 && !run.measuring && now >= run.busyAt + kWarmUpSeconds) {
            run.measuring = true;
            run.measureStart = now;
            run.cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
            run.threadCpuStart = Seconds(CLOCK_THREAD_CPUTIME_ID);
            run.sums = Sums();
            run.suspends = 0;
        } else if (run.measuring && now >= run.measureStart + run.options.seconds) {
            Finish(true);
        } else if (run.busyAt == 0 && now >= startedAt + kGiveUpSeconds) {
            Finish(false);
        }
    }

    int focusedWindow = 0;
    static inline double startedAt = Now();
};

BenchPlatform platform;

void Finish(bool measured) {
    if (measured) {
        const double elapsed = Now() - run.measureStart;
        const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - run.cpuStart;
        const double threadCpu = Seconds(CLOCK_THREAD_CPUTIME_ID) - run.threadCpuStart;
        const Sums& s = run.sums;
        const double frames = s.frames > 0 ? s.frames : 1;
        printf("result updates/s=%.2f frames/s=%.2f cpu_ms/frame=%.3f main_ms/frame=%.3f render_ms=%.3f "
               "swap_ms=%.3f update_ms=%.3f commands=%.0f first_frame_ms=%.1f loaded_ms=%.1f peak_MiB=%.1f "
               "suspends=%d\n",
               s.updates / elapsed, s.frames / elapsed, cpu * 1000 / frames, threadCpu * 1000 / frames,
               s.renderSeconds * 1000 / frames, s.swapSeconds * 1000 / frames, s.updateSeconds * 1000 / frames,
               s.commands / frames, SinceLaunch(run.firstFrameAt), SinceLaunch(run.loadedAt), PeakMiB(),
               run.suspends);
    } else {
        printf("failed: the busy game did not start within %.0f s\n", kGiveUpSeconds);
    }
    std::error_code ignored;
    std::filesystem::remove_all(run.folder, ignored);
    QuitProcess(measured ? 0 : 1);
}

int RunGame(const RunOptions& options, char* program) {
    run.options = options;
    if (run.options.launchedAt == 0) run.options.launchedAt = Seconds(CLOCK_REALTIME);
    char* argv[] = {program, nullptr};
    return QvTarvikGame::MainWith(1, argv, [] {
        // A fresh working directory, once the window system has started: no
        // saved settings are read, none are left behind.
        char folder[] = "/tmp/zt-frame-rate-XXXXXX";
        if (!mkdtemp(folder) || chdir(folder) != 0) QuitProcess(1);
        run.folder = folder;
        new BusyApp();
        QvGlfwGame::_glfwGame->SetLoopPlatform(&platform);
    });
}

// ---- the parent: one benchmark case per child ------------------------------

std::map<std::string, double> ParseResult(const std::string& line) {
    std::map<std::string, double> values;
    size_t at = 0;
    while ((at = line.find('=', at)) != std::string::npos) {
        size_t keyStart = line.rfind(' ', at) + 1;
        values[line.substr(keyStart, at - keyStart)] = atof(line.c_str() + at + 1);
        at += 1;
    }
    return values;
}

double childSeconds = kDefaultSeconds;

// Runs this program with --run=WxH; returns its output.
std::string RunChild(int width, int height) {
    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    std::string size = "--run=" + std::to_string(width) + "x" + std::to_string(height);
    std::string launched = "--launched-ns=" + std::to_string(now.tv_sec * 1000000000LL + now.tv_nsec);
    std::string seconds = "--seconds=" + std::to_string(childSeconds);
    std::vector<char*> argv = {self.data(), size.data(), seconds.data(), launched.data(), nullptr};
    int out[2];
    if (pipe(out) != 0) return "";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t child = 0;
    int failed = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[4096];
    ssize_t n;
    while (!failed && (n = read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    if (!failed) waitpid(child, nullptr, 0);
    return text;
}

void BM_FrameRate(benchmark::State& state) {
    const char* display = getenv("DISPLAY");
    if (!display || !*display) {
        state.SkipWithError("no X display: run under xvfb-run -s \"-screen 0 1920x1080x24\"");
        return;
    }
    std::string output;
    for (auto _ : state) output = RunChild(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    size_t at = output.find("result ");
    if (at == std::string::npos) {
        state.SkipWithError(("the game run failed: " + output).c_str());
        return;
    }
    for (const auto& [name, value] : ParseResult(output.substr(at, output.find('\n', at) - at)))
        state.counters[name] = value;
}
BENCHMARK(BM_FrameRate)
    ->Args({640, 480})
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

bool ReadFlag(std::string_view arg, std::string_view name, std::string_view* value) {
    if (arg.substr(0, name.size()) != name) return false;
    *value = arg.substr(name.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    RunOptions options;
    bool child = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view value;
        if (ReadFlag(argv[i], "--run=", &value)) {
            child = sscanf(std::string(value).c_str(), "%dx%d", &options.width, &options.height) == 2;
        } else if (ReadFlag(argv[i], "--seconds=", &value)) {
            options.seconds = atof(std::string(value).c_str());
        } else if (ReadFlag(argv[i], "--launched-ns=", &value)) {
            options.launchedAt = atof(std::string(value).c_str()) * 1e-9;
        }
    }
    if (child) return RunGame(options, argv[0]);
    childSeconds = options.seconds;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
