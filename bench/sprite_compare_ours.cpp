// Our drawer of the side-by-side sprite benchmark (bench/sprite_compare.h):
// the real GLFW host opens the window, our graphics device draws, the game's
// way: graphics::DrawImage2 per sprite with its tint and alpha set first.
//
//   sprite_compare_ours --size 640x480 --sprites 1000,5000,20000 --frames 60
//
// Each frame ends with a one-pixel read through the device, which waits until
// the driver has drawn everything, and a buffer swap (vsync off).
#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <span>

#include "bench/sprite_compare.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/glfw2.h"
#include "host/qv.h"
#include "host/qvglfwgame.h"

using namespace sprite_compare;

namespace {

// An image of the given picture on our device.
std::shared_ptr<Image> MakeImage(gxtkGraphics& device, const std::vector<uint8_t>& rgba, int width, int height,
                                 int flags) {
    std::shared_ptr<Image> image = graphics::CreateImage(width, height, 1, flags);
    if (!image) return nullptr;
    const std::vector<int> argb = ToArgbInts(rgba);
    device.WritePixels2(image->surface.get(), argb, 0, 0, width, height, 0, width);
    return image;
}

void DrawFrame(gxtkGraphics& device, const Image& background, const Image& sprite, const SpriteField& field,
               int frame) {
    device.BeginRender();
    graphics::BeginRender();
    graphics::DrawImage(&background, 0, 0, 0);
    for (int i = 0; i < field.Count(); ++i) {
        const SpritePose pose = field.Pose(i, frame);
        graphics::SetColor(pose.red, pose.green, pose.blue);
        graphics::SetAlpha(pose.alpha / 255.0f);
        graphics::DrawImage2(&sprite, pose.x, pose.y, pose.angle, 1, 1, 0);
    }
    graphics::EndRender();
    device.EndRender();
}

}  // namespace

int main(int argc, char** argv) {
    const CompareOptions options = ParseCompareOptions(argc, argv, "sprite_compare_ours");
    if (!glfw2::Init()) {
        fputs("sprite_compare_ours: no window system (run it under xvfb-run)\n", stderr);
        return 1;
    }
    QvGlfwGame host;
    QvGame::_game = &host;
    QvGlfwGame::_glfwGame = &host;
    qvInit();
    host.SetSwapInterval(0);
    host.SetGlfwWindow(options.width, options.height, 8, 8, 8, 0, 0, 0, false);
    if (!glfw2::GetWindowParam(glfw2::kOpened)) {
        fputs("sprite_compare_ours: could not open an OpenGL window\n", stderr);
        return 1;
    }

    auto device = std::make_unique<gxtkGraphics>();
    graphics::SetGraphicsDevice(device.get());
    app::ValidateDeviceWindow();
    auto background = MakeImage(*device, MakeBackgroundPixels(options.width, options.height), options.width,
                                      options.height, 0);
    auto sprite = MakeImage(*device, MakeSpritePixels(), kSpriteSide, kSpriteSide, Image::CentreHandle);
    if (!background || !sprite) {
        fputs("sprite_compare_ours: could not make the pictures\n", stderr);
        return 1;
    }

    // Only asked for the report; all drawing goes through the device.
    const char* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const DrawerInfo info{"ours", "DrawImage2", "gxtkGraphics (GL 1.1 client arrays)", glRenderer ? glRenderer : "?"};
    std::vector<uint32_t> frameCopy(static_cast<size_t>(options.width) * options.height);
    for (int count : options.spriteCounts) {
        const SpriteField field(options.width, options.height, count);
        const FrameClock clock = TimeFrames(options, [&](int frame) {
            DrawFrame(*device, *background, *sprite, field, frame);
            int pixel = 0;
            device->ReadPixels(std::span<int>(&pixel, 1), 0, 0, 1, 1, 0, 1);
            glfw2::SwapBuffers();
            glfw2::PollEvents();
        });
        PrintResult(info, options, count, clock);
        if (!options.captureDir.empty()) {
            DrawFrame(*device, *background, *sprite, field, options.warmUpFrames + options.frames - 1);
            std::span<int> pixels(reinterpret_cast<int*>(frameCopy.data()), frameCopy.size());
            device->ReadPixels(pixels, 0, 0, options.width, options.height, 0, options.width);
            WritePpm(options, info, count, frameCopy.data());
        }
    }

    // Textures go while their context is still there.
    background.reset();
    sprite.reset();
    graphics::InitModule();
    device.reset();
    glfw2::Terminate();
    return 0;
}
