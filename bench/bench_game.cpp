// The cost of a game tick at its busiest (Hard, level 7, sixteen enemies on
// the rim firing, bullets in flight, the particle pool full) and of replaying
// that tick's display list through the graphics device. The state is put back
// before every measured tick, outside the timing, so each run measures the
// same tick. The test host stands in for the window; OpenGL calls go nowhere.
#include <benchmark/benchmark.h>

#include <memory>

#include "shell/myapp.h"
#include "tests/game/busy_game.h"
#include "tests/support/fake_host.h"

namespace {

void BM_BusyGameTick(benchmark::State& state) {
    FakeHost host;
    std::unique_ptr<MyApp> game(host.CreateApp<MyApp>());
    BusyGame busy(host, *game);
    for (auto _ : state) {
        state.PauseTiming();
        busy.Restore();
        state.ResumeTiming();
        host.Tick();
    }
    state.counters["commands"] = static_cast<double>(game->drawLength / MyApp::kCommandFloats);
}
BENCHMARK(BM_BusyGameTick);

void BM_BusyGameFrame(benchmark::State& state) {
    FakeHost host;
    std::unique_ptr<MyApp> game(host.CreateApp<MyApp>());
    BusyGame busy(host, *game);
    busy.Restore();
    host.Tick();
    for (auto _ : state) host.Frame();
    state.counters["commands"] = static_cast<double>(game->drawLength / MyApp::kCommandFloats);
}
BENCHMARK(BM_BusyGameFrame);

}  // namespace
