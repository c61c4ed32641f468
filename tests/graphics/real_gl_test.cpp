// Pixels drawn by the real OpenGL (Mesa under Xvfb in CI) and read back with
// ReadPixels. Skipped without an X display.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/graphics_seq.h"
#include "tests/graphics/graphics_fixtures.h"

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) { return out << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }

Rgb FromArgb(int pixel) {
    const uint32_t p = static_cast<uint32_t>(pixel);
    return {static_cast<int>(p >> 16 & 255), static_cast<int>(p >> 8 & 255), static_cast<int>(p & 255)};
}

bool Near(Rgb a, Rgb b) {
    const int tolerance = 2;
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

class RealGl : public ::testing::Test {
protected:
    static constexpr int kWidth = 160, kHeight = 120;

    void SetUp() override {
        if (!window.available) GTEST_SKIP() << "no X display";
        g.host.SetWindowSize(kWidth, kHeight);
        glapi::UseRealGL();
    }
    void BeginFrame(Rgb background) {
        g.BeginFrame();
        g.device->Cls(static_cast<float>(background.r), static_cast<float>(background.g),
                      static_cast<float>(background.b));
    }
    std::vector<Rgb> Read(int x, int y, int w, int h) {
        std::vector<int> pixels(w * h);
        g.device->ReadPixels(pixels, x, y, w, h, 0, w);
        std::vector<Rgb> colours;
        for (int p : pixels) colours.push_back(FromArgb(p));
        return colours;
    }
    Rgb At(int x, int y) { return Read(x, y, 1, 1)[0]; }

    RealWindow window{kWidth, kHeight};
    RecordedGraphics g;  // its recorder stays unused: the table is on the real OpenGL
};

TEST_F(RealGl, HalfTransparentPicturesArePremultipliedAndBlendInBothModes) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {200, 100, 50, 128});
    g.pictures.WritePng("glass.png", 4, 4, 4, pixels);
    auto glass = graphics::LoadImage(u"glass.png", 1, 0);
    ASSERT_TRUE(glass);

    const Rgb background{40, 40, 40};
    BeginFrame(background);
    graphics::DrawImage(glass.get(), 10, 10, 0);
    graphics::SetBlend(1);
    graphics::DrawImage(glass.get(), 20, 10, 0);
    // Premultiplied (100, 50, 25) over the background at 127/255 of its
    // strength; added to it in full.
    EXPECT_PRED2(Near, At(11, 11), (Rgb{120, 70, 45})) << At(11, 11);
    EXPECT_PRED2(Near, At(21, 11), (Rgb{140, 90, 65})) << At(21, 11);
    EXPECT_EQ(At(15, 11), background);
}

TEST_F(RealGl, ColourAndAlphaTintTheTexture) {
    std::vector<uint8_t> white(4 * 4 * 4, 255);
    g.pictures.WritePng("white.png", 4, 4, 4, white);
    auto image = graphics::LoadImage(u"white.png", 1, 0);
    BeginFrame({0, 0, 0});
    graphics::SetColor(255, 128, 0);
    graphics::SetAlpha(0.5f);
    graphics::DrawImage(image.get(), 0, 0, 0);
    EXPECT_PRED2(Near, At(1, 1), (Rgb{127, 64, 0})) << At(1, 1);
}

TEST_F(RealGl, Rotation90TurnsThePictureCounterClockwiseAboutItsHandle) {
    // 16 x 8: the left half red, the right half green.
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) pixels.insert(pixels.end(), {uint8_t(x < 8 ? 255 : 0), uint8_t(x < 8 ? 0 : 255), 0, 255});
    g.pictures.WritePng("halves.png", 16, 8, 4, pixels);
    auto image = graphics::LoadImage(u"halves.png", 1, Image::CentreHandle);
    const Rgb background{0, 0, 255};
    BeginFrame(background);
    graphics::DrawImage2(image.get(), 64, 64, 90, 1, 1, 0);
    // Now 8 wide and 16 tall about (64, 64): the right half went up.
    EXPECT_EQ(At(62, 58), (Rgb{0, 255, 0}));
    EXPECT_EQ(At(65, 70), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(56, 64), background);
    EXPECT_EQ(At(70, 64), background);
    EXPECT_EQ(At(64, 54), background);
}

// A texture of the picture's own size, or, from a driver that refuses it, a
// power-of-two one: the picture must come out the same.
class PictureSizes : public RealGl, public ::testing::WithParamInterface<bool> {
protected:
    static inline bool refuse = false;
    static inline bool lastSizeOdd = false;
    static void TexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                           GLenum format, GLenum type, const GLvoid* pixels) {
        lastSizeOdd = (w & (w - 1)) != 0 || (h & (h - 1)) != 0;
        glTexImage2D(target, level, internal, w, h, border, format, type, pixels);
    }
    static GLenum GetError() {
        GLenum error = glGetError();
        return refuse && lastSizeOdd ? GL_INVALID_VALUE : error;
    }
};

