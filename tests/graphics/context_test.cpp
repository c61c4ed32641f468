// The graphics module: per-pass reset, state forwarding, the matrix with its
// lazy hand-over and its stack, and how shapes and images reach the device.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/graphics/graphics_fixtures.h"

namespace {

// What the module asks of the device, for the calls whose arguments matter here.
struct SpyDevice : gxtkGraphics {
    struct Matrix {
        float a, b, c, d, tx, ty;
    };
    void SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty) override {
        matrices.push_back({ma, mb, mc, md, mtx, mty});
        gxtkGraphics::SetMatrix(ma, mb, mc, md, mtx, mty);
    }
    void DrawOval(float x, float y, float w, float h) override {
        ovals.push_back({x, y, w, h});
        gxtkGraphics::DrawOval(x, y, w, h);
    }
    std::vector<Matrix> matrices;
    std::vector<std::vector<float>> ovals;
};

class ContextTest : public ::testing::Test {
protected:
    ContextTest() {
        graphics::SetGraphicsDevice(&spy);
        BeginFrame();
        spy.matrices.clear();
        g.recorder.Clear();
    }
    ~ContextTest() override { graphics::SetGraphicsDevice(g.device.get()); }
    void BeginFrame() {
        spy.BeginRender();
        graphics::BeginRender();
    }
    void EndFrame() {
        graphics::EndRender();
        spy.EndRender();
    }

    RecordedGraphics g;
    SpyDevice spy;
};

// The module's matrix applied to a point.
std::pair<float, float> Apply(float x, float y) {
    const GraphicsContext& m = *graphics::context;
    return {x * m.a + y * m.c + m.tx, x * m.b + y * m.d + m.ty};
}

TEST_F(ContextTest, MatrixReachesTheDeviceOnceWhenSomethingIsDrawn) {
    graphics::DrawRect(0, 0, 1, 1);  // the pass starts with the identity, once
    ASSERT_EQ(spy.matrices.size(), 1u);
    EXPECT_FLOAT_EQ(spy.matrices[0].a, 1);
    EXPECT_FLOAT_EQ(spy.matrices[0].tx, 0);

    graphics::Translate(10, 0);
    graphics::Translate(10, 0);
    EXPECT_EQ(spy.matrices.size(), 1u) << "matrix operations alone reach nothing";
    graphics::DrawRect(0, 0, 1, 1);
    graphics::DrawLine(0, 0, 1, 1);
    ASSERT_EQ(spy.matrices.size(), 2u);
    EXPECT_FLOAT_EQ(spy.matrices[1].tx, 20);
    EXPECT_FLOAT_EQ(spy.matrices[1].ty, 0);
}

TEST_F(ContextTest, TransformsApplyInnermostFirst) {
    graphics::Translate(10, 20);
    graphics::Rotate(90);
    graphics::Scale(2, 3);
    auto [x, y] = Apply(1, 1);  // scaled to (2, 3), turned to (3, -2), moved
    EXPECT_NEAR(x, 13, 1e-5);
    EXPECT_NEAR(y, 18, 1e-5);

    const float m[6] = {1, 2, 3, 4, 5, 6};
    graphics::SetMatrix2(m);
    graphics::Transform2(m);  // the product of the matrix with itself
    const GraphicsContext& c = *graphics::context;
    const float expected[6] = {7, 10, 15, 22, 28, 40};
    const float actual[6] = {c.a, c.b, c.c, c.d, c.tx, c.ty};
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(actual[i], expected[i]) << i;
}

TEST_F(ContextTest, APositiveRotationTurnsCounterClockwiseOnScreen) {
    graphics::Rotate(90);
    auto [x, y] = Apply(1, 0);  // right becomes up (y down)
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, -1, 1e-6);
}

TEST_F(ContextTest, ThirtyThreeNestedPushesGrowTheStackAndPopInReverse) {
    GraphicsContext& c = *graphics::context;
    ASSERT_EQ(c.matrixStack.size(), 192u);
    for (int i = 0; i < 33; ++i) {
        graphics::SetMatrix(1, 0, 0, 1, static_cast<float>(i), static_cast<float>(-i));
        graphics::PushMatrix();
    }
    EXPECT_EQ(c.matrixStack.size(), 384u);
    EXPECT_EQ(c.matrixDepth, 33 * 6);
    for (int i = 32; i >= 0; --i) {
        graphics::PopMatrix();
        EXPECT_FLOAT_EQ(c.tx, static_cast<float>(i));
        EXPECT_FLOAT_EQ(c.ty, static_cast<float>(-i));
    }
    EXPECT_EQ(c.matrixDepth, 0);
    graphics::PopMatrix();  // one too many changes nothing
    EXPECT_EQ(c.matrixDepth, 0);
    EXPECT_FLOAT_EQ(c.tx, 0);

    EndFrame();
    graphics::PushMatrix();
    BeginFrame();
    EXPECT_EQ(c.matrixDepth, 0) << "every pass starts with an empty stack";
    EXPECT_EQ(c.matrixStack.size(), 384u) << "that keeps its grown length";
}

TEST_F(ContextTest, ScissorIsTruncatedOnTheWayToTheDevice) {
    graphics::SetScissor(10.9f, 0, 100.7f, 50);
    ASSERT_EQ(g.recorder.Count(GlFn::Scissor), 1);
    const GlCall scissor = g.recorder.Of(GlFn::Scissor)[0];
    const double expected[4] = {10, 480 - 50, 100, 50};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(scissor.args[i], expected[i]);
    EXPECT_FLOAT_EQ(graphics::context->scissorX, 10.9f);
}

