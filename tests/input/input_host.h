// A host whose events reach a live input device through the game delegate,
// with joystick units the test scripts and a log of the key events it got.
//
//   InputHost host;                      // one per test: resets the module globals
//   host.KeyEvent(kKeyDownEvent, 65);    // as the real host sends it
//   host.presentUnits = 1;               // unit 0 answers PollJoystick
//   host.pads[0].buttons[3] = true;
//   host.BeginUpdate();  ...checks...  host.EndUpdate();
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "host/app.h"
#include "input/input.h"
#include "tests/support/fake_host.h"

class InputHost : public FakeHost {
public:
    InputHost() {
        delegate.input = &device;
        input::SetInputDevice(&device);
        SetDelegate(&delegate);
        started = true;  // the game is running; no graphics or audio devices needed
    }

    bool PollJoystick(int unit, float* joyX, float* joyY, float* joyZ, bool* buttons) override {
        polls[unit] += 1;
        if (unit >= presentUnits) return false;
        const JoyState& pad = pads[unit];
        std::copy(pad.joyX, pad.joyX + 2, joyX);
        std::copy(pad.joyY, pad.joyY + 2, joyY);
        std::copy(pad.joyZ, pad.joyZ + 2, joyZ);
        std::copy(pad.buttons, pad.buttons + kJoyButtons, buttons);
        return true;
    }

    // Logs the event; passes it on to the delegate unless forwarding is off.
    void KeyEvent(int kind, int data) override {
        keyEvents.emplace_back(kind, data);
        if (forward) FakeHost::KeyEvent(kind, data);
    }

    // One update's input: polls the joysticks; EndUpdate is left to the test.
    void BeginUpdate() { device.BeginUpdate(); }
    void EndUpdate() { device.EndUpdate(); }

    GameDelegate delegate;
    InputDevice device;
    int presentUnits = 0;
    JoyState pads[kJoyUnits];
    int polls[kJoyUnits] = {};
    bool forward = true;
    std::vector<std::pair<int, int>> keyEvents;
};
