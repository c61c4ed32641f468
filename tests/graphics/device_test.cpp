// The graphics device as OpenGL sees it: batching, flush rules, vertex
// content and the per-frame state, observed through the GL call recorder.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/graphics/graphics_fixtures.h"

namespace {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        device.BeginRender();
        g.recorder.Clear();
    }
    std::shared_ptr<gxtkSurface> MakeSurface(int w = 64, int h = 64) { return device.CreateSurface(w, h); }

    RecordedGraphics g;
    gxtkGraphics& device = *g.device;
};

TEST_F(DeviceTest, ThreeHundredSpritesOfOneSurfaceAreTwoDrawsOf256And44Quads) {
    auto surface = MakeSurface();
    for (int i = 0; i < 300; ++i) device.DrawSurface2(surface.get(), i, 0, 0, 0, 8, 8);
    device.EndRender();
    std::vector<GlCall> draws = g.Draws();
    ASSERT_EQ(draws.size(), 2u);
    for (const GlCall& draw : draws) {
        EXPECT_EQ(draw.fn, GlFn::DrawElements);
        EXPECT_EQ(draw.args[0], GL_TRIANGLES);
        EXPECT_EQ(draw.args[2], GL_UNSIGNED_SHORT);
    }
    EXPECT_EQ(draws[0].args[1], 256 * 6);
    EXPECT_EQ(draws[1].args[1], 44 * 6);
    EXPECT_EQ(g.recorder.VerticesOf(draws[1]).size(), 44u * 4);
}

TEST_F(DeviceTest, ARectBetweenTwoSpritesFlushesTwiceAColourChangeNever) {
    auto surface = MakeSurface();
    device.DrawSurface2(surface.get(), 0, 0, 0, 0, 8, 8);
    device.DrawRect(0, 0, 4, 4);
    device.DrawSurface2(surface.get(), 0, 0, 0, 0, 8, 8);
    EXPECT_EQ(g.Draws().size(), 2u);

    device.Flush();
    g.recorder.Clear();
    device.DrawSurface2(surface.get(), 0, 0, 0, 0, 8, 8);
    device.SetColor(10, 20, 30);
    device.SetAlpha(0.5f);
    device.SetMatrix(2, 0, 0, 2, 0, 0);
    device.DrawSurface2(surface.get(), 0, 0, 0, 0, 8, 8);
    EXPECT_TRUE(g.Draws().empty());
    device.EndRender();
    ASSERT_EQ(g.Draws().size(), 1u);
    EXPECT_EQ(g.recorder.VerticesOf(g.Draws()[0]).size(), 8u);
}

TEST_F(DeviceTest, TexturedBatchesBindTheirSurfaceAroundTheDraw) {
    auto surface = MakeSurface();
    g.recorder.Clear();
    device.DrawSurface(surface.get(), 0, 0);
    device.EndRender();
    std::vector<GlFn> sequence;
    for (const GlCall& call : g.recorder.calls) sequence.push_back(call.fn);
    EXPECT_EQ(sequence, (std::vector<GlFn>{GlFn::Enable, GlFn::BindTexture, GlFn::DrawElements, GlFn::Disable}));
    EXPECT_EQ(g.recorder.calls[0].args[0], GL_TEXTURE_2D);
    EXPECT_EQ(g.recorder.calls[1].args[1], surface->texture);
}

struct OvalCase {
    float w, h, scale;
    int vertices;
};

void PrintTo(const OvalCase& c, std::ostream* out) { *out << c.w << "x" << c.h << " at scale " << c.scale; }

class OvalSegments : public DeviceTest, public ::testing::WithParamInterface<OvalCase> {};

TEST_P(OvalSegments, FollowTheSizeOnScreen) {
    const OvalCase& c = GetParam();
    device.SetMatrix(c.scale, 0, 0, c.scale, 0, 0);
    device.DrawOval(0, 0, c.w, c.h);
    device.EndRender();
    ASSERT_EQ(g.Draws().size(), 1u);
    const GlCall fan = g.Draws()[0];
    EXPECT_EQ(fan.args[0], GL_TRIANGLE_FAN);
    EXPECT_EQ(fan.args[2], c.vertices);
}

