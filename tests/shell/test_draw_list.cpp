// The display list's recording (pen, commands, capacity, frame starts) and the
// fit of the virtual screen to the window.
#include <gtest/gtest.h>

#include "shell/globals.h"
#include "tests/shell/shell_test.h"

namespace {

// Elements 0..7 and 10..13 of a command, the ones a recorder writes.
struct Recorded {
    float e[8];
    float colour[3];
    float blend;
};

void ExpectCommand(const float* command, const Recorded& expected) {
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(command[i], expected.e[i]) << "element " << i;
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(command[10 + i], expected.colour[i]) << "colour " << i;
    EXPECT_FLOAT_EQ(command[13], expected.blend);
}

}  // namespace

TEST_F(ShellTest, RecordersStoreTheirFieldsWithThePen) {
    game->CLS2D(0, 0, 0, 1);
    game->SetSize(2, 3);
    game->SetRot(30);
    game->SetCol(10, 20, 30, 0.5f);
    game->drawBlend = 3;
    game->DrawImg(95, 100, 50, 7);
    game->Rect(1, 2, 3, 4);
    game->Oval(5, 6, 7, 8);
    game->Line(9, 10, 11, 12);
    ASSERT_EQ(Commands(), 4);
    ExpectCommand(Command(0), {{95, 100, 50, -30, 2, 3, 7, 0.5f}, {10, 20, 30}, 3});
    ExpectCommand(Command(1), {{-3717, 1, 2, -30, 3, 4, 0, 0.5f}, {10, 20, 30}, 3});
    ExpectCommand(Command(2), {{-3716, 5, 6, -30, 7, 8, 0, 0.5f}, {10, 20, 30}, 3});
    ExpectCommand(Command(3), {{-3715, 9, 10, -30, 11, 12, 0, 0.5f}, {10, 20, 30}, 3});
}

TEST_F(ShellTest, PenSettersFollowTheirSentinels) {
    game->ResetDraw();
    game->SetSize(0.5f);
    EXPECT_FLOAT_EQ(game->drawScaleX, 0.5f);
    EXPECT_FLOAT_EQ(game->drawScaleY, 0.5f);
    game->SetCol(1, 2, 3);
    EXPECT_FLOAT_EQ(game->drawAlpha, 1);  // no alpha given: kept
    game->Alpha(0.25f);
    EXPECT_FLOAT_EQ(game->drawAlpha, 0.25f);
    game->SetRot(-45);
    EXPECT_FLOAT_EQ(game->drawRotation, 45);
    game->ResetDraw();
    EXPECT_FLOAT_EQ(game->drawScaleY, 1);
    EXPECT_FLOAT_EQ(game->drawR + game->drawG + game->drawB, 765);
    EXPECT_EQ(game->drawBlend, 1);
}

TEST_F(ShellTest, TriangleKeepsLeftToRightOrderAndReversesOtherwise) {
    struct Case {
        float in[6];
        float stored[6];
    };
    const Case cases[] = {
        {{0, 1, 5, 2, 3, 4}, {0, 1, 5, 2, 3, 4}},   // x1 <= x2 and x3 <= x2: kept
        {{5, 5, 5, 6, 5, 7}, {5, 5, 5, 6, 5, 7}},   // ties count as in order
        {{6, 1, 5, 2, 3, 4}, {3, 4, 5, 2, 6, 1}},   // x1 > x2: reversed
        {{0, 1, 5, 2, 9, 4}, {9, 4, 5, 2, 0, 1}},   // x3 > x2: reversed
    };
    for (const Case& c : cases) {
        game->CLS2D(0, 0, 0, 1);
        game->Tri(c.in[0], c.in[1], c.in[2], c.in[3], c.in[4], c.in[5]);
        ASSERT_EQ(Commands(), 1);
        EXPECT_FLOAT_EQ(Command(0)[0], -3714);
        for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(Command(0)[1 + i], c.stored[i]) << "case x1=" << c.in[0];
    }
}

TEST_F(ShellTest, AFullListKeeps2499CommandsAndDropsTheRest) {
    game->CLS2D(0, 0, 0, 1);
    for (int i = 0; i < 2500; ++i) game->Rect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(Commands(), 2499);
    EXPECT_FLOAT_EQ(Command(2498)[1], 2498);
    game->Oval(0, 0, 1, 1);
    EXPECT_EQ(Commands(), 2499);
}

