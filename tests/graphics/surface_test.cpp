// Surfaces: decoding and premultiplication, texture creation with the
// power-of-two retry, and textures made again after a context change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/graphics_seq.h"
#include "tests/graphics/graphics_fixtures.h"

namespace {

class SurfaceTest : public ::testing::Test {
protected:
    std::unique_ptr<gxtkSurface> Load(const std::string& name) {
        return g.device->LoadSurface(FromUtf8("tarvik://data/" + name));
    }
    std::vector<uint8_t> Bytes(const gxtkSurface& s) {
        return std::vector<uint8_t>(s.pixels, s.pixels + s.width * s.height * s.depth);
    }

    RecordedGraphics g;
};

struct PremultiplyCase {
    int channels;
    std::vector<uint8_t> in, out;
    GLenum format;
};

void PrintTo(const PremultiplyCase& c, std::ostream* out) { *out << c.channels << " channels"; }

class Premultiply : public SurfaceTest, public ::testing::WithParamInterface<PremultiplyCase> {};

TEST_P(Premultiply, DependsOnTheFilesChannels) {
    const PremultiplyCase& c = GetParam();
    g.pictures.WritePng("p.png", 1, 1, c.channels, c.in);
    auto surface = Load("p.png");
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->depth, c.channels);
    EXPECT_EQ(surface->format, c.format);
    EXPECT_EQ(Bytes(*surface), c.out);
}

INSTANTIATE_TEST_SUITE_P(Depths, Premultiply,
                         ::testing::Values(PremultiplyCase{4, {200, 100, 50, 128}, {100, 50, 25, 128}, GL_RGBA},
                                           PremultiplyCase{2, {200, 128}, {100, 128}, GL_LUMINANCE_ALPHA},
                                           PremultiplyCase{3, {200, 100, 50}, {200, 100, 50}, GL_RGB},
                                           PremultiplyCase{1, {77}, {77}, GL_LUMINANCE}),
                         [](const auto& info) { return "Channels" + std::to_string(info.param.channels); });

TEST_F(SurfaceTest, LoadingMakesTheTextureAtOnceWithNearestFilteringAndThePixels) {
    g.pictures.WritePng("a.png", 3, 2, 4, std::vector<uint8_t>(3 * 2 * 4, 255));
    auto surface = Load("a.png");
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->textureSeq, 1);
    EXPECT_EQ(g.recorder.Count(GlFn::GenTextures), 1);
    for (const GlCall& parameter : g.recorder.Of(GlFn::TexParameteri)) {
        if (parameter.args[1] == GL_TEXTURE_MIN_FILTER || parameter.args[1] == GL_TEXTURE_MAG_FILTER)
            EXPECT_EQ(parameter.args[2], GL_NEAREST);
        else
            EXPECT_EQ(parameter.args[2], GL_CLAMP_TO_EDGE);
    }
    ASSERT_EQ(g.recorder.Count(GlFn::TexImage2D), 1);
    const GlCall image = g.recorder.Of(GlFn::TexImage2D)[0];
    EXPECT_EQ(image.args[3], 3);
    EXPECT_EQ(image.args[4], 2);
    EXPECT_EQ(image.args[8], 0) << "specified without data";
    const GlCall upload = g.recorder.Of(GlFn::TexSubImage2D)[0];
    EXPECT_EQ(upload.args[4], 3);
    EXPECT_EQ(upload.args[5], 2);
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 3);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 2);
}

TEST_F(SurfaceTest, ARefusedSizeIsMadeAgainAtPowersOfTwo) {
    g.recorder.refuseNonPowerOfTwo = true;
    g.pictures.WritePng("odd.png", 100, 60, 4, std::vector<uint8_t>(100 * 60 * 4, 9));
    auto surface = Load("odd.png");
    ASSERT_TRUE(surface);
    std::vector<GlCall> images = g.recorder.Of(GlFn::TexImage2D);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1].args[3], 128);
    EXPECT_EQ(images[1].args[4], 64);
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 128);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 64);

    g.device->BeginRender();
    g.recorder.Clear();
    g.device->DrawSurface(surface.get(), 0, 0);
    g.device->EndRender();
    auto v = g.recorder.VerticesOf(g.Draws()[0]);
    EXPECT_FLOAT_EQ(v[2].u, 100.0f / 128);
    EXPECT_FLOAT_EQ(v[2].v, 60.0f / 64);
}

TEST_F(SurfaceTest, NothingIsBoundBeforeTheFirstWindowAndTheFirstDrawAfterMakesTheTexture) {
    glfwGraphicsSeq = 0;
    g.pictures.WritePng("a.png", 2, 2, 4, std::vector<uint8_t>(16, 200));
    auto surface = Load("a.png");
    ASSERT_TRUE(surface);
    EXPECT_TRUE(g.recorder.calls.empty());
    EXPECT_EQ(surface->textureSeq, -1);

    glfwGraphicsSeq = 1;
    g.device->BeginRender();
    g.device->DrawSurface(surface.get(), 0, 0);
    g.recorder.Clear();
    g.device->EndRender();
    EXPECT_EQ(g.recorder.Count(GlFn::GenTextures), 1);
    EXPECT_EQ(g.recorder.Count(GlFn::TexSubImage2D), 1);
    EXPECT_EQ(surface->textureSeq, 1);
}

