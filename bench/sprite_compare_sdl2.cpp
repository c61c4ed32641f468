// SDL2's drawer of the side-by-side sprite benchmark (bench/sprite_compare.h),
// on SDL's OpenGL renderer with its command batching on. Two variants:
//   copyex    - the usual SDL way: colour and alpha mod, then SDL_RenderCopyExF per sprite;
//   geometry  - the sprites' turned corners computed here and handed over in
//               one SDL_RenderGeometry call a frame (SDL's fastest path).
//
//   sprite_compare_sdl2 --variant copyex --size 640x480 --sprites 1000,5000 --frames 60
//
// Each frame ends with a one-pixel SDL_RenderReadPixels, which flushes SDL's
// queue and waits for the driver, and SDL_RenderPresent (vsync off).
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstdio>
#include <vector>

#include "bench/sprite_compare.h"

using namespace sprite_compare;

namespace {

SDL_Texture* MakeTexture(SDL_Renderer* renderer, const std::vector<uint8_t>& rgba, int width, int height) {
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, width, height);
    if (!texture) return nullptr;
    SDL_UpdateTexture(texture, nullptr, rgba.data(), width * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return texture;
}

struct SdlScene {
    SDL_Renderer* renderer;
    SDL_Texture* background;
    SDL_Texture* sprite;
    bool geometry;
    std::vector<SDL_Vertex> vertices;  // geometry: four a sprite
    std::vector<int> indices;          // geometry: two triangles a sprite

    void Prepare(int count) {
        if (!geometry) return;
        vertices.assign(static_cast<size_t>(count) * 4, SDL_Vertex{});
        indices.resize(static_cast<size_t>(count) * 6);
        for (int q = 0; q < count; ++q) {
            const int v = q * 4, quad[6] = {v, v + 1, v + 2, v, v + 2, v + 3};
            for (int k = 0; k < 6; ++k) indices[q * 6 + k] = quad[k];
        }
    }

    void Draw(const SpriteField& field, int frame) {
        SDL_RenderCopyF(renderer, background, nullptr, nullptr);
        if (geometry) {
            DrawGeometry(field, frame);
            return;
        }
        for (int i = 0; i < field.Count(); ++i) {
            const SpritePose pose = field.Pose(i, frame);
            SDL_SetTextureColorMod(sprite, pose.red, pose.green, pose.blue);
            SDL_SetTextureAlphaMod(sprite, pose.alpha);
            const SDL_FRect to{pose.x - kSpriteHandle, pose.y - kSpriteHandle, kSpriteSide, kSpriteSide};
            SDL_RenderCopyExF(renderer, sprite, nullptr, &to, -pose.angle, nullptr, SDL_FLIP_NONE);
        }
    }

    void DrawGeometry(const SpriteField& field, int frame) {
        for (int i = 0; i < field.Count(); ++i) {
            const SpritePose pose = field.Pose(i, frame);
            const Corners corners = CornersOf(pose);
            const SDL_Color color{pose.red, pose.green, pose.blue, pose.alpha};
            for (int k = 0; k < 4; ++k) {
                vertices[i * 4 + k] = SDL_Vertex{{corners.x[k], corners.y[k]}, color,
                                                 {kCornerU[k] / kSpriteSide, kCornerV[k] / kSpriteSide}};
            }
        }
        if (field.Count() > 0)
            SDL_RenderGeometry(renderer, sprite, vertices.data(), static_cast<int>(vertices.size()), indices.data(),
                               static_cast<int>(indices.size()));
    }
};

void PumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    const CompareOptions options = ParseCompareOptions(argc, argv, "sprite_compare_sdl2");
    const bool geometry = options.variant == "geometry";
    if (!options.variant.empty() && !geometry && options.variant != "copyex") Usage("sprite_compare_sdl2");

    // The same OpenGL as the other drawers; a named driver would switch
    // batching off unless asked for.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "sprite_compare_sdl2: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("sprite_compare_sdl2", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          options.width, options.height, SDL_WINDOW_OPENGL);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!renderer) {
        fprintf(stderr, "sprite_compare_sdl2: %s\n", SDL_GetError());
        return 1;
    }
    SDL_RendererInfo rendererInfo{};
    SDL_GetRendererInfo(renderer, &rendererInfo);
    const char* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const DrawerInfo info{"sdl2", geometry ? "geometry" : "copyex", std::string("SDL ") + rendererInfo.name,
                          glRenderer ? glRenderer : "?"};

    SdlScene scene{renderer, MakeTexture(renderer, MakeBackgroundPixels(options.width, options.height), options.width,
                                         options.height),
                   MakeTexture(renderer, MakeSpritePixels(), kSpriteSide, kSpriteSide), geometry, {}, {}};
    if (!scene.background || !scene.sprite) {
        fprintf(stderr, "sprite_compare_sdl2: %s\n", SDL_GetError());
        return 1;
    }
    std::vector<uint32_t> frameCopy(static_cast<size_t>(options.width) * options.height);
    for (int count : options.spriteCounts) {
        const SpriteField field(options.width, options.height, count);
        scene.Prepare(count);
        const FrameClock clock = TimeFrames(options, [&](int frame) {
            scene.Draw(field, frame);
            const SDL_Rect corner{0, 0, 1, 1};
            uint32_t pixel = 0;
            SDL_RenderReadPixels(renderer, &corner, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
            SDL_RenderPresent(renderer);
            PumpEvents();
        });
        PrintResult(info, options, count, clock);
        if (!options.captureDir.empty()) {
            scene.Draw(field, options.warmUpFrames + options.frames - 1);
            SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, frameCopy.data(), options.width * 4);
            WritePpm(options, info, count, frameCopy.data());
            SDL_RenderPresent(renderer);
        }
    }

    SDL_DestroyTexture(scene.sprite);
    SDL_DestroyTexture(scene.background);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