TEST_F(ShellTest, FrameStartsEmptyTheListAndResetThePen) {
    game->Rect(0, 0, 1, 1);
    game->SetSize(4);
    game->CLS2D(10, 20, 30, 0.5f);
    EXPECT_EQ(game->drawLength, 0);
    EXPECT_FLOAT_EQ(game->drawScaleX, 1);
    EXPECT_FLOAT_EQ(game->backR, 10);
    EXPECT_FLOAT_EQ(game->backAlpha, 0.5f);
}

TEST_F(ShellTest, DoBGEasesTowardsItsTargetsAndClampsAlpha) {
    game->DoBG(80, 160, 0, -123);
    EXPECT_FLOAT_EQ(game->backR, 10);
    EXPECT_FLOAT_EQ(game->backG, 20);
    EXPECT_FLOAT_EQ(game->backAlpha, 1);
    // Components below -122 keep their target: red and green go on easing.
    game->DoBG(-123, -200, 8, 2.5f);
    EXPECT_FLOAT_EQ(game->backR, 18.75f);
    EXPECT_FLOAT_EQ(game->backG, 37.5f);
    EXPECT_FLOAT_EQ(game->backB, 1);
    EXPECT_FLOAT_EQ(game->backAlpha, 1);
    game->DoBG(0, 0, 0, -0.5f);
    EXPECT_FLOAT_EQ(game->backAlpha, 0);
}

TEST_F(ShellTest, InkPresetsScaleAndClamp) {
    struct Case {
        int type;
        float brightness;
        float rgb[3];
    };
    const Case cases[] = {
        {1, 1, {255, 25.5f, 25.5f}},   {2, 1, {255, 127.5f, 25.5f}}, {7, 1, {127.5f, 25.5f, 255}},
        {9, 0.5f, {127.5f, 127.5f, 127.5f}}, {0, 1, {76.5f, 76.5f, 76.5f}}, {42, 1, {76.5f, 76.5f, 76.5f}},
        {5, 2, {51, 255, 255}},        {3, -1, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        game->Ink(c.type, c.brightness);
        EXPECT_NEAR(game->drawR, c.rgb[0], 1e-3) << "type " << c.type;
        EXPECT_NEAR(game->drawG, c.rgb[1], 1e-3) << "type " << c.type;
        EXPECT_NEAR(game->drawB, c.rgb[2], 1e-3) << "type " << c.type;
    }
}

TEST_F(ShellTest, RotInkRampsEachChannelBetweenItsLimits) {
    game->RotInk(0, 1, 1);  // sines of 120, 240 and 360 degrees
    EXPECT_NEAR(game->drawR, 1.8660254f * 127.5f, 1e-3);
    EXPECT_NEAR(game->drawG, 0.1339746f * 127.5f, 1e-3);
    EXPECT_NEAR(game->drawB, 127.5f, 1e-3);
    game->RotInk(0, 5, 0);  // beyond the ramp: off or full
    EXPECT_FLOAT_EQ(game->drawR, 255);
    EXPECT_FLOAT_EQ(game->drawG, 0);
}

TEST_F(ShellTest, FitKeepsOneDesignDimension) {
    struct Case {
        int width, height;
        float overscanPixels;
        float virtualW, virtualH, scale;
        int axis, isLandscape;
    };
    const Case cases[] = {
        {640, 480, 0, 640, 480, 1, 1, 1},
        {1280, 720, 0, 640, 360, 2, 1, 1},
        {1920, 1080, 0, 640, 360, 3, 1, 1},
        {800, 800, 0, 480, 480, 5.0f / 3.0f, 2, 1},
        {480, 640, 0, 540, 720, 8.0f / 9.0f, 2, 0},
        {640, 960, 0, 480, 720, 4.0f / 3.0f, 2, 0},
        {640, 480, 20, 640, 480, 0.9375f, 1, 1},
        {640, 480, 80, 640, 480, 0.75f, 1, 1},
    };
    for (const Case& c : cases) {
        overscan = c.overscanPixels;
        game->FitScreen(c.width, c.height);
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " overscan " << c.overscanPixels);
        EXPECT_FLOAT_EQ(jscrw, c.virtualW);
        EXPECT_FLOAT_EQ(jscrh, c.virtualH);
        EXPECT_FLOAT_EQ(game->scaleX, c.scale);
        EXPECT_FLOAT_EQ(game->scaleY, c.scale);
        EXPECT_EQ(game->fitAxis, c.axis);
        EXPECT_EQ(game->landscape, c.isLandscape);
    }
}
