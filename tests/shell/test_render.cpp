// OnRender: the background, the reload on a size change, the fit and the
// replay of each kind of command through the graphics module, scaled to the
// window. A device that records its calls stands in for OpenGL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "graphics/image.h"
#include "shell/globals.h"
#include "tests/shell/shell_test.h"

namespace {

struct DeviceCall {
    std::string what;
    std::vector<float> args;
};

// Records the device calls a render makes; draws nothing.
class CallLog : public gxtkGraphics {
public:
    void SetColor(float r, float g, float b) override { Log("colour", {r, g, b}); }
    void SetAlpha(float a) override { Log("alpha", {a}); }
    void SetBlend(int blend) override { Log("blend", {static_cast<float>(blend)}); }
    void SetMatrix(float a, float b, float c, float d, float tx, float ty) override {
        Log("matrix", {a, b, c, d, tx, ty});
    }
    void DrawRect(float x, float y, float w, float h) override { Log("rect", {x, y, w, h}); }
    void DrawLine(float x1, float y1, float x2, float y2) override { Log("line", {x1, y1, x2, y2}); }
    void DrawOval(float x, float y, float w, float h) override { Log("oval", {x, y, w, h}); }
    void DrawPoly(std::span<const float> xy) override { Log("poly", {xy.begin(), xy.end()}); }
    void DrawSurface(gxtkSurface*, float x, float y) override { Log("surface", {x, y}); }
    void DrawSurface2(gxtkSurface*, float x, float y, int srcX, int srcY, int, int) override {
        Log("surface", {x, y, static_cast<float>(srcX), static_cast<float>(srcY)});
    }

    // The calls of one kind, in order.
    std::vector<std::vector<float>> Of(const std::string& what) const {
        std::vector<std::vector<float>> found;
        for (const DeviceCall& call : calls) {
            if (call.what == what) found.push_back(call.args);
        }
        return found;
    }
    // The last call of a kind made before the n-th call of another.
    std::vector<float> LastBefore(const std::string& what, const std::string& drawn, int n) const {
        std::vector<float> last;
        for (const DeviceCall& call : calls) {
            if (call.what == drawn && n-- == 0) return last;
            if (call.what == what) last = call.args;
        }
        return {};
    }

    std::vector<DeviceCall> calls;

private:
    void Log(const char* what, std::vector<float> args) { calls.push_back({what, std::move(args)}); }
};

void ExpectArgs(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3) << "argument " << i;
}

}  // namespace

class RenderTest : public ShellTest {
protected:
    void SetUp() override {
        graphics::SetGraphicsDevice(&log);
        host.SetWindowSize(1280, 720);
        Render();  // the new size: a reload starts and the fit gives scale 2
        FinishLoading();
        game->mode = 0;  // no screen runs; the test records what it wants drawn
        game->CLS2D(0, 0, 0, 1);
    }

    // One render pass as the game delegate makes it, on the recording device.
    void Render() {
        log.calls.clear();
        app::ValidateDeviceWindow();
        graphics::BeginRender();
        log.calls.clear();  // the pass's own start values
        game->OnRender();
        graphics::EndRender();
    }

    CallLog log;
};

TEST_F(RenderTest, BackgroundCoversTheWindowBeforeTheList) {
    game->CLS2D(10, 20, 30, 0.25f);
    game->Rect(0, 0, 1, 1);
    Render();
    ASSERT_FALSE(log.calls.empty());
    ExpectArgs(log.calls[0].args, {10, 20, 30});
    ExpectArgs(log.calls[1].args, {0.25f});
    ExpectArgs(log.Of("rect")[0], {-1, -1, 1282, 722});
    EXPECT_EQ(log.Of("rect").size(), 2u);
}

TEST_F(RenderTest, ShapesAreScaledToTheWindow) {
    game->Rect(10, 20, 30, 40);
    game->Oval(50, 60, 10, 5);
    game->Line(1, 2, 3, 4);
    game->Tri(0, 0, 5, 1, 2, 3);
    Render();
    ExpectArgs(log.Of("rect")[1], {20, 40, 60, 80});
    ExpectArgs(log.Of("oval")[0], {80, 110, 40, 20});  // centre (100, 120), radii 20 x 10
    ExpectArgs(log.Of("line")[0], {2, 4, 6, 8});
    ExpectArgs(log.Of("poly")[0], {0, 0, 10, 2, 4, 6});
}

