// Joystick polling of the GLFW host: present joysticks packed into units 0..3,
// each rearranged into two sticks, two triggers and fourteen buttons
// (0..3 A B X Y, 4 5 shoulders, 6 7 back start, 8..11 d-pad left up right
// down, 12 13 stick clicks).
#include "host/joystick.h"

#include <GLFW/glfw3.h>

#include <algorithm>

#include "host/qvglfwgame.h"
#include "input/input_device.h"

namespace {

static_assert(GLFW_HAT_UP == kHatUp && GLFW_HAT_RIGHT == kHatRight && GLFW_HAT_DOWN == kHatDown &&
              GLFW_HAT_LEFT == kHatLeft);
static_assert(GLFW_GAMEPAD_BUTTON_LAST + 1 == GamepadState::kButtonCount &&
              GLFW_GAMEPAD_BUTTON_DPAD_LEFT == GamepadState::kDpadLeft &&
              GLFW_GAMEPAD_BUTTON_GUIDE == GamepadState::kGuide);
static_assert(GLFW_GAMEPAD_AXIS_LAST + 1 == GamepadState::kAxisCount &&
              GLFW_GAMEPAD_AXIS_RIGHT_Y == GamepadState::kRightY &&
              GLFW_GAMEPAD_AXIS_LEFT_TRIGGER == GamepadState::kLeftTrigger);

template <typename T>
int CopyOut(const T* from, int count, T* to, int max) {
    if (!from || count <= 0) return 0;
    int n = std::min(count, max);
    std::copy(from, from + n, to);
    return n;
}

class GlfwJoysticks : public JoystickSource {
public:
    bool Present(int id) override { return glfwJoystickPresent(id) == GLFW_TRUE; }

    int Axes(int id, float* axes, int max) override {
        int count = 0;
        const float* values = glfwGetJoystickAxes(id, &count);
        return CopyOut(values, count, axes, max);
    }

    // GLFW 3 appends four buttons per hat by default; they are dropped here
    // because the report rebuilds them in another order.
    int Buttons(int id, unsigned char* buttons, int max) override {
        int count = 0, hats = 0;
        const unsigned char* values = glfwGetJoystickButtons(id, &count);
        glfwGetJoystickHats(id, &hats);
        return CopyOut(values, count - 4 * hats, buttons, max);
    }

    int Hats(int id, unsigned char* hats, int max) override {
        int count = 0;
        const unsigned char* values = glfwGetJoystickHats(id, &count);
        return CopyOut(values, count, hats, max);
    }