INSTANTIATE_TEST_SUITE_P(Boxes, OvalSegments,
                         ::testing::Values(OvalCase{4, 4, 1, 12}, OvalCase{40, 30, 1, 32},
                                           OvalCase{4000, 100, 1, 1024}, OvalCase{20, 20, 2, 40},
                                           OvalCase{NAN, 5, 1, 1024}, OvalCase{1e30f, 5, 1, 1024}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(DeviceTest, OvalStartsAtTheRightAndRunsCounterClockwise) {
    device.DrawOval(10, 20, 40, 30);  // centre (30, 35), radii 20 and 15
    device.EndRender();
    auto points = g.recorder.VerticesOf(g.Draws()[0]);
    ASSERT_EQ(points.size(), 32u);
    EXPECT_FLOAT_EQ(points[0].x, 50);
    EXPECT_FLOAT_EQ(points[0].y, 35);
    EXPECT_NEAR(points[8].x, 30, 1e-4);  // a quarter turn on: the top
    EXPECT_NEAR(points[8].y, 20, 1e-4);
    EXPECT_LT(points[1].y, 35);  // y down: moving up first is counter-clockwise
}

TEST_F(DeviceTest, TwoOvalsOfOneSizeShareABatchAsTwoFans) {
    device.DrawOval(0, 0, 4, 4);
    device.DrawOval(10, 0, 4, 4);
    device.EndRender();
    std::vector<GlCall> draws = g.Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].args[1], 0);
    EXPECT_EQ(draws[1].args[1], 12);
}

struct PolyCase {
    int floats;
    int drawCalls;
    GlFn fn;
    GLenum mode;
    int count;  // vertices for glDrawArrays, indices for glDrawElements
};

void PrintTo(const PolyCase& c, std::ostream* out) { *out << c.floats << " floats"; }

class PolyVertexCounts : public DeviceTest, public ::testing::WithParamInterface<PolyCase> {};

TEST_P(PolyVertexCounts, PickThePrimitive) {
    const PolyCase& c = GetParam();
    std::vector<float> xy(c.floats);
    for (int i = 0; i < c.floats; ++i) xy[i] = static_cast<float>(i);
    device.DrawRect(0, 0, 1, 1);
    device.Flush();
    g.recorder.Clear();
    device.DrawPoly(xy);
    device.EndRender();
    std::vector<GlCall> draws = g.Draws();
    ASSERT_EQ(static_cast<int>(draws.size()), c.drawCalls);
    if (c.drawCalls == 0) {
        EXPECT_EQ(device.batchKind, gxtkGraphics::kQuads) << "a refused polygon changes no state";
        return;
    }
    EXPECT_EQ(draws[0].fn, c.fn);
    EXPECT_EQ(draws[0].args[0], c.mode);
    EXPECT_EQ(draws[0].args[c.fn == GlFn::DrawArrays ? 2 : 1], c.count);
}

INSTANTIATE_TEST_SUITE_P(Lengths, PolyVertexCounts,
                         ::testing::Values(PolyCase{2, 1, GlFn::DrawArrays, GL_POINTS, 1},
                                           PolyCase{6, 1, GlFn::DrawArrays, GL_TRIANGLES, 3},
                                           PolyCase{8, 1, GlFn::DrawElements, GL_TRIANGLES, 6},
                                           PolyCase{10, 1, GlFn::DrawArrays, GL_TRIANGLE_FAN, 5},
                                           PolyCase{2048, 1, GlFn::DrawArrays, GL_TRIANGLE_FAN, 1024},
                                           PolyCase{0, 0, GlFn::DrawArrays, 0, 0},
                                           PolyCase{2050, 0, GlFn::DrawArrays, 0, 0}),
                         [](const auto& info) { return std::to_string(info.param.floats) + "Floats"; });

TEST_F(DeviceTest, PointsAndLinesAreNudgedHalfAPixelAfterTheMatrix) {
    device.SetMatrix(2, 0, 0, 2, 10, 0);
    device.DrawPoint(1, 1);
    device.Flush();
    device.DrawLine(0, 0, 3, 4);
    device.Flush();
    const float single[2] = {1, 1};
    device.DrawPoly(single);  // a one-vertex polygon is a point without the nudge
    device.EndRender();
    std::vector<GlCall> draws = g.Draws();
    ASSERT_EQ(draws.size(), 3u);
    auto point = g.recorder.VerticesOf(draws[0]);
    EXPECT_FLOAT_EQ(point[0].x, 12.5f);
    EXPECT_FLOAT_EQ(point[0].y, 2.5f);
    auto line = g.recorder.VerticesOf(draws[1]);
    EXPECT_EQ(draws[1].args[0], GL_LINES);
    EXPECT_FLOAT_EQ(line[0].x, 10.5f);
    EXPECT_FLOAT_EQ(line[1].x, 16.5f);
    EXPECT_FLOAT_EQ(line[1].y, 8.5f);
    auto polyPoint = g.recorder.VerticesOf(draws[2]);
    EXPECT_FLOAT_EQ(polyPoint[0].x, 12);
    EXPECT_FLOAT_EQ(polyPoint[0].y, 2);
}

