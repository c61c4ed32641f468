// Control mapping: PlayKey over keys, pad buttons and the left stick; the
// pointer tests Touch, Button, MouseIn and MouseIn_Centered.
#include <gtest/gtest.h>

#include <vector>

#include "tests/shell/shell_test.h"

namespace {

// The keyboard and pad layout of each control.
struct Layout {
    int id;
    std::vector<int> keys;
    std::vector<int> padButtons;
};

const Layout kLayouts[] = {
    {0, {38, 87}, {9}},
    {3, {37, 65}, {8}},
    {5, {39, 68}, {10}},
    {8, {40, 83}, {11}},
    {10, {90, 74, 32, 13}, {0}},
    {11, {88, 75, 17}, {1}},
    {12, {67, 76, 16}, {2}},
    {13, {86, 73}, {3}},
    {14, {66, 85}, {4}},
    {15, {78, 79}, {5}},
    {99, {27, 192, 46, 8}, {6, 7}},
};
const int kAllIds[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 98, 99};

bool SameControl(int a, int b) { return a == b || (a >= 98 && b >= 98); }

}  // namespace

// No screen runs, so held keys (Back among them) only reach PlayKey.
class ControlsTest : public PadShellTest {
protected:
    void SetUp() override { game->mode = 0; }
};

TEST_F(ControlsTest, EachKeyAnswersItsControlForEveryPlayer) {
    for (const Layout& layout : kLayouts) {
        for (int key : layout.keys) {
            host.PressKey(key);
            host.Tick();
            for (int id : kAllIds) {
                int expected = SameControl(id, layout.id) ? 1 : 0;
                for (int unit = 0; unit < 4; ++unit)
                    EXPECT_EQ(game->PlayKey(id, 0, unit), expected) << "key " << key << " id " << id;
                int keyboardOnly = id == 98 ? 0 : expected;
                EXPECT_EQ(game->PlayKey(id, 0, -1), keyboardOnly) << "key " << key << " id " << id;
            }
            host.ReleaseKey(key);
        }
    }
}

TEST_F(ControlsTest, EachPadButtonAnswersOnlyItsOwnUnit) {
    for (const Layout& layout : kLayouts) {
        for (int button : layout.padButtons) {
            host.pads[2].buttons[button] = true;
            host.Tick();
            for (int id : kAllIds) {
                int expected = SameControl(id, layout.id) ? 1 : 0;
                EXPECT_EQ(game->PlayKey(id, 0, 2), expected) << "button " << button << " id " << id;
                EXPECT_EQ(game->PlayKey(id, 0, 1), 0) << "button " << button << " id " << id;
                EXPECT_EQ(game->PlayKey(id, 0, -1), 0) << "button " << button << " id " << id;
            }
            host.pads[2].buttons[button] = false;
        }
    }
}

TEST_F(ControlsTest, StickCountsOnlyWithAnalogueOnAndPastTheThreshold) {
    struct Case {
        float joyX, joyY;
        int yNormal;  // settings entry 15
        int id, analogue;
        int expected;
    };
    const Case cases[] = {
        {0, 0.8f, 0, 0, 1, 1},    // flipped by default: up on the pad is up
        {0, 0.8f, 0, 0, 0, 0},    // analogue off
        {0, 0.4f, 0, 0, 1, 0},    // the threshold itself does not count
        {0, 0.41f, 0, 0, 1, 1},
        {0, -0.8f, 0, 8, 1, 1},
        {0, -0.8f, 1, 0, 1, 1},   // "Left Thumbstick Y Normal"
        {0, 0.8f, 1, 0, 1, 0},
        {0, 0.8f, 1, 8, 1, 1},
        {-0.5f, 0, 0, 3, 1, 1},
        {-0.5f, 0, 0, 5, 1, 0},
        {0.5f, 0, 0, 5, 1, 1},
        {-0.4f, 0, 0, 3, 1, 0},
        {0.9f, 0.9f, 0, 10, 1, 0},  // buttons never come from the stick
    };
    for (const Case& c : cases) {
        host.pads[1].joyX[0] = c.joyX;
        host.pads[1].joyY[0] = c.joyY;
        game->settings[15] = c.yNormal;
        host.Tick();
        EXPECT_EQ(game->PlayKey(c.id, c.analogue, 1), c.expected)
            << "stick " << c.joyX << "," << c.joyY << " normal " << c.yNormal << " id " << c.id;
        EXPECT_EQ(game->PlayKey(c.id, c.analogue, 0), 0) << "another unit's stick";
        EXPECT_EQ(game->PlayKey(c.id, c.analogue, -1), 0) << "the keyboard-only unit";
    }
}

