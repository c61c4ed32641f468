// Control mapping: logical controls from two keyboard layouts, each player's
// pad buttons and left stick; pointer tests for the menus.
#include "input/input.h"
#include "shell/myapp.h"

namespace {

constexpr int kUnits = 4;
constexpr int kSticks = 2;
constexpr int kFirstPadCode = 256, kPadCodesPerUnit = 32, kLastKeyCode = 511;
constexpr float kStickThreshold = 0.4f;

enum class StickTest { none, up, left, right, down };

struct Control {
    int id;
    int keys[4];  // 0 ends the list
    int padButtons[3];  // -1 ends the list
    StickTest stick;
};

// Pad: 0 A, 1 B, 2 X, 3 Y, 4 and 5 shoulders, 6 back, 7 start, 8..11 d-pad
// left, up, right, down; button 14 is never pressed.
constexpr Control kControls[] = {
    {0, {38, 87}, {9, -1}, StickTest::up},
    {3, {37, 65}, {8, -1}, StickTest::left},
    {5, {39, 68}, {10, -1}, StickTest::right},
    {8, {40, 83}, {11, -1}, StickTest::down},
    {10, {90, 74, 32, 13}, {0, -1}, StickTest::none},
    {11, {88, 75, 17}, {1, -1}, StickTest::none},
    {12, {67, 76, 16}, {2, -1}, StickTest::none},
    {13, {86, 73}, {3, -1}, StickTest::none},
    {14, {66, 85}, {4, -1}, StickTest::none},
    {15, {78, 79}, {5, -1}, StickTest::none},
    {98, {27, 192, 46, 8}, {6, 7, 14}, StickTest::none},
    {99, {27, 192, 46, 8}, {6, 7, 14}, StickTest::none},
};
constexpr int kPlayerPadsBack = 98;  // back for the players' pads only: the keyboard-only unit never has it

const Control* FindControl(int id) {
    for (const Control& control : kControls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

bool AnyKeyDown(const Control& control) {
    for (int key : control.keys) {
        if (key != 0 && input::KeyDown(key)) return true;
    }
    return false;
}

bool AnyPadButtonDown(const Control& control, int unit) {
    for (int button : control.padButtons) {
        if (button < 0) break;
        int code = kFirstPadCode + kPadCodesPerUnit * unit + button;
        if (code <= kLastKeyCode && input::KeyDown(code)) return true;
    }
    return false;
}

bool InsideOpen(int value, float low, float high) { return low < value && value < high; }

}  // namespace

int MyApp::PlayKey(int id, int analogue, int unit) {
    if (unit < -1) return 0;
    const Control* control = FindControl(id);
    if (!control) return 0;
    if (unit == -1) {
        if (id == kPlayerPadsBack) return 0;
        return AnyKeyDown(*control) ? 1 : 0;
    }
    if (AnyKeyDown(*control) || AnyPadButtonDown(*control, unit)) return 1;
    if (analogue != 1) return 0;
    switch (control->stick) {
    case StickTest::up:
        return StickY(0, unit) < -kStickThreshold ? 1 : 0;
    case StickTest::down:
        return StickY(0, unit) > kStickThreshold ? 1 : 0;
    case StickTest::left:
        return StickX(0, unit) < -kStickThreshold ? 1 : 0;
    case StickTest::right:
        return StickX(0, unit) > kStickThreshold ? 1 : 0;
    case StickTest::none:
        break;
    }
    return 0;
}

// Units past the four joystick records and sticks past the two have no state: they read 0.
float MyApp::StickX(int stick, int unit) {
    if (unit < 0 || unit >= kUnits || stick < 0 || stick >= kSticks) return 0;
    return input::JoyX(stick, unit);
}

float MyApp::StickY(int stick, int unit) {
    if (unit < 0 || unit >= kUnits || stick < 0 || stick >= kSticks) return 0;
    float y = input::JoyY(stick, unit);
    // Settings 15 and 16: 1 keeps the stick's own direction, 0 flips it.
    return settings[15 + stick] != 0 ? y : -y;
}

int MyApp::Touch(float x, float y, float width, float height) {
    Rect(x, y, width, height);
    // A margin of 6 on the left and top and 12 on the right and bottom.
    for (int i = 0; i < kTouchPoints; ++i) {
        if (touchDown[i] && InsideOpen(touchX[i], x - 6, x + width + 12) &&
            InsideOpen(touchY[i], y - 6, y + height + 12))
            return 1;
    }
    return 0;
}

int MyApp::Button(int image, float x, float y, float frame) {
    DrawImg(image, x, y, frame);
    buttonHit = 0;
    if (image < 0 || image >= kImageBanks || !pointerDown) return buttonHit;
    float halfWidth = drawScaleX * hdScale * static_cast<float>(imageSizes[3 * image]) * 0.5f;
    float halfHeight = drawScaleY * hdScale * static_cast<float>(imageSizes[3 * image + 1]) * 0.5f;
    // Released points sit at -3717, far outside any button.
    for (int i = 0; i < kTouchPoints; ++i) {
        if (InsideOpen(touchX[i], x - halfWidth, x + halfWidth) &&
            InsideOpen(touchY[i], y - halfHeight, y + halfHeight))
            buttonHit = 1;
    }
    return buttonHit;
}

int MyApp::MouseIn(float x, float y, float width, float height) {
    for (int i = 0; i < kTouchPoints; ++i) {
        if (touchDown[i] && InsideOpen(touchX[i], x, x + width) && InsideOpen(touchY[i], y, y + height)) return 1;
    }
    return 0;
}

int MyApp::MouseIn_Centered(float x, float y, float width, float height) {
    return MouseIn(x - width * 0.5f, y - height * 0.5f, width, height);
}