TEST_F(DeviceTest, RectCornersGoTopLeftClockwiseThroughTheMatrix) {
    device.SetMatrix(0, 1, -1, 0, 100, 50);  // a quarter turn
    device.DrawRect(10, 0, 4, 2);
    device.EndRender();
    auto v = g.recorder.VerticesOf(g.Draws()[0]);
    ASSERT_EQ(v.size(), 4u);
    const float expected[4][2] = {{100, 60}, {100, 64}, {98, 64}, {98, 60}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
    }
}

TEST_F(DeviceTest, SurfaceQuadsSpanTheirPixelsInTextureUnits) {
    auto surface = MakeSurface(64, 32);
    surface->uScale = 1.0f / 128, surface->vScale = 1.0f / 64;  // as a power-of-two texture
    device.DrawSurface2(surface.get(), 5, 6, 16, 8, 32, 16);
    device.DrawSurface(surface.get(), 0, 0);
    device.EndRender();
    auto v = g.recorder.VerticesOf(g.Draws()[0]);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_FLOAT_EQ(v[0].x, 5);
    EXPECT_FLOAT_EQ(v[2].x, 37);
    EXPECT_FLOAT_EQ(v[2].y, 22);
    EXPECT_FLOAT_EQ(v[0].u, 16.0f / 128);
    EXPECT_FLOAT_EQ(v[0].v, 8.0f / 64);
    EXPECT_FLOAT_EQ(v[2].u, 48.0f / 128);
    EXPECT_FLOAT_EQ(v[2].v, 24.0f / 64);
    EXPECT_FLOAT_EQ(v[6].x, 64);
    EXPECT_FLOAT_EQ(v[6].u, 0.5f);
    EXPECT_FLOAT_EQ(v[6].v, 0.5f);
}

TEST_F(DeviceTest, TexturedPolygonsCountUvFromTheSourceCorner) {
    auto surface = MakeSurface(64, 64);
    const float xyuv[12] = {0, 0, 0, 0, 10, 0, 8, 0, 10, 10, 8, 8};
    device.DrawPoly2(xyuv, surface.get(), 16, 32);
    device.EndRender();
    auto v = g.recorder.VerticesOf(g.Draws()[0]);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_FLOAT_EQ(v[0].u, 16.0f / 64);
    EXPECT_FLOAT_EQ(v[2].u, 24.0f / 64);
    EXPECT_FLOAT_EQ(v[2].v, 40.0f / 64);
}

TEST_F(DeviceTest, ColourIsPremultipliedIntoRgbaBytes) {
    device.SetColor(200, 100, 50);
    device.SetAlpha(0.5f);
    EXPECT_EQ(device.packedColor, 127u << 24 | 25u << 16 | 50u << 8 | 100u);
    device.SetAlpha(1);
    device.SetColor(300, -5, 255);  // out of range stays inside its own byte
    EXPECT_EQ(device.packedColor, 255u << 24 | 255u << 16 | 0u << 8 | 255u);
    device.DrawRect(0, 0, 1, 1);
    device.EndRender();
    EXPECT_EQ(g.recorder.VerticesOf(g.Draws()[0])[3].color, device.packedColor);
}

TEST_F(DeviceTest, BlendModesFlushAndPickTheFactors) {
    struct Case {
        int blend;
        GLenum destination;
    };
    for (Case c : {Case{1, GL_ONE}, Case{0, GL_ONE_MINUS_SRC_ALPHA}, Case{1, GL_ONE}, Case{3, GL_ONE_MINUS_SRC_ALPHA}}) {
        g.recorder.Clear();
        device.DrawRect(0, 0, 1, 1);
        device.SetBlend(c.blend);
        ASSERT_EQ(g.recorder.calls.size(), 2u);
        EXPECT_EQ(g.recorder.calls[0].fn, GlFn::DrawElements) << "the rectangle is drawn under the old blend";
        EXPECT_EQ(g.recorder.calls[1].fn, GlFn::BlendFunc);
        EXPECT_EQ(g.recorder.calls[1].args[0], GL_ONE);
        EXPECT_EQ(g.recorder.calls[1].args[1], c.destination) << c.blend;
    }
}

