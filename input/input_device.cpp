#include "input/input_device.h"

#include "host/qvgame.h"

namespace {

bool IsKeyCode(int code) { return code >= 1 && code < kKeyCodeCount; }
bool IsFinger(int finger) { return finger >= 0 && finger < kTouchFingers; }
bool IsStick(int stick, int unit) { return stick >= 0 && stick < 2 && unit >= 0 && unit < kJoyUnits; }
int JoyButtonCode(int unit, int button) { return kJoyButtonBase + kJoyButtons * unit + button; }

}  // namespace

// ---- events -------------------------------------------------------------

void InputDevice::KeyEvent(int kind, int data) {
    switch (kind) {
        case kKeyDownEvent: PressKey(data); break;
        case kKeyUpEvent: ReleaseKey(data); break;
        case kCharEvent:
            if (charPut < kCharQueueSize) charQueue[charPut++] = data;
            break;
        default: break;
    }
}

void InputDevice::MouseEvent(int kind, int button, float x, float y) {
    // A button outside the key space would make an out-of-range code.
    bool validButton = button >= 0 && button < kKeyCodeCount - 1;
    switch (kind) {
        case kMouseDownEvent:
            if (validButton) PressKey(button + 1);
            PointerMoved(x, y);
            break;
        case kMouseUpEvent:
            if (validButton) ReleaseKey(button + 1);
            break;
        case kMouseMoveEvent: PointerMoved(x, y); break;
        default: break;
    }
}

void InputDevice::TouchEvent(int kind, int finger, float x, float y) {
    if (!IsFinger(finger)) return;  // no key and no position slot to keep it in
    switch (kind) {
        case kTouchDownEvent:
            PressKey(kTouchBase + finger);
            TouchMoved(finger, x, y);
            break;
        case kTouchUpEvent: ReleaseKey(kTouchBase + finger); break;
        case kTouchMoveEvent: TouchMoved(finger, x, y); break;
        default: break;
    }
}

void InputDevice::MotionEvent(int kind, int, float x, float y, float z) {
    if (kind != kAccelEvent) return;
    accelX = x;
    accelY = y;
    accelZ = z;
}

// A key already down gives no second hit, so a held key counts once however
// long it is held. The left button and finger 0 go down together.
void InputDevice::PressKey(int code) {
    if (!IsKeyCode(code) || keyDown[code]) return;
    keyDown[code] = true;
    RecordHit(code);
    int twin = code == kLeftMouseCode ? kTouchBase : code == kTouchBase ? kLeftMouseCode : 0;
    if (twin != 0) {
        keyDown[twin] = true;
        RecordHit(twin);
    }
}

void InputDevice::ReleaseKey(int code) {
    if (!IsKeyCode(code) || !keyDown[code]) return;
    keyDown[code] = false;
    if (code == kLeftMouseCode) keyDown[kTouchBase] = false;
    if (code == kTouchBase) keyDown[kLeftMouseCode] = false;
}

// The queue remembers which counts EndUpdate has to clear; once it is full,
// further hits of this update are lost.
void InputDevice::RecordHit(int code) {
    if (hitCount >= kHitQueueSize) return;
    keyHit[code] += 1;
    hitQueue[hitCount++] = code;
}

void InputDevice::PointerMoved(float x, float y) {
    mouseX = touchX[0] = x;
    mouseY = touchY[0] = y;
}

void InputDevice::TouchMoved(int finger, float x, float y) {
    touchX[finger] = x;
    touchY[finger] = y;
    if (finger == 0) {
        mouseX = x;
        mouseY = y;
    }
}

// ---- updates ------------------------------------------------------------

void InputDevice::BeginUpdate() {
    QvGame* host = QvGame::_game;
    for (int unit = 0; unit < kJoyUnits; ++unit) {
        JoyState& state = joyStates[unit];
        if (!host || !host->PollJoystick(unit, state.joyX, state.joyY, state.joyZ, state.buttons)) {
            // Units are packed, so no later unit has a joystick either.
            ForgetUnitsFrom(unit);
            return;
        }
        ApplyJoyButtons(unit);
    }
}

void InputDevice::ApplyJoyButtons(int unit) {
    const JoyState& state = joyStates[unit];
    for (int button = 0; button < kJoyButtons; ++button) {
        int code = JoyButtonCode(unit, button);
        if (!state.buttons[button]) {
            keyDown[code] = false;
        } else if (!keyDown[code]) {
            keyDown[code] = true;
            RecordHit(code);
        }
    }
}

// A pad pulled out while a button or stick was held must not leave that
// input held for good: its unit reads as centred and released.
void InputDevice::ForgetUnitsFrom(int unit) {
    for (int gone = unit; gone < kJoyUnits; ++gone) {
        joyStates[gone] = JoyState();
        for (int button = 0; button < kJoyButtons; ++button) keyDown[JoyButtonCode(gone, button)] = false;
    }
}

void InputDevice::EndUpdate() {
    for (int i = 0; i < hitCount; ++i) keyHit[hitQueue[i]] = 0;
    hitCount = 0;
    charGet = 0;
    charPut = 0;
}

// ---- reading ------------------------------------------------------------

bool InputDevice::KeyDown(int code) const { return IsKeyCode(code) && keyDown[code]; }
int InputDevice::KeyHit(int code) const { return IsKeyCode(code) ? keyHit[code] : 0; }

int InputDevice::GetChar() {
    if (charGet >= charPut) return 0;
    return charQueue[charGet++];
}

float InputDevice::TouchX(int finger) const { return IsFinger(finger) ? touchX[finger] : 0.0f; }
float InputDevice::TouchY(int finger) const { return IsFinger(finger) ? touchY[finger] : 0.0f; }
float InputDevice::JoyX(int stick, int unit) const { return IsStick(stick, unit) ? joyStates[unit].joyX[stick] : 0.0f; }
float InputDevice::JoyY(int stick, int unit) const { return IsStick(stick, unit) ? joyStates[unit].joyY[stick] : 0.0f; }

bool InputDevice::SetKeyboardEnabled(bool enabled) {
    if (QvGame::_game) QvGame::_game->SetKeyboardEnabled(enabled);
    return true;
}
