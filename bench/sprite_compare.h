// The frame of the side-by-side sprite benchmark, shared by its drawers
// (sprite_compare_ours.cpp, sprite_compare_sdl2.cpp, sprite_compare_sfml.cpp)
// so that each draws the same pixels: a full-window background picture and N
// rotated, tinted, alpha-blended 36 x 36 sprites from one texture, every sprite
// turning a little from frame to frame. bench/run-sprite-compare runs the
// drawers back to back and prints the table.
//
//   CompareOptions options = ParseCompareOptions(argc, argv, "sprite_compare_ours");
//   SpriteField field(width, height, spriteCount);     // placements, made once
//   SpritePose pose = field.Pose(i, frame);            // x, y, angle, tint, alpha
//   FrameClock clock;  ... clock.Start(); ... clock.Stop(frames);
//   PrintResult({"ours", "DrawImage2", "gxtkGraphics", glRenderer}, options, n, clock);
//
// Angles are degrees, counter-clockwise on screen (y down), as
// graphics::DrawImage2 takes them; libraries that turn clockwise get -angle.
// Pictures are RGBA bytes, not premultiplied, rows top to bottom.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace sprite_compare {

inline constexpr int kSpriteSide = 36;
inline constexpr float kSpriteHandle = kSpriteSide / 2.0f;  // sprites turn about their centre

struct CompareOptions {
    int width = 640;
    int height = 480;
    std::vector<int> spriteCounts{1000, 5000, 20000};
    int frames = 60;        // timed frames per sprite count
    int warmUpFrames = 3;   // untimed, first: textures and driver caches settle
    std::string variant;    // the library's drawing style to use ("" = its first)
    std::string captureDir; // when set, the last frame of each run is saved there as PPM
};

[[noreturn]] inline void Usage(const char* program) {
    fprintf(stderr,
            "usage: %s [--size WxH] [--sprites N,N,...] [--frames F] [--variant NAME] [--capture DIR]\n",
            program);
    exit(2);
}

inline std::vector<int> ParseCounts(const char* text) {
    std::vector<int> counts;
    for (const char* p = text; *p;) {
        char* end = nullptr;
        long count = strtol(p, &end, 10);
        if (end == p || count < 0 || count > 1000000) return {};
        counts.push_back(static_cast<int>(count));
        p = *end == ',' ? end + 1 : end;
        if (*end && *end != ',') return {};
    }
    return counts;
}

inline CompareOptions ParseCompareOptions(int argc, char** argv, const char* program) {
    CompareOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc) Usage(program);
        const char* value = argv[++i];
        if (flag == "--size") {
            if (sscanf(value, "%dx%d", &options.width, &options.height) != 2 || options.width < 64 ||
                options.height < 64)
                Usage(program);
        } else if (flag == "--sprites") {
            options.spriteCounts = ParseCounts(value);
            if (options.spriteCounts.empty()) Usage(program);
        } else if (flag == "--frames") {
            options.frames = atoi(value);
            if (options.frames < 1) Usage(program);
        } else if (flag == "--variant") {
            options.variant = value;
        } else if (flag == "--capture") {
            options.captureDir = value;
        } else {
            Usage(program);
        }
    }
    return options;
}

// ---- pictures ------------------------------------------------------------

// A 36 x 36 sprite: a disc with a soft rim, a notch and a stripe, so that a
// wrong rotation or tint shows; transparent outside the disc.
inline std::vector<uint8_t> MakeSpritePixels() {
    std::vector<uint8_t> rgba(kSpriteSide * kSpriteSide * 4);
    for (int y = 0; y < kSpriteSide; ++y) {
        for (int x = 0; x < kSpriteSide; ++x) {
            const float dx = x + 0.5f - kSpriteHandle, dy = y + 0.5f - kSpriteHandle;
            const float distance = std::sqrt(dx * dx + dy * dy);
            const float edge = std::fmin(1.0f, std::fmax(0.0f, (kSpriteHandle - distance) / 2.0f));
            const bool stripe = std::fabs(dy) < 3;
            const bool notch = dx > 8 && std::fabs(dy) < 6;
            uint8_t* p = &rgba[(y * kSpriteSide + x) * 4];
            p[0] = stripe ? 255 : static_cast<uint8_t>(128 + x * 3);
            p[1] = stripe ? 255 : static_cast<uint8_t>(200 - y * 2);
            p[2] = stripe ? 96 : 255;
            p[3] = notch ? 0 : static_cast<uint8_t>(255 * edge);
        }
    }
    return rgba;
}

// An opaque width x height background: a diagonal gradient with a grid.
inline std::vector<uint8_t> MakeBackgroundPixels(int width, int height) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            const bool grid = x % 40 == 0 || y % 40 == 0;
            p[0] = static_cast<uint8_t>(20 + 60 * x / width);
            p[1] = static_cast<uint8_t>(grid ? 90 : 30 + 40 * y / height);
            p[2] = static_cast<uint8_t>(70 + 80 * (x + y) / (width + height));
            p[3] = 255;
        }
    }
    return rgba;
}

