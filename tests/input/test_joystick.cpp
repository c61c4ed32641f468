// PollJoystick over scripted devices: packing into units, the two pad
// layouts, hats and controller mappings, and the whole road to input::JoyDown.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "host/joystick.h"
#include "host/qvglfwgame.h"
#include "input/input.h"
#include "tests/support/fake_host.h"

namespace {

struct FakeDevice {
    bool present = false;
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    std::vector<unsigned char> hats;
    std::optional<GamepadState> gamepad;
};

class FakeJoysticks : public JoystickSource {
public:
    bool Present(int id) override {
        presentQueries += 1;
        return devices[id].present;
    }
    int Axes(int id, float* out, int max) override { return Copy(devices[id].axes, out, max); }
    int Buttons(int id, unsigned char* out, int max) override { return Copy(devices[id].buttons, out, max); }
    int Hats(int id, unsigned char* out, int max) override { return Copy(devices[id].hats, out, max); }
    bool Gamepad(int id, GamepadState* state) override {
        if (!devices[id].gamepad) return false;
        *state = *devices[id].gamepad;
        return true;
    }

    FakeDevice devices[kJoystickIds];
    int presentQueries = 0;

private:
    template <typename T>
    static int Copy(const std::vector<T>& from, T* to, int max) {
        int n = std::min(static_cast<int>(from.size()), max);
        std::copy(from.begin(), from.begin() + n, to);
        return n;
    }
};

// What one PollJoystick call gave.
struct Poll {
    bool present = false;
    float joyX[2] = {9, 9}, joyY[2] = {9, 9}, joyZ[2] = {9, 9};  // 9: not written
    bool buttons[32] = {};

    std::vector<int> Pressed() const {
        std::vector<int> pressed;
        for (int b = 0; b < 32; ++b)
            if (buttons[b]) pressed.push_back(b);
        return pressed;
    }
};

class PollJoystickTest : public ::testing::Test {
protected:
    void SetUp() override { SetJoystickSource(&pads); }
    void TearDown() override { SetJoystickSource(nullptr); }

    // A raw device: `buttons` own buttons, `hats` hats, the given axes.
    FakeDevice& Plug(int id, int buttons, int hats, std::vector<float> axes) {
        FakeDevice& device = pads.devices[id];
        device = FakeDevice();
        device.present = true;
        device.axes = std::move(axes);
        device.buttons.assign(buttons, 0);
        device.hats.assign(hats, 0);
        return device;
    }

    FakeDevice& PlugGamepad(int id) {
        FakeDevice& device = Plug(id, 17, 1, {0, 0, 0, 0, 0, 0, 0, 0});  // raw view differs from the mapping
        device.gamepad = GamepadState();
        device.gamepad->axes[GamepadState::kLeftTrigger] = -1;
        device.gamepad->axes[GamepadState::kRightTrigger] = -1;
        return device;
    }

    Poll PollUnit(int unit) {
        Poll poll;
        poll.present = host.PollJoystick(unit, poll.joyX, poll.joyY, poll.joyZ, poll.buttons);
        return poll;
    }

    // Polls unit 0 (which assigns the units) and then the unit asked for.
    Poll PollFresh(int unit) {
        Poll first = PollUnit(0);
        return unit == 0 ? first : PollUnit(unit);
    }