// The replay sets the blend before every command: the mode already in force
// must not split the batch.
TEST_F(DeviceTest, TheBlendModeAlreadyInForceNeitherFlushesNorReachesOpenGL) {
    for (int blend : {0, 3, 1, 1}) {
        if (blend == 1) device.SetBlend(1);  // the second round starts additive
        g.recorder.Clear();
        device.DrawRect(0, 0, 1, 1);
        device.SetBlend(blend);
        device.DrawRect(2, 0, 1, 1);
        EXPECT_TRUE(g.recorder.calls.empty()) << blend;
        device.EndRender();
        ASSERT_EQ(g.Draws().size(), 1u) << blend;
        EXPECT_EQ(g.Draws()[0].args[1], 2 * 6) << "both rectangles in one draw";
    }
}

TEST_F(DeviceTest, EveryFrameStartsWithAlphaBlendingInForce) {
    device.SetBlend(1);
    device.BeginRender();
    g.recorder.Clear();
    device.DrawRect(0, 0, 1, 1);
    device.SetBlend(1);
    ASSERT_EQ(g.recorder.calls.size(), 2u) << "additive is a change again in a new frame";
    EXPECT_EQ(g.recorder.calls[1].fn, GlFn::BlendFunc);
}

TEST_F(DeviceTest, AnOpaqueRectangleOverTheWholeWindowIsAClearToItsVertexColour) {
    device.DrawRect(0, 0, 4, 4);  // lies under the background: dropped
    device.SetAlpha(1);
    device.SetColor(3.7f, 128.2f, 254.9f);
    device.DrawRect(-1, -1, 642, 482);
    device.EndRender();
    EXPECT_TRUE(g.Draws().empty());
    ASSERT_EQ(g.recorder.Count(GlFn::Clear), 1);
    const GlCall clear = g.recorder.Of(GlFn::ClearColor)[0];
    const double expected[4] = {3 / 255.0, 128 / 255.0, 254 / 255.0, 1};  // the bytes a vertex would carry
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(clear.args[i], expected[i], 1e-7) << i;
}

TEST_F(DeviceTest, RectanglesThatMayLeaveOtherPixelsStayQuads) {
    struct Case {
        const char* what;
        float alpha;
        int blend;
        bool scaled;
        float x, y, w, h;
    };
    const Case cases[] = {
        {"translucent", 0.99f, 0, false, 0, 0, 640, 480},
        {"additive", 1, 1, false, 0, 0, 640, 480},
        {"under a matrix", 1, 0, true, 0, 0, 640, 480},
        {"short on the left", 1, 0, false, 0.5f, 0, 640, 480},
        {"short at the top", 1, 0, false, 0, 0.5f, 640, 480},
        {"short on the right", 1, 0, false, 0, 0, 639.5f, 480},
        {"short at the bottom", 1, 0, false, 0, 0, 640, 479.5f},
    };
    for (const Case& c : cases) {
        device.BeginRender();
        g.recorder.Clear();
        device.SetAlpha(c.alpha);
        device.SetBlend(c.blend);
        device.SetMatrix(c.scaled ? 2.0f : 1.0f, 0, 0, c.scaled ? 2.0f : 1.0f, 0, 0);
        device.DrawRect(c.x, c.y, c.w, c.h);
        device.EndRender();
        EXPECT_EQ(g.recorder.Count(GlFn::Clear), 0) << c.what;
        EXPECT_EQ(g.Draws().size(), 1u) << c.what;
    }
}