TEST_F(RenderTest, EachCommandCarriesItsColourAlphaAndBlend) {
    game->SetCol(1, 2, 3, 0.5f);
    game->drawBlend = 3;
    game->Rect(0, 0, 1, 1);
    game->SetCol(4, 5, 6, 1);
    game->drawBlend = 1;
    game->Oval(0, 0, 1, 1);
    Render();
    ExpectArgs(log.LastBefore("colour", "rect", 1), {1, 2, 3});
    ExpectArgs(log.LastBefore("alpha", "rect", 1), {0.5f});
    ExpectArgs(log.LastBefore("blend", "rect", 1), {1});  // 3 is additive
    ExpectArgs(log.LastBefore("colour", "oval", 0), {4, 5, 6});
    ExpectArgs(log.LastBefore("blend", "oval", 0), {0});
}

TEST_F(RenderTest, ImagesAreScaledByTheWindowAndTheResolution) {
    game->images[5] = graphics::CreateImage(16, 16, 1, Image::CentreHandle);
    ASSERT_TRUE(game->images[5]);
    game->hdScale = 0.5f;
    game->SetSize(3, 1);
    game->DrawImg(5, 100, 50, 0);
    Render();
    ASSERT_EQ(log.Of("surface").size(), 1u);
    // At (200, 100), scaled 2 * 3 * 0.5 by 2 * 1 * 0.5 about the centre (8, 8).
    ExpectArgs(log.LastBefore("matrix", "surface", 0), {3, 0, 0, 1, 200 - 24, 100 - 8});
}

TEST_F(RenderTest, EmptyAndUnknownBanksDrawNothing) {
    game->DrawImg(7, 10, 10, 0);    // never loaded
    game->DrawImg(100, 10, 10, 0);  // past the bank
    game->DrawImg(5000, 10, 10, 0);
    Render();
    EXPECT_TRUE(log.Of("surface").empty());
}

TEST_F(RenderTest, AFullListReplays2499Commands) {
    for (int i = 0; i < 2600; ++i) game->Line(0, 0, 1, 1);
    Render();
    EXPECT_EQ(log.Of("line").size(), 2499u);
}

TEST_F(RenderTest, RendersWithoutATickDrawTheSamePicture) {
    game->Rect(1, 1, 2, 2);
    game->Oval(3, 3, 1, 1);
    Render();
    std::vector<DeviceCall> first = log.calls;
    Render();
    ASSERT_EQ(log.calls.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(log.calls[i].args, first[i].args) << i;
}

TEST_F(RenderTest, OverscanInsetsBothAxesByTheAspectRatio) {
    overscan = 64;
    game->Rect(0, 0, 10, 10);
    Render();
    // u = (1280 - 128) / 640 = 1.8 wins over v = (720 - 128) / 480; the inset is 64 by 36.
    EXPECT_FLOAT_EQ(game->scaleX, 1.8f);
    ExpectArgs(log.Of("rect")[1], {64, 36, 18, 18});
}

TEST_F(RenderTest, SizeChangeStartsAReloadAndRefitsOnce) {
    EXPECT_EQ(game->loadStage, 0);
    host.SetWindowSize(480, 640);
    Render();
    EXPECT_EQ(game->loadStage, 1);
    EXPECT_EQ(game->lastDevWidth, 480);
    EXPECT_EQ(game->lastDevHeight, 640);
    EXPECT_FLOAT_EQ(jscrw, 540);
    EXPECT_FLOAT_EQ(jscrh, 720);
    game->loadStage = 0;
    Render();
    EXPECT_EQ(game->loadStage, 0) << "the same size does not reload again";
}

TEST_F(RenderTest, AWindowWithoutAreaKeepsTheVirtualScreen) {
    game->Rect(0, 0, 10, 10);
    host.SetWindowSize(0, 0);  // minimised
    Render();
    EXPECT_FLOAT_EQ(jscrw, 640);
    EXPECT_FLOAT_EQ(jscrh, 360);
    EXPECT_FLOAT_EQ(game->scaleX, 2);
    EXPECT_EQ(log.Of("rect").size(), 1u) << "only the background";
    EXPECT_EQ(game->loadStage, 0);
}

TEST_F(RenderTest, RenderRateMeterSmoothsOverTenFrames) {
    host.clockMs = 5000;
    Render();
    host.clockMs = 5020;
    game->renderRateAvg = 40;
    Render();
    EXPECT_EQ(game->renderRate, 50);
    EXPECT_EQ(game->renderRateAvg, (50 + 40 * 9) / 10);
}