    FakeJoysticks pads;
    QvGlfwGame host;
};

// ---- units ----------------------------------------------------------------

TEST_F(PollJoystickTest, NoJoystickLeavesTheArraysAlone) {
    Poll poll = PollUnit(0);
    EXPECT_FALSE(poll.present);
    EXPECT_EQ(poll.joyX[0], 9);
    EXPECT_EQ(poll.joyZ[1], 9);
    EXPECT_EQ(pads.presentQueries, kJoystickIds);
}

TEST_F(PollJoystickTest, JoysticksAtIdsTwoAndFiveBecomeUnitsZeroAndOne) {
    Plug(2, 12, 0, {0.2f});
    Plug(5, 12, 0, {0.5f});
    EXPECT_EQ(PollUnit(0).joyX[0], 0.2f);
    EXPECT_EQ(PollUnit(1).joyX[0], 0.5f);
    EXPECT_FALSE(PollUnit(2).present);
    EXPECT_FALSE(PollUnit(3).present);
    EXPECT_FALSE(PollUnit(4).present);
    EXPECT_FALSE(PollUnit(-1).present);
}

TEST_F(PollJoystickTest, FirstFourJoysticksInIdOrderAreServed) {
    const int ids[] = {15, 0, 7, 3, 9};
    for (int id : ids) Plug(id, 12, 0, {id / 100.0f});
    const float expected[] = {0.00f, 0.03f, 0.07f, 0.09f};
    for (int unit = 0; unit < 4; ++unit) EXPECT_EQ(PollFresh(unit).joyX[0], expected[unit]) << unit;
}

TEST_F(PollJoystickTest, PluggingInAndOutShowsAtTheNextPollOfUnitZero) {
    Plug(4, 12, 0, {0.4f});
    EXPECT_EQ(PollUnit(0).joyX[0], 0.4f);
    Plug(1, 12, 0, {0.1f});
    EXPECT_FALSE(PollUnit(1).present);  // units change only when unit 0 is polled
    EXPECT_EQ(PollUnit(0).joyX[0], 0.1f);
    EXPECT_EQ(PollUnit(1).joyX[0], 0.4f);
    pads.devices[1].present = false;
    EXPECT_EQ(PollUnit(0).joyX[0], 0.4f);
    EXPECT_FALSE(PollUnit(1).present);
}

// ---- the XInput-style layout (14 buttons, 5 axes) ---------------------------

TEST_F(PollJoystickTest, FourteenButtonFiveAxisPadTakesTheXInputLayout) {
    Plug(0, 10, 1, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f});
    Poll poll = PollUnit(0);
    EXPECT_EQ(poll.joyX[0], 0.1f);
    EXPECT_EQ(poll.joyY[0], -0.2f);  // Y read up positive
    EXPECT_EQ(poll.joyZ[0], 0.3f);
    EXPECT_EQ(poll.joyX[1], 0.5f);   // axis U
    EXPECT_EQ(poll.joyY[1], -0.4f);  // negated axis R
    EXPECT_EQ(poll.joyZ[1], -0.3f);  // the triggers share axis Z
}

TEST_F(PollJoystickTest, XInputLayoutButtonsAndHat) {
    struct Row {
        int ownButton;        // -1: none
        unsigned char hat;    // hat bits
        std::vector<int> pressed;
    };
    const Row rows[] = {
        {0, 0, {0}},  {1, 0, {1}},  {2, 0, {2}},  {3, 0, {3}}, {4, 0, {4}}, {5, 0, {5}}, {6, 0, {6}},
        {7, 0, {7}},  {8, 0, {12}}, {9, 0, {13}},
        {-1, kHatLeft, {8}}, {-1, kHatUp, {9}}, {-1, kHatRight, {10}}, {-1, kHatDown, {11}},
        {-1, kHatUp | kHatLeft, {8, 9}},
    };
    for (const Row& row : rows) {
        FakeDevice& pad = Plug(0, 10, 1, {0, 0, 0, 0, 0});
        if (row.ownButton >= 0) pad.buttons[row.ownButton] = 1;
        pad.hats[0] = row.hat;
        EXPECT_EQ(PollUnit(0).Pressed(), row.pressed) << row.ownButton << " hat " << int(row.hat);
    }
}

// ---- the generic layout -----------------------------------------------------

TEST_F(PollJoystickTest, GenericLayoutTakesTriggersFromButtonsSixAndSeven) {
    FakeDevice& pad = Plug(0, 12, 0, {0.1f, 0.2f, 0.3f, 0.4f});
    Poll released = PollUnit(0);
    EXPECT_EQ(released.joyX[0], 0.1f);
    EXPECT_EQ(released.joyY[0], -0.2f);
    EXPECT_EQ(released.joyX[1], 0.3f);
    EXPECT_EQ(released.joyY[1], -0.4f);
    EXPECT_EQ(released.joyZ[0], 0.0f);
    EXPECT_EQ(released.joyZ[1], 0.0f);
    pad.buttons[6] = pad.buttons[7] = 1;
    Poll pulled = PollUnit(0);
    EXPECT_EQ(pulled.joyZ[0], 1.0f);
    EXPECT_EQ(pulled.joyZ[1], 1.0f);
}

