// Fixtures for the game shell's tests: a FakeHost with a scripted clock and a
// created MyApp, plus a host whose joysticks the test scripts.
//
//   TEST_F(ShellTest, Something) { game->Rect(0, 0, 1, 1); host.Tick(); ... }
//   TEST_F(PadShellTest, Stick) { host.pads[1].joyY[0] = 0.8f; host.Tick(); ... }
#pragma once

#include <gtest/gtest.h>

#include "shell/myapp.h"
#include "tests/support/fake_host.h"

// Joystick units 0..padsPresent-1 report the state the test writes here.
class PadHost : public FakeHost {
public:
    struct Pad {
        float joyX[2] = {}, joyY[2] = {}, joyZ[2] = {};
        bool buttons[32] = {};
    };

    bool PollJoystick(int unit, float* joyX, float* joyY, float* joyZ, bool* buttons) override {
        if (unit < 0 || unit >= padsPresent) return false;
        const Pad& pad = pads[unit];
        for (int i = 0; i < 2; ++i) joyX[i] = pad.joyX[i], joyY[i] = pad.joyY[i], joyZ[i] = pad.joyZ[i];
        for (int i = 0; i < 32; ++i) buttons[i] = pad.buttons[i];
        return true;
    }

    Pad pads[4];
    int padsPresent = 4;
};

template <typename Host>
class ShellFixture : public ::testing::Test {
protected:
    // The host keeps no hold on the game; the next host's start-up forgets it.
    ~ShellFixture() override { delete game; }

    // The font's advance and line height, as the loader records them for bank 90.
    void UseGameFont() {
        game->currentFont = 90;
        game->imageSizes[3 * 90] = 7;
        game->imageSizes[3 * 90 + 1] = 10;
        game->imageSizes[3 * 90 + 2] = 128;
    }

    // Ticks until the loader has finished, so that the screens run.
    void FinishLoading() {
        for (int i = 0; i < 100 && game->loadStage > 0; ++i) host.Tick();
    }

    // The command k of the display list.
    const float* Command(int k) const { return game->drawList + MyApp::kCommandFloats * k; }
    int Commands() const { return game->drawLength / MyApp::kCommandFloats; }

    Host host;
    MyApp* game = host.template CreateApp<MyApp>();
};

using ShellTest = ShellFixture<FakeHost>;
using PadShellTest = ShellFixture<PadHost>;