TEST_F(ContextTest, EachPassStartsWhiteOpaqueAlphaBlendedWithoutScissor) {
    graphics::SetColor(1, 2, 3);
    graphics::SetAlpha(0.25f);
    graphics::SetBlend(1);
    graphics::SetScissor(5, 5, 10, 10);
    graphics::Translate(7, 7);
    EndFrame();
    g.recorder.Clear();
    BeginFrame();

    const GraphicsContext& c = *graphics::context;
    EXPECT_EQ(c.blend, 0);
    EXPECT_FLOAT_EQ(c.alpha, 1);
    EXPECT_FLOAT_EQ(c.red, 255);
    EXPECT_FLOAT_EQ(c.tx, 0);
    EXPECT_EQ(spy.packedColor, 0xFFFFFFFFu);
    EXPECT_EQ(g.recorder.Of(GlFn::BlendFunc).back().args[1], GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(g.recorder.Of(GlFn::Disable).back().args[0], GL_SCISSOR_TEST);
    EXPECT_EQ(c.scissorWidth, 640);
    EXPECT_EQ(c.scissorHeight, 480);
}

TEST_F(ContextTest, StateIsForwardedAtOnce) {
    graphics::SetColor(200, 100, 50);
    graphics::SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(spy.red, 200);
    EXPECT_FLOAT_EQ(spy.alpha, 0.5f);
    graphics::SetBlend(1);
    EXPECT_EQ(g.recorder.Of(GlFn::BlendFunc).back().args[1], GL_ONE);
}

TEST_F(ContextTest, EllipsesAreGivenByCentreAndRadii) {
    graphics::DrawEllipse(50, 50, 10, 5);
    ASSERT_EQ(spy.ovals.size(), 1u);
    EXPECT_EQ(spy.ovals[0], (std::vector<float>{40, 45, 20, 10}));
}

class ImageDrawing : public ContextTest {
protected:
    ImageDrawing() {
        image.Init(g.device->CreateSurface(16, 8), 2, 0);  // two 8 x 8 frames
        whole.Init(g.device->CreateSurface(16, 8), 1, Image::CentreHandle);
        g.recorder.Clear();
    }
    std::vector<RecordedVertex> DrawnQuad() {
        spy.EndRender();
        std::vector<GlCall> draws = g.Draws();
        if (draws.empty()) return {};
        auto v = g.recorder.VerticesOf(draws.back());
        return std::vector<RecordedVertex>(v.begin(), v.end());
    }

    Image image, whole;
};

TEST_F(ImageDrawing, DrawImagePutsTheHandleOnThePosition) {
    image.handleX = image.handleY = 8;
    graphics::DrawImage(&image, 100, 50, 1);
    auto v = DrawnQuad();
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 92);
    EXPECT_FLOAT_EQ(v[0].y, 42);
    EXPECT_FLOAT_EQ(v[0].u, 8.0f / 16) << "frame 1 starts 8 pixels in";
    EXPECT_FLOAT_EQ(v[2].x, 100);
}

TEST_F(ImageDrawing, DrawImage2WithoutTurnOrScaleMatchesDrawImage) {
    image.handleX = image.handleY = 8;
    graphics::DrawImage2(&image, 100, 50, 0, 1, 1, 0);
    auto v = DrawnQuad();
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 92);
    EXPECT_FLOAT_EQ(v[0].y, 42);
    EXPECT_FLOAT_EQ(graphics::context->tx, 0) << "the matrix is restored";
}

TEST_F(ImageDrawing, DrawImage2TurnsAndScalesAboutTheHandle) {
    graphics::DrawImage2(&whole, 100, 50, 90, 2, 1, 0);  // 16 x 8, handle (8, 4)
    auto v = DrawnQuad();
    ASSERT_EQ(v.size(), 4u);
    float cx = 0, cy = 0;
    for (const auto& p : v) cx += p.x / 4, cy += p.y / 4;
    EXPECT_NEAR(cx, 100, 1e-4);
    EXPECT_NEAR(cy, 50, 1e-4);
    // The top-left corner, (-8, -4) from the handle, scaled to (-16, -4) and
    // turned a quarter counter-clockwise to (-4, 16).
    EXPECT_NEAR(v[0].x, 96, 1e-4);
    EXPECT_NEAR(v[0].y, 66, 1e-4);
    EXPECT_FLOAT_EQ(v[2].u, 1) << "whole surface";
}

TEST_F(ImageDrawing, NullImagesAndMissingFramesDrawNothing) {
    graphics::DrawImage(nullptr, 0, 0, 0);
    graphics::DrawImage2(nullptr, 0, 0, 0, 1, 1, 0);
    graphics::DrawImage(&image, 0, 0, 2);
    graphics::DrawImage2(&image, 0, 0, 0, 1, 1, -1);
    const float xyuv[12] = {};
    graphics::DrawPoly2(xyuv, &image, 5);
    EXPECT_TRUE(DrawnQuad().empty());
    EXPECT_EQ(graphics::context->matrixDepth, 0);
}

TEST_F(ImageDrawing, TexturedPolygonsUseTheFrameCorner) {
    const float xyuv[12] = {0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 8, 8};
    graphics::DrawPoly2(xyuv, &image, 1);
    auto v = DrawnQuad();
    ASSERT_EQ(v.size(), 3u);
    EXPECT_FLOAT_EQ(v[0].u, 0.5f);
    EXPECT_FLOAT_EQ(v[1].u, 1);
}

TEST(ContextOutsideAPass, CallsOnlyChangeTheContext) {
    RecordedGraphics g;
    graphics::SetColor(1, 2, 3);
    graphics::DrawRect(0, 0, 1, 1);
    graphics::DrawImage2(nullptr, 0, 0, 0, 1, 1, 0);
    EXPECT_FLOAT_EQ(graphics::context->blue, 3);
    EXPECT_TRUE(g.recorder.calls.empty());
}

}  // namespace