// A 12-button pad without hat: its last four buttons are the d-pad.
TEST_F(PollJoystickTest, TwelveButtonPadWithoutHatButtons) {
    const std::vector<int> pressedFor[12] = {
        {2}, {0}, {1}, {3}, {4}, {5}, {}, {}, {6, 8}, {7, 9}, {10, 12}, {11, 13},
    };
    for (int own = 0; own < 12; ++own) {
        FakeDevice& pad = Plug(0, 12, 0, {0, 0, 0, 0});
        pad.buttons[own] = 1;
        EXPECT_EQ(PollUnit(0).Pressed(), pressedFor[own]) << "library button " << own;
    }
}

TEST_F(PollJoystickTest, PadWithFewerThanFourButtonsHasNoDpad) {
    FakeDevice& pad = Plug(0, 3, 0, {0, 0});
    pad.buttons = {1, 1, 1};
    EXPECT_EQ(PollUnit(0).Pressed(), (std::vector<int>{0, 1, 2}));
}

TEST_F(PollJoystickTest, OnlyAButtonReportedAsOneCounts) {
    FakeDevice& pad = Plug(0, 12, 0, {0, 0, 0, 0});
    pad.buttons[1] = 2;
    pad.buttons[6] = 255;
    Poll poll = PollUnit(0);
    EXPECT_TRUE(poll.Pressed().empty());
    EXPECT_EQ(poll.joyZ[0], 0.0f);
}

TEST_F(PollJoystickTest, LayoutFollowsTheReportedCounts) {
    struct Row {
        int ownButtons, hats, axes;
        bool xinput;
    };
    const Row rows[] = {
        {10, 1, 5, true},   // 14 buttons with the hat, 5 axes
        {14, 0, 5, true},
        {6, 2, 5, true},    // two hats make 14 too
        {14, 1, 5, false},  // 18 buttons
        {10, 1, 6, false},
        {10, 1, 4, false},
        {14, 0, 8, false},  // read as 6 axes
    };
    for (const Row& row : rows) {
        FakeDevice& pad = Plug(0, row.ownButtons, row.hats, std::vector<float>(row.axes, 0.0f));
        pad.axes[0] = 0.5f;
        pad.axes[2] = 0.25f;  // joyX[1] in the generic layout, joyZ[0] in the XInput one
        Poll poll = PollUnit(0);
        EXPECT_EQ(poll.joyZ[0], row.xinput ? 0.25f : 0.0f) << row.ownButtons << "/" << row.hats << "/" << row.axes;
    }
}

TEST_F(PollJoystickTest, EveryHatAddsFourButtonsAfterTheDevicesOwn) {
    FakeDevice& pad = Plug(0, 6, 2, {0, 0, 0, 0, 0});  // buttons 6..9 hat 0, 10..13 hat 1
    pad.hats[0] = kHatLeft;   // library button 6: back
    pad.hats[1] = kHatDown;   // library button 13: d-pad down
    EXPECT_EQ(PollUnit(0).Pressed(), (std::vector<int>{6, 11}));
}

TEST_F(PollJoystickTest, ButtonsBeyondThirtyTwoAreDropped) {
    FakeDevice& pad = Plug(0, 40, 1, {0, 0, 0, 0});
    pad.hats[0] = kHatDown;  // would be button 43
    pad.buttons[31] = 1;     // the last of 32: d-pad down in the generic layout
    EXPECT_EQ(PollUnit(0).Pressed(), (std::vector<int>{11}));
}

// ---- controllers with a mapping ---------------------------------------------

