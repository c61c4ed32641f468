// The input device: keyboard keys, mouse buttons, joystick buttons and touch
// fingers share one key space of 512 codes; each code is down or up and has a
// hit count for the current update. Typed characters go to a small queue.
//
//   InputDevice* device = new InputDevice();  // once, by the game delegate
//   device->KeyEvent(kKeyDownEvent, 65);      // the host: A went down (any time between updates)
//   device->BeginUpdate();                    // polls the joysticks through the host
//   device->KeyDown(65); device->KeyHit(65);  // true, 1: the hit is seen by this update only
//   device->EndUpdate();                      // hits and characters are spent
//
// Codes: 1..3 left, right, middle mouse button; 8..222 keyboard keys by
// Windows virtual-key number; 256 + 32 * unit + button joystick buttons
// (unit 0..3, button 0..31); 384 + finger touch fingers 0..31; 416 and 432
// the close keys. Code 1 and code 384 are one key: the left button is finger 0.
// Codes outside 1..511 are never down.
//
// Overflow is silent: a 34th hit within one update and a 33rd character are lost.
#pragma once

#include <cstdint>

// Event kinds the host passes in, one numbering for all events.
enum InputEventKind {
    kKeyDownEvent = 1,
    kKeyUpEvent = 2,
    kCharEvent = 3,
    kMouseDownEvent = 4,
    kMouseUpEvent = 5,
    kMouseMoveEvent = 6,
    kTouchDownEvent = 7,
    kTouchUpEvent = 8,
    kTouchMoveEvent = 9,
    kAccelEvent = 10,
};

inline constexpr int kKeyCodeCount = 512;
inline constexpr int kLeftMouseCode = 1;
inline constexpr int kJoyButtonBase = 256;
inline constexpr int kTouchBase = 384;
inline constexpr int kCloseKey = 432;
inline constexpr int kJoyUnits = 4;
inline constexpr int kJoyButtons = 32;
inline constexpr int kTouchFingers = 32;
inline constexpr int kHitQueueSize = 33;
inline constexpr int kCharQueueSize = 32;

// One joystick unit as the host's PollJoystick fills it.
struct JoyState {
    float joyX[2] = {};  // left [0] and right [1] stick, -1 .. 1
    float joyY[2] = {};  // the same, up positive
    float joyZ[2] = {};  // left and right trigger
    bool buttons[kJoyButtons] = {};
};

class InputDevice {
public:
    // Polls the joystick units through the host (unit 0 first; the first
    // absent unit ends the polling) and turns their buttons into keys.
    void BeginUpdate();
    // Spends this update's hits and characters.
    void EndUpdate();

    void KeyEvent(int kind, int data);
    void MouseEvent(int kind, int button, float x, float y);
    void TouchEvent(int kind, int finger, float x, float y);
    void MotionEvent(int kind, int data, float x, float y, float z);

    bool KeyDown(int code) const;
    int KeyHit(int code) const;
    // The next typed character, 0 when none is left.
    int GetChar();
    float MouseX() const { return mouseX; }
    float MouseY() const { return mouseY; }
    float AccelX() const { return accelX; }
    float AccelY() const { return accelY; }
    float TouchX(int finger) const;
    float TouchY(int finger) const;
    float JoyX(int stick, int unit) const;
    float JoyY(int stick, int unit) const;
    // Passes the flag to the host; always true.
    bool SetKeyboardEnabled(bool enabled);

private:
    void PressKey(int code);
    void ReleaseKey(int code);
    void RecordHit(int code);
    void PointerMoved(float x, float y);
    void TouchMoved(int finger, float x, float y);
    void ApplyJoyButtons(int unit);
    void ForgetUnitsFrom(int unit);

    JoyState joyStates[kJoyUnits];
    bool keyDown[kKeyCodeCount] = {};
    int32_t hitCount = 0;
    int32_t hitQueue[kHitQueueSize] = {};
    int32_t keyHit[kKeyCodeCount] = {};
    int32_t charGet = 0;
    int32_t charPut = 0;
    int32_t charQueue[kCharQueueSize] = {};
    float mouseX = 0, mouseY = 0;
    float touchX[kTouchFingers] = {}, touchY[kTouchFingers] = {};
    float accelX = 0, accelY = 0, accelZ = 0;
};
