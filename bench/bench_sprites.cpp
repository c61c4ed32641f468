// Sprites per second through graphics::DrawImage2 and the graphics device:
// rotated and scaled 16 x 16 sprites, 1000 to a frame, each frame finished
// by the driver (a one-pixel read waits for it). Variants: one texture for
// all; a texture change at every sprite (a flush each); and the batching
// alone with OpenGL switched off. The real-OpenGL cases need an X display;
// times are wall-clock, as Mesa draws on threads of its own.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "graphics/gl_api.h"
#include "graphics/graphics.h"
#include "host/glfw2.h"
#include "host/graphics_seq.h"
#include "tests/support/fake_host.h"

namespace {

constexpr int kSpritesPerFrame = 1000;

// A host, a device on a real (or switched-off) OpenGL, and two sprites.
struct SpriteScene {
    explicit SpriteScene(bool realGl) {
        if (realGl) {
            const char* display = getenv("DISPLAY");
            if (!display || !*display || !glfw2::Init() ||
                !glfw2::OpenWindow(640, 480, 8, 8, 8, 0, 0, 0, glfw2::kWindow))
                return;
            glfwGraphicsSeq += 1;
            glapi::UseRealGL();
        }
        device = std::make_unique<gxtkGraphics>();
        graphics::SetGraphicsDevice(device.get());
        app::ValidateDeviceWindow();
        first = graphics::CreateImage(16, 16, 1, Image::CentreHandle);
        second = graphics::CreateImage(16, 16, 1, Image::CentreHandle);
        ready = first && second;
    }
    ~SpriteScene() {
        graphics::InitModule();
        first.reset();
        second.reset();
        device.reset();
        glfw2::CloseWindow();
        glapi::UseRecorder(nullptr);
    }

    void Frame(bool changeTexture) {
        device->BeginRender();
        graphics::BeginRender();
        for (int i = 0; i < kSpritesPerFrame; ++i) {
            const Image* sprite = changeTexture && (i & 1) ? second.get() : first.get();
            graphics::DrawImage2(sprite, static_cast<float>(i % 600) + 20, static_cast<float>(i % 440) + 20,
                                 static_cast<float>(i * 7), 1.5f, 0.75f, 0);
        }
        graphics::EndRender();
        device->EndRender();
        int pixel = 0;
        device->ReadPixels(std::span<int>(&pixel, 1), 0, 0, 1, 1, 0, 1);  // waits for the driver
        benchmark::DoNotOptimize(pixel);
    }

    FakeHost host;
    std::unique_ptr<gxtkGraphics> device;
    std::shared_ptr<Image> first, second;
    bool ready = false;
};

void RunSprites(benchmark::State& state, bool realGl, bool changeTexture) {
    SpriteScene scene(realGl);
    if (!scene.ready) {
        state.SkipWithError("no X display for a real OpenGL context");
        return;
    }
    for (auto _ : state) scene.Frame(changeTexture);
    state.SetItemsProcessed(state.iterations() * kSpritesPerFrame);
}

void BM_SpritesOneTexture(benchmark::State& state) { RunSprites(state, true, false); }
void BM_SpritesTextureChangePerSprite(benchmark::State& state) { RunSprites(state, true, true); }
void BM_SpritesBatchingOnly(benchmark::State& state) { RunSprites(state, false, false); }

BENCHMARK(BM_SpritesOneTexture)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SpritesTextureChangePerSprite)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SpritesBatchingOnly)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