TEST_F(ControlsTest, StickReadersFollowTheSettingsAndIgnoreMissingUnits) {
    host.pads[0].joyX[1] = 0.25f;
    host.pads[0].joyY[1] = 0.5f;
    host.Tick();
    EXPECT_FLOAT_EQ(game->StickX(1, 0), 0.25f);
    EXPECT_FLOAT_EQ(game->StickY(1, 0), -0.5f);
    game->settings[16] = 1;
    EXPECT_FLOAT_EQ(game->StickY(1, 0), 0.5f);
    EXPECT_FLOAT_EQ(game->StickX(1, -1), 0);
    EXPECT_FLOAT_EQ(game->StickY(0, 4), 0);
    EXPECT_FLOAT_EQ(game->StickX(2, 0), 0);
}

TEST_F(ControlsTest, OddUnitsAndIdsAreNeverActiveButKeysStillAnswer) {
    host.PressKey(38);
    for (int button = 0; button < 14; ++button) host.pads[0].buttons[button] = true;
    host.pads[0].joyY[0] = 1;
    host.Tick();
    EXPECT_EQ(game->PlayKey(16, 1, 0), 0);
    EXPECT_EQ(game->PlayKey(17, 1, 0), 0);
    EXPECT_EQ(game->PlayKey(1, 1, 0), 0);
    EXPECT_EQ(game->PlayKey(0, 1, -2), 0);
    EXPECT_EQ(game->PlayKey(0, 1, 9), 1);  // no pad up there, but the Up key answers
    host.ReleaseKey(38);
    host.Tick();
    EXPECT_EQ(game->PlayKey(0, 1, 9), 0);
}

TEST_F(ShellTest, TouchWidensItsBoxAndDrawsIt) {
    game->CLS2D(0, 0, 0, 1);
    struct Case {
        int x, y;
        int expected;
    };
    const Case cases[] = {
        {95, 95, 1}, {151, 131, 1}, {94, 110, 0}, {152, 110, 0}, {120, 132, 0}, {120, 94, 0}, {120, 110, 1},
    };
    for (const Case& c : cases) {
        game->touchDown[3] = 1;
        game->touchX[3] = c.x;
        game->touchY[3] = c.y;
        EXPECT_EQ(game->Touch(100, 100, 40, 20), c.expected) << c.x << "," << c.y;
    }
    game->touchDown[3] = 0;  // a released point does not count even where it was
    EXPECT_EQ(game->Touch(100, 100, 40, 20), 0);
    ASSERT_EQ(Commands(), 8);
    EXPECT_FLOAT_EQ(Command(0)[0], MyApp::kCodeRect);
    EXPECT_FLOAT_EQ(Command(0)[4], 40);
}

TEST_F(ShellTest, MouseInUsesStrictEdges) {
    struct Case {
        int x, y;
        int inBox, inCentred;
    };
    // MouseIn(10, 10, 20, 20) and MouseIn_Centered(20, 20, 20, 20) are the same box.
    const Case cases[] = {
        {10, 15, 0, 0}, {11, 15, 1, 1}, {29, 29, 1, 1}, {30, 15, 0, 0}, {15, 10, 0, 0}, {15, 30, 0, 0},
    };
    for (const Case& c : cases) {
        game->touchDown[0] = 1;
        game->touchX[0] = c.x;
        game->touchY[0] = c.y;
        EXPECT_EQ(game->MouseIn(10, 10, 20, 20), c.inBox) << c.x << "," << c.y;
        EXPECT_EQ(game->MouseIn_Centered(20, 20, 20, 20), c.inCentred) << c.x << "," << c.y;
    }
    game->touchDown[0] = 0;
    EXPECT_EQ(game->MouseIn(10, 10, 20, 20), 0);
}

TEST_F(ShellTest, ButtonHitsInsideTheDrawnImageWhilePointerIsDown) {
    game->imageSizes[3 * 95] = 128;  // a "-hd" picture: 128 file pixels,
    game->imageSizes[3 * 95 + 1] = 64;
    game->hdScale = 0.5f;  // drawn at half size
    game->SetSize(2, 1);
    game->pointerDown = 1;
    struct Case {
        int x, y;
        int hit;
    };
    // Half width 2 * 0.5 * 128 / 2 = 64, half height 16, around (200, 100).
    const Case cases[] = {{263, 115, 1}, {264, 100, 0}, {137, 85, 1}, {200, 116, 0}, {-3717, -3717, 0}};
    for (const Case& c : cases) {
        game->touchX[5] = c.x;
        game->touchY[5] = c.y;
        EXPECT_EQ(game->Button(95, 200, 100, 4), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(game->buttonHit, c.hit);
    }
    game->touchX[5] = 200;
    game->touchY[5] = 100;
    game->pointerDown = 0;
    EXPECT_EQ(game->Button(95, 200, 100, 4), 0);
    EXPECT_FLOAT_EQ(Command(Commands() - 1)[0], 95);
    EXPECT_FLOAT_EQ(Command(Commands() - 1)[6], 4);
}
