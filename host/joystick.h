// Where the GLFW host's PollJoystick reads joysticks from. PollJoystick packs
// the connected joysticks into units 0..3 and rearranges each into the game's
// one pad layout; it asks a JoystickSource about the devices, GLFW 3 unless a
// test installs its own:
//
//   ScriptedPads pads;                  // a JoystickSource of the test's own
//   SetJoystickSource(&pads);
//   host.PollJoystick(0, joyX, joyY, joyZ, buttons);
//   SetJoystickSource(nullptr);         // back to GLFW 3
//
// A source reports devices as GLFW 3 sees them. PollJoystick turns that into
// the report the two pad layouts were made for: axes X, -Y, Z, R, U, -V (up
// positive), the device's buttons followed by four buttons per hat (left, up,
// right, down). A device with a known controller mapping is presented as a
// 14-button, 5-axis XInput-style pad instead, so A, B, X, Y, the shoulders,
// back, start, the d-pad and both sticks land where the game looks for them.
#pragma once

inline constexpr int kJoystickIds = 16;  // library joystick ids 0..15

// Hat directions as bits, as GLFW 3 reports them.
enum HatBit { kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8 };

// A controller through its mapping, in GLFW 3's gamepad order.
struct GamepadState {
    enum Button {
        kA, kB, kX, kY, kLeftBumper, kRightBumper, kBack, kStart, kGuide, kLeftThumb, kRightThumb,
        kDpadUp, kDpadRight, kDpadDown, kDpadLeft, kButtonCount
    };
    enum Axis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger, kAxisCount };
    unsigned char buttons[kButtonCount] = {};  // 1 = pressed
    float axes[kAxisCount] = {};               // sticks -1..1 (y down positive); triggers -1 released .. 1
};

class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual bool Present(int id) = 0;
    // Each copies at most max values and returns how many it copied (0 for an absent device).
    virtual int Axes(int id, float* axes, int max) = 0;
    // The device's own buttons, without buttons made from its hats.
    virtual int Buttons(int id, unsigned char* buttons, int max) = 0;
    virtual int Hats(int id, unsigned char* hats, int max) = 0;
    // True, with the state, for a device that has a controller mapping.
    virtual bool Gamepad(int id, GamepadState* state) = 0;
};

// Installs the source PollJoystick reads (nullptr: GLFW 3) and forgets the units.
void SetJoystickSource(JoystickSource* source);
