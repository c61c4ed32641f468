// The game shell's per-tick and per-frame costs: one OnUpdate tick, and one
// replay of a full display list (2499 commands) through the graphics device.
// The test host stands in for the window; OpenGL calls go nowhere, so the
// replay measures the shell, the graphics module and the device's batching.
#include <benchmark/benchmark.h>

#include "graphics/graphics.h"
#include "graphics/image.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "tests/support/fake_host.h"

namespace {

void FinishLoading(FakeHost& host, MyApp& game) {
    for (int i = 0; i < 100 && game.loadStage > 0; ++i) host.Tick();
}

void BM_OnUpdateTick(benchmark::State& state) {
    FakeHost host;
    MyApp* game = host.CreateApp<MyApp>();
    FinishLoading(host, *game);
    DebugMode = 1;  // include the debug line's text
    host.PressKey(32);
    host.MouseEvent(4, 0, 100, 100);
    for (auto _ : state) {
        host.clockMs += 16;
        host.Tick();
    }
}
BENCHMARK(BM_OnUpdateTick);

// A list like a busy frame: sprites, glyphs and shapes in turn.
void FillDisplayList(MyApp& game) {
    game.CLS2D(0, 0, 0, 1);
    for (int i = 0; game.drawLength / MyApp::kCommandFloats < 2499; ++i) {
        float x = static_cast<float>(i % 640);
        game.SetRot(static_cast<float>(i % 360));
        switch (i % 5) {
        case 0:
        case 1:
            game.DrawImg(1, x, static_cast<float>(i % 480), static_cast<float>(i % 4));
            break;
        case 2:
            game.Rect(x, 10, 5, 5);
            break;
        case 3:
            game.Oval(x, 20, 5, 3);
            break;
        default:
            game.Tri(x, 0, x + 5, 10, x + 2, 20);
            break;
        }
    }
}

void BM_ReplayFullList(benchmark::State& state) {
    FakeHost host;
    MyApp* game = host.CreateApp<MyApp>();
    FinishLoading(host, *game);
    game->mode = 0;
    game->images[1] = graphics::CreateImage(36, 36, 4, Image::CentreHandle);
    game->hdScale = 1;
    FillDisplayList(*game);
    for (auto _ : state) host.Frame();
    state.counters["commands"] = static_cast<double>(game->drawLength / MyApp::kCommandFloats);
}
BENCHMARK(BM_ReplayFullList);

}  // namespace