TEST_P(PictureSizes, A100By60PictureDrawsPixelForPixel) {
    refuse = GetParam();
    glapi::gl.TexImage2D = &TexImage2D;
    glapi::gl.GetError = &GetError;
    std::vector<uint8_t> pixels;
    std::vector<Rgb> expected;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool edge = x == 0 || y == 0 || x == 99 || y == 59;
            const Rgb c = edge ? Rgb{255, 255, 0} : Rgb{x * 2, y * 4, (x + y) % 256};
            pixels.insert(pixels.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), 255});
            expected.push_back(c);
        }
    }
    g.pictures.WritePng("odd.png", 100, 60, 4, pixels);
    auto image = graphics::LoadImage(u"odd.png", 1, 0);
    ASSERT_TRUE(image);
    EXPECT_FLOAT_EQ(image->surface->uScale, refuse ? 1.0f / 128 : 1.0f / 100);
    BeginFrame({0, 0, 0});
    graphics::DrawImage(image.get(), 30, 20, 0);
    EXPECT_EQ(Read(30, 20, 100, 60), expected);
    EXPECT_EQ(At(130, 20), (Rgb{0, 0, 0})) << "nothing of the larger texture shows";
}

INSTANTIATE_TEST_SUITE_P(Drivers, PictureSizes, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PowerOfTwoOnly" : "AnySize"; });

TEST_F(RealGl, EveryImageStillDrawsAfterTheWindowIsReopened) {
    g.pictures.WritePng("red.png", 8, 8, 4, std::vector<uint8_t>(8 * 8 * 4, 0));
    std::vector<uint8_t> red;
    for (int i = 0; i < 64; ++i) red.insert(red.end(), {255, 0, 0, 255});
    g.pictures.WritePng("red.png", 8, 8, 4, red);
    auto loaded = graphics::LoadImage(u"red.png", 1, 0);
    auto blank = graphics::CreateImage(8, 8, 1, 0);
    ASSERT_TRUE(loaded && blank);
    const int firstContext = glfwGraphicsSeq;

    for (int pass = 0; pass < 2; ++pass) {
        BeginFrame({0, 0, 0});
        graphics::DrawImage(loaded.get(), 4, 4, 0);
        graphics::DrawImage(blank.get(), 20, 4, 0);  // content undefined; it must not disturb the rest
        graphics::DrawImage(loaded.get(), 40, 4, 0);
        g.EndFrame();
        EXPECT_EQ(At(5, 5), (Rgb{255, 0, 0})) << "pass " << pass;
        EXPECT_EQ(At(45, 10), (Rgb{255, 0, 0})) << "pass " << pass;
        if (pass == 0) window.Reopen();
    }
    EXPECT_EQ(loaded->surface->textureSeq, firstContext + 1);
}

TEST_F(RealGl, ReadPixelsPutsTheTopRowFirst) {
    BeginFrame({0, 0, 0});
    graphics::SetColor(255, 0, 0);
    graphics::DrawRect(0, 0, 4, 1);
    graphics::SetColor(0, 0, 255);
    graphics::DrawRect(0, 1, 4, 1);
    std::vector<int> pixels(2 * 3, 0);
    g.device->ReadPixels(pixels, 0, 0, 2, 2, 1, 3);  // rows three ints apart from index 1
    EXPECT_EQ(static_cast<uint32_t>(pixels[1]), 0xFFFF0000u);
    EXPECT_EQ(static_cast<uint32_t>(pixels[4]), 0xFF0000FFu);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[3], 0);
}

// A window-covering opaque rectangle is drawn as a clear: it must leave
// exactly the pixels the quad leaves (colour bytes truncated, not rounded).
TEST_F(RealGl, TheWindowCoveringRectangleLeavesTheQuadsPixels) {
    BeginFrame({0, 0, 0});
    graphics::SetColor(3.7f, 128.6f, 254.9f);
    graphics::DrawRect(-1, -1, kWidth + 2, kHeight + 2);
    graphics::SetColor(3.7f, 128.6f, 254.9f);
    graphics::DrawRect(10, 10, 10, 10);  // a quad of the same colour over it
    graphics::SetColor(200, 0, 0);
    graphics::SetAlpha(0.5f);
    graphics::DrawRect(30, 10, 10, 10);  // and a half-transparent one blends onto it
    EXPECT_EQ(At(0, 0), (Rgb{3, 128, 254}));
    EXPECT_EQ(At(kWidth - 1, kHeight - 1), (Rgb{3, 128, 254}));
    EXPECT_EQ(At(15, 15), (Rgb{3, 128, 254}));
    EXPECT_PRED2(Near, At(35, 15), (Rgb{101, 64, 127})) << At(35, 15);
}

TEST_F(RealGl, ShapesScissorAndClearReachThePixels) {
    BeginFrame({0, 0, 0});
    graphics::SetScissor(10, 10, 20, 20);
    g.device->Cls(0, 255, 0);
    graphics::SetColor(255, 0, 0);
    graphics::DrawEllipse(80, 60, 10, 10);  // outside the scissor
    graphics::SetScissor(0, 0, kWidth, kHeight);
    graphics::DrawEllipse(100, 60, 10, 10);
    graphics::DrawLine(0, 100, 50, 100);
    const float triangle[6] = {120, 10, 150, 10, 120, 40};
    graphics::DrawPoly(triangle);
    EXPECT_EQ(At(15, 15), (Rgb{0, 255, 0}));
    EXPECT_EQ(At(5, 5), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(80, 60), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(100, 60), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(25, 100), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(125, 15), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(148, 38), (Rgb{0, 0, 0}));
}

}  // namespace