// RGBA bytes as the ints A<<24|R<<16|G<<8|B that our device writes and reads.
inline std::vector<int> ToArgbInts(const std::vector<uint8_t>& rgba) {
    std::vector<int> argb(rgba.size() / 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint8_t* p = &rgba[i * 4];
        argb[i] = static_cast<int>(uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
    return argb;
}

// ---- sprites -------------------------------------------------------------

struct SpritePose {
    float x, y;    // where the centre lands, window pixels
    float angle;   // degrees, counter-clockwise on screen
    uint8_t red, green, blue, alpha;
};

// N sprites scattered over the window with their own tint, alpha and spin.
class SpriteField {
public:
    SpriteField(int width, int height, int count) : sprites(count) {
        uint32_t seed = 12345;
        auto next = [&seed](int range) {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<int>((seed >> 8) % static_cast<uint32_t>(range));
        };
        for (Sprite& sprite : sprites) {
            sprite.x = static_cast<float>(next(width));
            sprite.y = static_cast<float>(next(height));
            sprite.angle = static_cast<float>(next(360));
            sprite.spin = static_cast<float>(next(13) - 6) * 0.5f;
            sprite.red = static_cast<uint8_t>(96 + next(160));
            sprite.green = static_cast<uint8_t>(96 + next(160));
            sprite.blue = static_cast<uint8_t>(96 + next(160));
            sprite.alpha = static_cast<uint8_t>(90 + next(166));
        }
    }

    int Count() const { return static_cast<int>(sprites.size()); }

    SpritePose Pose(int i, int frame) const {
        const Sprite& s = sprites[i];
        return {s.x, s.y, s.angle + s.spin * static_cast<float>(frame), s.red, s.green, s.blue, s.alpha};
    }

private:
    struct Sprite {
        float x, y, angle, spin;
        uint8_t red, green, blue, alpha;
    };
    std::vector<Sprite> sprites;
};

// The corners of a posed sprite (top-left, top-right, bottom-right,
// bottom-left of the picture), turned as graphics::DrawImage2 turns them: for
// the drawers that hand a library ready-made vertices.
struct Corners {
    float x[4], y[4];
};

inline Corners CornersOf(const SpritePose& pose) {
    const double theta = pose.angle * 0.017453292f;
    const float cosine = static_cast<float>(std::cos(theta)), sine = static_cast<float>(std::sin(theta));
    static constexpr float kDx[4] = {-kSpriteHandle, kSpriteHandle, kSpriteHandle, -kSpriteHandle};
    static constexpr float kDy[4] = {-kSpriteHandle, -kSpriteHandle, kSpriteHandle, kSpriteHandle};
    Corners corners;
    for (int k = 0; k < 4; ++k) {
        corners.x[k] = pose.x + kDx[k] * cosine + kDy[k] * sine;
        corners.y[k] = pose.y - kDx[k] * sine + kDy[k] * cosine;
    }
    return corners;
}

// Texture coordinates of the corners, in sprite pixels.
inline constexpr float kCornerU[4] = {0, kSpriteSide, kSpriteSide, 0};
inline constexpr float kCornerV[4] = {0, 0, kSpriteSide, kSpriteSide};

// ---- timing and results ---------------------------------------------------

// Wall time and this process's CPU time (all threads, Mesa's included).
class FrameClock {
public:
    void Start() {
        wallStart = std::chrono::steady_clock::now();
        cpuStart = CpuSeconds();
    }
    void Stop(int frames) {
        timedFrames = frames;
        wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpuSeconds = CpuSeconds() - cpuStart;
    }
    double Fps() const { return wallSeconds > 0 ? timedFrames / wallSeconds : 0; }
    double CpuMsPerFrame() const { return timedFrames > 0 ? cpuSeconds * 1000 / timedFrames : 0; }

private:
    static double CpuSeconds() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    }

    std::chrono::steady_clock::time_point wallStart;
    double cpuStart = 0, wallSeconds = 0, cpuSeconds = 0;
    int timedFrames = 0;
};

struct DrawerInfo {
    const char* drawer;     // ours, sdl2, sfml
    const char* variant;    // how it draws the sprites
    std::string api;        // the library's own renderer name
    std::string glRenderer; // GL_RENDERER of the context
};

// One tab-separated line per run, read by bench/run-sprite-compare.
inline void PrintResult(const DrawerInfo& info, const CompareOptions& options, int sprites, const FrameClock& clock) {
    printf("RESULT\t%s\t%s\t%s\t%s\t%dx%d\t%d\t%d\t%.2f\t%.2f\n", info.drawer, info.variant, info.api.c_str(),
           info.glRenderer.c_str(), options.width, options.height, sprites, options.frames, clock.Fps(),
           clock.CpuMsPerFrame());
    fflush(stdout);
}

// The captured frame as a binary PPM; pixels are ARGB ints, rows top to bottom.
inline void WritePpm(const CompareOptions& options, const DrawerInfo& info, int sprites, const uint32_t* argb) {
    if (options.captureDir.empty()) return;
    const std::string path = options.captureDir + "/" + info.drawer + "-" + info.variant + "-" +
                             std::to_string(options.width) + "x" + std::to_string(options.height) + "-" +
                             std::to_string(sprites) + ".ppm";
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return;
    fprintf(file, "P6\n%d %d\n255\n", options.width, options.height);
    for (size_t i = 0; i < static_cast<size_t>(options.width) * options.height; ++i) {
        const uint8_t rgb[3] = {static_cast<uint8_t>(argb[i] >> 16), static_cast<uint8_t>(argb[i] >> 8),
                                static_cast<uint8_t>(argb[i])};
        fwrite(rgb, 1, 3, file);
    }
    fclose(file);
}

// Runs warm-up and timed frames of one sprite count; drawFrame(frame) draws,
// waits for the driver and presents one frame.
template <typename DrawFrame>
FrameClock TimeFrames(const CompareOptions& options, DrawFrame&& drawFrame) {
    for (int frame = 0; frame < options.warmUpFrames; ++frame) drawFrame(frame);
    FrameClock clock;
    clock.Start();
    for (int frame = 0; frame < options.frames; ++frame) drawFrame(options.warmUpFrames + frame);
    clock.Stop(options.frames);
    return clock;
}

}  // namespace sprite_compare