TEST_F(DeviceTest, ScissorCountsYFromTheBottomAndTheWholeWindowSwitchesItOff) {
    device.DrawRect(0, 0, 1, 1);
    device.SetScissor(10, 20, 100, 50);
    ASSERT_EQ(g.recorder.calls.size(), 3u);
    EXPECT_EQ(g.recorder.calls[0].fn, GlFn::DrawElements);
    EXPECT_EQ(g.recorder.calls[1].fn, GlFn::Enable);
    EXPECT_EQ(g.recorder.calls[1].args[0], GL_SCISSOR_TEST);
    EXPECT_EQ(g.recorder.calls[2].fn, GlFn::Scissor);
    const double expected[4] = {10, 480 - 20 - 50, 100, 50};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(g.recorder.calls[2].args[i], expected[i]);

    g.recorder.Clear();
    device.SetScissor(0, 0, 640, 480);
    ASSERT_EQ(g.recorder.calls.size(), 1u);
    EXPECT_EQ(g.recorder.calls[0].fn, GlFn::Disable);
    EXPECT_EQ(g.recorder.calls[0].args[0], GL_SCISSOR_TEST);
}

TEST_F(DeviceTest, ClsDropsUndrawnVerticesAndClearsToTheColour) {
    device.DrawRect(0, 0, 5, 5);
    device.Cls(255, 51, 0);
    device.EndRender();
    EXPECT_TRUE(g.Draws().empty());
    ASSERT_EQ(g.recorder.Count(GlFn::ClearColor), 1);
    const GlCall clear = g.recorder.Of(GlFn::ClearColor)[0];
    EXPECT_FLOAT_EQ(clear.args[0], 1);
    EXPECT_FLOAT_EQ(clear.args[1], 0.2f);
    EXPECT_FLOAT_EQ(clear.args[3], 1);
    EXPECT_EQ(g.recorder.Of(GlFn::Clear)[0].args[0], GL_COLOR_BUFFER_BIT);
}

TEST_F(DeviceTest, BeginRenderSetsTheWholeStateForTheCurrentWindowSize) {
    g.host.SetWindowSize(800, 600);
    device.DrawRect(0, 0, 1, 1);
    EXPECT_EQ(device.BeginRender(), 1);
    EXPECT_EQ(device.Width(), 800);
    EXPECT_EQ(device.Height(), 600);
    EXPECT_EQ(device.batchCount, 0);
    EXPECT_TRUE(g.Draws().empty());

    const GlCall viewport = g.recorder.Of(GlFn::Viewport)[0];
    EXPECT_EQ(viewport.args[2], 800);
    EXPECT_EQ(viewport.args[3], 600);
    const GlCall ortho = g.recorder.Of(GlFn::Ortho)[0];
    const double y_down[6] = {0, 800, 600, 0, -1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ortho.args[i], y_down[i]);
    for (GlFn array : {GlFn::VertexPointer, GlFn::TexCoordPointer, GlFn::ColorPointer})
        EXPECT_EQ(g.recorder.Of(array)[0].args[1], 20) << "stride";
    EXPECT_EQ(g.recorder.Count(GlFn::EnableClientState), 3);
    EXPECT_EQ(g.recorder.Of(GlFn::Enable)[0].args[0], GL_BLEND);
    EXPECT_EQ(g.recorder.Of(GlFn::BlendFunc)[0].args[1], GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(g.recorder.Of(GlFn::Disable)[0].args[0], GL_TEXTURE_2D);
}

TEST_F(DeviceTest, ReadPixelsFlushesAndRefusesARectangleLargerThanTheArray) {
    std::vector<int> pixels(4 * 4, -1);
    device.DrawRect(0, 0, 1, 1);
    device.ReadPixels(pixels, 0, 0, 4, 4, 0, 4);
    ASSERT_EQ(g.recorder.calls.size(), 2u);
    EXPECT_EQ(g.recorder.calls[0].fn, GlFn::DrawElements);
    const GlCall read = g.recorder.calls[1];
    EXPECT_EQ(read.args[1], 480 - 4);
    EXPECT_EQ(read.args[4], GL_BGRA);

    g.recorder.Clear();
    device.ReadPixels(pixels, 0, 0, 4, 4, 1, 4);  // one int too many
    device.ReadPixels(pixels, 0, 0, 4, 4, 0, -4);
    EXPECT_EQ(g.recorder.Count(GlFn::ReadPixels), 0);
}

TEST_F(DeviceTest, ABatchIsDrawnBeforeItsSurfaceGoesAway) {
    auto surface = MakeSurface();
    device.DrawSurface(surface.get(), 0, 0);
    surface.reset();
    EXPECT_EQ(g.Draws().size(), 1u);
    EXPECT_EQ(device.batchSurface, nullptr);
    device.EndRender();
    EXPECT_EQ(g.Draws().size(), 1u);
}

}  // namespace