TEST_F(PollJoystickTest, MappedControllerButtonsLandWhereTheGameLooks) {
    using G = GamepadState;
    const std::pair<G::Button, std::vector<int>> rows[] = {
        {G::kA, {0}},         {G::kB, {1}},          {G::kX, {2}},          {G::kY, {3}},
        {G::kLeftBumper, {4}}, {G::kRightBumper, {5}}, {G::kBack, {6}},       {G::kStart, {7}},
        {G::kDpadLeft, {8}},  {G::kDpadUp, {9}},     {G::kDpadRight, {10}}, {G::kDpadDown, {11}},
        {G::kLeftThumb, {12}}, {G::kRightThumb, {13}}, {G::kGuide, {}},
    };
    for (const auto& [button, pressed] : rows) {
        FakeDevice& pad = PlugGamepad(3);
        pad.gamepad->buttons[button] = 1;
        EXPECT_EQ(PollUnit(0).Pressed(), pressed) << "gamepad button " << button;
    }
}

TEST_F(PollJoystickTest, MappedControllerSticksReadUpPositive) {
    using G = GamepadState;
    FakeDevice& pad = PlugGamepad(0);
    pad.gamepad->axes[G::kLeftX] = 0.5f;
    pad.gamepad->axes[G::kLeftY] = -0.75f;  // pushed up
    pad.gamepad->axes[G::kRightX] = -0.25f;
    pad.gamepad->axes[G::kRightY] = 0.5f;   // pulled down
    Poll poll = PollUnit(0);
    EXPECT_EQ(poll.joyX[0], 0.5f);
    EXPECT_EQ(poll.joyY[0], 0.75f);
    EXPECT_EQ(poll.joyX[1], -0.25f);
    EXPECT_EQ(poll.joyY[1], -0.5f);
}

TEST_F(PollJoystickTest, MappedControllerTriggersShareOneAxis) {
    using G = GamepadState;
    struct Row {
        float left, right;  // the mapping's -1 released .. 1 full
        float joyZ0, joyZ1;
    };
    const Row rows[] = {
        {-1, -1, 0, 0}, {1, -1, 1, -1}, {-1, 1, -1, 1}, {0, -1, 0.5f, -0.5f}, {1, 1, 0, 0},
    };
    for (const Row& row : rows) {
        FakeDevice& pad = PlugGamepad(0);
        pad.gamepad->axes[G::kLeftTrigger] = row.left;
        pad.gamepad->axes[G::kRightTrigger] = row.right;
        Poll poll = PollUnit(0);
        EXPECT_EQ(poll.joyZ[0], row.joyZ0) << row.left << "," << row.right;
        EXPECT_EQ(poll.joyZ[1], row.joyZ1) << row.left << "," << row.right;
    }
}

// ---- the whole road: source, host, device, input module ---------------------

class JoystickRoadTest : public PollJoystickTest {
protected:
    void SetUp() override {
        PollJoystickTest::SetUp();
        QvGame::_game = &host;
        input::SetInputDevice(&device);
    }
    void TearDown() override {
        input::InitModule();
        QvGame::_game = nullptr;
        PollJoystickTest::TearDown();
    }

    InputDevice device;
};

TEST_F(JoystickRoadTest, ThirdControllerButtonYIsCode323) {
    PlugGamepad(1);
    PlugGamepad(4);
    FakeDevice& third = PlugGamepad(6);
    third.gamepad->buttons[GamepadState::kY] = 1;
    device.BeginUpdate();
    EXPECT_TRUE(input::JoyDown(3, 2));
    EXPECT_TRUE(input::KeyDown(323));
    EXPECT_EQ(input::JoyHit(3, 2), 1);
    EXPECT_FALSE(input::JoyDown(3, 0));
    EXPECT_FALSE(input::JoyDown(3, 1));
    device.EndUpdate();

    third.present = false;
    device.BeginUpdate();
    EXPECT_FALSE(input::JoyDown(3, 2));
}

TEST_F(JoystickRoadTest, RawPadHatLeftIsDpadLeftOfUnitZero) {
    FakeDevice& pad = Plug(9, 10, 1, {0, -1.0f, 0, 0, 0});  // left stick pushed up
    pad.hats[0] = kHatLeft;
    device.BeginUpdate();
    EXPECT_TRUE(input::JoyDown(8, 0));
    EXPECT_EQ(input::JoyY(0, 0), 1.0f);
}

}  // namespace
