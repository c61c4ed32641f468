#include "input/input.h"

namespace input {

InputDevice* device = nullptr;

void InitModule() { device = nullptr; }
void SetInputDevice(InputDevice* newDevice) { device = newDevice; }

namespace {

// Offsets are added in 64 bits so that no argument can overflow into a valid code.
bool DownAt(long long code) { return code >= 1 && code < kKeyCodeCount && device->KeyDown(static_cast<int>(code)); }
int HitsAt(long long code) { return code >= 1 && code < kKeyCodeCount ? device->KeyHit(static_cast<int>(code)) : 0; }

// Outside units 0..3 and buttons 0..31 the code would alias another unit's
// button, a touch finger or the close keys; such buttons do not exist.
long long JoyCode(int button, int unit) {
    if (button < 0 || button >= kJoyButtons || unit < 0 || unit >= kJoyUnits) return 0;
    return kJoyButtonBase + kJoyButtons * unit + button;
}

}  // namespace

bool KeyDown(int code) { return device->KeyDown(code); }
int KeyHit(int code) { return device->KeyHit(code); }
int GetChar() { return device->GetChar(); }
float MouseX() { return device->MouseX(); }
float MouseY() { return device->MouseY(); }
bool MouseDown(int button) { return DownAt(1LL + button); }
int MouseHit(int button) { return HitsAt(1LL + button); }
bool TouchDown(int finger) { return DownAt(kTouchBase + static_cast<long long>(finger)); }
float TouchX(int finger) { return device->TouchX(finger); }
float TouchY(int finger) { return device->TouchY(finger); }
bool JoyDown(int button, int unit) { return DownAt(JoyCode(button, unit)); }
int JoyHit(int button, int unit) { return HitsAt(JoyCode(button, unit)); }
float JoyX(int stick, int unit) { return device->JoyX(stick, unit); }
float JoyY(int stick, int unit) { return device->JoyY(stick, unit); }
float AccelX() { return device->AccelX(); }
float AccelY() { return device->AccelY(); }
bool EnableKeyboard() { return device->SetKeyboardEnabled(true); }
bool DisableKeyboard() { return device->SetKeyboardEnabled(false); }

}  // namespace input