    bool Gamepad(int id, GamepadState* state) override {
        GLFWgamepadstate pad;
        if (glfwGetGamepadState(id, &pad) != GLFW_TRUE) return false;
        std::copy(std::begin(pad.buttons), std::end(pad.buttons), state->buttons);
        std::copy(std::begin(pad.axes), std::end(pad.axes), state->axes);
        return true;
    }
};

GlfwJoysticks glfwJoysticks;
JoystickSource* source = &glfwJoysticks;

// The library joystick id serving each unit, -1 for none; rebuilt whenever
// unit 0 is polled, so pads plugged in or out show up at the next update.
int pjoys[kJoyUnits] = {-1, -1, -1, -1};

constexpr int kReportAxes = 6;
constexpr int kReportButtons = 32;

// One device as the layouts expect to see it.
struct Report {
    float axes[kReportAxes] = {};
    int axisCount = 0;
    unsigned char buttons[kReportButtons] = {};
    int buttonCount = 0;
};

// Axis codes: 0..15 axis n; 16 + n (axis + 1) / 2; 32 + n (1 - axis) / 2;
// 64 + n -axis; 128 + n button n as 0 or 1; 999 ends the list.
// Button codes: n button n, -n the n-th from the end, 999 ends the list.
constexpr int kEndOfList = 999;

struct Layout {
    int axes[6];  // joyX[0], joyY[0], joyZ[0], joyX[1], joyY[1], joyZ[1]
    int buttons[14];
};

// An XInput-style pad: 14 buttons, 5 axes, the triggers sharing axis 2.
constexpr Layout kXInputLayout = {{0, 1, 2, 4, 67, 66}, {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9}};
// Every other device.
constexpr Layout kGenericLayout = {{0, 1, 134, 2, 67, 135}, {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11}};

// The controller's own order: 14 buttons, with the d-pad where a hat's four
// buttons would be, and 5 axes, both triggers on axis 2 (left minus right).
void PresentGamepad(const GamepadState& pad, Report* report) {
    using G = GamepadState;
    constexpr G::Button kOrder[14] = {G::kA,         G::kB,         G::kX,        G::kY,      G::kLeftBumper,
                                      G::kRightBumper, G::kBack,    G::kStart,    G::kLeftThumb, G::kRightThumb,
                                      G::kDpadLeft,  G::kDpadUp,    G::kDpadRight, G::kDpadDown};
    for (int i = 0; i < 14; ++i) report->buttons[i] = pad.buttons[kOrder[i]];
    report->buttonCount = 14;
    float leftTrigger = (pad.axes[G::kLeftTrigger] + 1.0f) * 0.5f;
    float rightTrigger = (pad.axes[G::kRightTrigger] + 1.0f) * 0.5f;
    report->axes[0] = pad.axes[G::kLeftX];
    report->axes[1] = -pad.axes[G::kLeftY];
    report->axes[2] = leftTrigger - rightTrigger;
    report->axes[3] = pad.axes[G::kRightY];
    report->axes[4] = pad.axes[G::kRightX];
    report->axisCount = 5;
}

// A raw device: Y and V read up positive, and every hat adds four buttons
// after the device's own, left, up, right, down.
void PresentRaw(JoystickSource& from, int id, Report* report) {
    report->axisCount = from.Axes(id, report->axes, kReportAxes);
    for (int yAxis : {1, 5})
        if (yAxis < report->axisCount) report->axes[yAxis] = -report->axes[yAxis];
    int count = from.Buttons(id, report->buttons, kReportButtons);
    unsigned char hats[kReportButtons / 4];
    int hatCount = from.Hats(id, hats, kReportButtons / 4);
    for (int hat = 0; hat < hatCount; ++hat) {
        for (int bit : {kHatLeft, kHatUp, kHatRight, kHatDown}) {
            if (count == kReportButtons) break;
            report->buttons[count++] = (hats[hat] & bit) != 0 ? 1 : 0;
        }
    }
    report->buttonCount = count;
}

void ReadReport(JoystickSource& from, int id, Report* report) {
    GamepadState pad;
    if (from.Gamepad(id, &pad)) {
        PresentGamepad(pad, report);
    } else {
        PresentRaw(from, id, report);
    }
}

float AxisFrom(const Report& report, int code) {
    int n = code & 15;
    float axis = n < kReportAxes ? report.axes[n] : 0.0f;
    switch (code & ~15) {
        case 0: return axis;
        case 16: return (axis + 1.0f) * 0.5f;
        case 32: return (1.0f - axis) * 0.5f;
        case 64: return -axis;
        case 128: return report.buttons[n] == 1 ? 1.0f : 0.0f;
        default: return 0.0f;
    }
}

// Only a button reported as exactly 1 counts. The d-pad is the block of four
// counted from the end; a device with fewer buttons has no d-pad, rather
// than its face buttons pressing the d-pad as well.
constexpr int kEndBlock = 4;

bool ButtonFrom(const Report& report, int code) {
    if (code < 0 && report.buttonCount < kEndBlock) return false;
    int n = code < 0 ? report.buttonCount + code : code;
    return n >= 0 && n < kReportButtons && report.buttons[n] == 1;
}

void AssignUnits() {
    int unit = 0;
    for (int id = 0; id < kJoystickIds && unit < kJoyUnits; ++id)
        if (source->Present(id)) pjoys[unit++] = id;
    for (; unit < kJoyUnits; ++unit) pjoys[unit] = -1;
}

}  // namespace

void SetJoystickSource(JoystickSource* newSource) {
    source = newSource ? newSource : &glfwJoysticks;
    std::fill(std::begin(pjoys), std::end(pjoys), -1);
}

bool QvGlfwGame::PollJoystick(int unit, float* joyX, float* joyY, float* joyZ, bool* buttons) {
    if (unit < 0 || unit >= kJoyUnits) return false;
    if (unit == 0) AssignUnits();
    int id = pjoys[unit];
    if (id < 0) return false;

    Report report;
    ReadReport(*source, id, &report);
    const Layout& layout = report.buttonCount == 14 && report.axisCount == 5 ? kXInputLayout : kGenericLayout;

    float out[6] = {};
    for (int i = 0; i < 6 && layout.axes[i] != kEndOfList; ++i) out[i] = AxisFrom(report, layout.axes[i]);
    joyX[0] = out[0], joyY[0] = out[1], joyZ[0] = out[2];
    joyX[1] = out[3], joyY[1] = out[4], joyZ[1] = out[5];

    std::fill(buttons, buttons + kJoyButtons, false);
    for (int i = 0; i < 14 && layout.buttons[i] != kEndOfList; ++i) buttons[i] = ButtonFrom(report, layout.buttons[i]);
    return true;
}