TEST_F(SurfaceTest, ANewContextGetsNewTexturesFromThePixelCopyAndStaleOnesAreNotDeleted) {
    g.pictures.WritePng("a.png", 2, 2, 4, std::vector<uint8_t>(16, 200));
    auto surface = Load("a.png");
    const GLuint first = surface->texture;
    surface->Bind();
    EXPECT_EQ(g.recorder.Count(GlFn::GenTextures), 1) << "same context: bound, not made";

    glfwGraphicsSeq = 2;
    g.recorder.Clear();
    surface->Bind();
    EXPECT_EQ(g.recorder.Count(GlFn::GenTextures), 1);
    EXPECT_EQ(g.recorder.Count(GlFn::TexSubImage2D), 1);
    EXPECT_NE(surface->texture, first);
    EXPECT_EQ(surface->textureSeq, 2);

    glfwGraphicsSeq = 3;
    g.recorder.Clear();
    surface->Discard();
    EXPECT_EQ(g.recorder.Count(GlFn::DeleteTextures), 0) << "the texture died with its context";
    EXPECT_EQ(surface->pixels, nullptr);
}

TEST_F(SurfaceTest, DiscardDeletesATextureOfTheCurrentContext) {
    auto surface = g.device->CreateSurface(4, 4);
    const GLuint texture = surface->texture;
    g.recorder.Clear();
    surface.reset();
    ASSERT_EQ(g.recorder.Count(GlFn::DeleteTextures), 1);
    EXPECT_EQ(g.recorder.Of(GlFn::DeleteTextures)[0].args[1], texture);
}

TEST_F(SurfaceTest, CreatedSurfacesAreRgbaTexturesWithoutPixels) {
    auto surface = g.device->CreateSurface(30, 20);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->depth, 4);
    EXPECT_EQ(surface->format, static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(surface->pixels, nullptr);
    EXPECT_EQ(g.recorder.Count(GlFn::TexImage2D), 1);
    EXPECT_EQ(g.recorder.Count(GlFn::TexSubImage2D), 0);
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, -1}, std::pair{100000, 1}})
        EXPECT_FALSE(g.device->CreateSurface(w, h)) << w << "x" << h;
}

TEST_F(SurfaceTest, WritePixelsPremultipliesIntoThePixelCopyAndUploadsTheRectangle) {
    auto surface = g.device->CreateSurface(4, 3);
    const int argb[4] = {static_cast<int>(0x80C86432u), static_cast<int>(0xFF0000FFu), 0, 0};
    g.recorder.Clear();
    g.device->WritePixels2(surface.get(), argb, 1, 1, 2, 1, 0, 2);
    ASSERT_NE(surface->pixels, nullptr);
    const uint8_t* p = surface->pixels + (1 * 4 + 1) * 4;
    EXPECT_EQ(std::vector<uint8_t>(p, p + 8), (std::vector<uint8_t>{100, 50, 25, 128, 0, 0, 255, 255}));
    ASSERT_EQ(g.recorder.Count(GlFn::TexSubImage2D), 1) << "one row: one upload";
    EXPECT_EQ(g.recorder.Of(GlFn::TexSubImage2D)[0].args[2], 1);

    g.recorder.Clear();
    const int rows[8] = {};
    g.device->WritePixels2(surface.get(), rows, 0, 0, 4, 2, 0, 4);
    EXPECT_EQ(g.recorder.Count(GlFn::TexSubImage2D), 1) << "whole rows are contiguous";
    g.recorder.Clear();
    g.device->WritePixels2(surface.get(), rows, 1, 0, 2, 2, 0, 2);
    EXPECT_EQ(g.recorder.Count(GlFn::TexSubImage2D), 2) << "part rows go one by one";
}

TEST_F(SurfaceTest, WritePixelsOutsideTheSurfaceOrPastTheSourceWritesNothing) {
    auto surface = g.device->CreateSurface(4, 4);
    const int source[4] = {-1, -1, -1, -1};
    g.recorder.Clear();
    g.device->WritePixels2(surface.get(), source, 3, 0, 2, 1, 0, 2);   // past the right edge
    g.device->WritePixels2(surface.get(), source, -1, 0, 1, 1, 0, 1);  // left of it
    g.device->WritePixels2(surface.get(), source, 0, 0, 2, 2, 1, 2);   // source too short
    EXPECT_EQ(surface->pixels, nullptr);
    EXPECT_TRUE(g.recorder.calls.empty());

    g.pictures.WritePng("rgb.png", 1, 1, 3, {1, 2, 3});
    auto rgb = g.device->LoadSurface(u"tarvik://data/rgb.png");
    g.device->WritePixels2(rgb.get(), source, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(rgb->pixels[0], 1) << "only RGBA surfaces take pixels";
}

}  // namespace
