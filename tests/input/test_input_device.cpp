// The input device and the input module: keys, hits across updates, the
// queues' limits, the pointer and touch paths, joystick units as keys.
#include <gtest/gtest.h>

#include "tests/input/input_host.h"

namespace {

class InputDeviceTest : public ::testing::Test {
protected:
    void Press(int code) { host.KeyEvent(kKeyDownEvent, code); }
    void Release(int code) { host.KeyEvent(kKeyUpEvent, code); }
    void Type(int character) { host.KeyEvent(kCharEvent, character); }
    void NextUpdate() {
        host.EndUpdate();
        host.BeginUpdate();
    }

    InputHost host;
};

// ---- keys and hits --------------------------------------------------------

TEST_F(InputDeviceTest, HeldKeyHitsOnceAndStaysDownAcrossUpdates) {
    host.BeginUpdate();
    Press(65);
    const int expectedHits[] = {1, 0, 0};
    for (int hits : expectedHits) {
        EXPECT_TRUE(input::KeyDown(65));
        EXPECT_EQ(input::KeyHit(65), hits);
        NextUpdate();
    }
    Release(65);
    EXPECT_FALSE(input::KeyDown(65));
    EXPECT_EQ(input::KeyHit(65), 0);
}

TEST_F(InputDeviceTest, PressAndReleaseWithinOneUpdateCountsEveryPress) {
    Press(32);
    Release(32);
    EXPECT_FALSE(input::KeyDown(32));
    EXPECT_EQ(input::KeyHit(32), 1);
    Press(32);
    Release(32);
    EXPECT_EQ(input::KeyHit(32), 2);
    NextUpdate();
    EXPECT_EQ(input::KeyHit(32), 0);
}

TEST_F(InputDeviceTest, ReleasingAKeyThatIsUpChangesNothing) {
    Release(40);
    EXPECT_FALSE(input::KeyDown(40));
    Press(40);
    Release(40);
    Release(40);
    EXPECT_EQ(input::KeyHit(40), 1);
}

TEST_F(InputDeviceTest, The34thHitOfAnUpdateIsLost) {
    for (int code = 100; code < 134; ++code) Press(code);
    for (int code = 100; code < 133; ++code) EXPECT_EQ(input::KeyHit(code), 1) << code;
    EXPECT_EQ(input::KeyHit(133), 0);
    EXPECT_TRUE(input::KeyDown(133));  // only the hit is lost, not the key

    NextUpdate();
    for (int code = 100; code < 134; ++code) EXPECT_EQ(input::KeyHit(code), 0) << code;
    Release(101);
    Press(101);
    EXPECT_EQ(input::KeyHit(101), 1);  // the queue is empty again
}

TEST_F(InputDeviceTest, RepeatedHitsOfOneKeyFillTheQueueToo) {
    for (int i = 0; i < 40; ++i) {
        Press(70);
        Release(70);
    }
    EXPECT_EQ(input::KeyHit(70), 33);
    NextUpdate();
    EXPECT_EQ(input::KeyHit(70), 0);
}

TEST_F(InputDeviceTest, CodesOutsideTheKeySpaceAreNeverDown) {
    const int outside[] = {0, 512, -1, 513, 100000, -100000};
    for (int code : outside) {
        Press(code);
        EXPECT_FALSE(input::KeyDown(code)) << code;
        EXPECT_EQ(input::KeyHit(code), 0) << code;
    }
    // None of them used up a place in the hit queue.
    for (int code = 200; code < 233; ++code) Press(code);
    EXPECT_EQ(input::KeyHit(232), 1);
    // The top of the key space is an ordinary key.
    NextUpdate();
    Press(511);
    EXPECT_TRUE(input::KeyDown(511));
    EXPECT_EQ(input::KeyHit(511), 1);
}

// ---- characters -------------------------------------------------------

TEST_F(InputDeviceTest, CharactersComeBackInOrderThenZero) {
    const int typed[] = {'h', 'i', 65536 + 39, 8};
    for (int character : typed) Type(character);
    for (int character : typed) EXPECT_EQ(input::GetChar(), character);
    EXPECT_EQ(input::GetChar(), 0);
    EXPECT_EQ(input::GetChar(), 0);
}

TEST_F(InputDeviceTest, The33rdCharacterOfAnUpdateIsLost) {
    for (int i = 0; i < 33; ++i) Type('a' + i);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(input::GetChar(), 'a' + i);
    EXPECT_EQ(input::GetChar(), 0);

    NextUpdate();
    EXPECT_EQ(input::GetChar(), 0);  // unread characters do not survive the update
    Type('z');
    EXPECT_EQ(input::GetChar(), 'z');
}

TEST_F(InputDeviceTest, UnreadCharactersAreDroppedAtTheEndOfTheUpdate) {
    Type('q');
    NextUpdate();
    EXPECT_EQ(input::GetChar(), 0);
}

// ---- mouse and touch ----------------------------------------------------

TEST(InputDeviceTwinTest, LeftButtonAndFingerZeroAreOneKey) {
    struct Case {
        const char* name;
        void (*press)(InputHost&);
        void (*release)(InputHost&);
    };
    const Case cases[] = {
        {"mouse", [](InputHost& h) { h.MouseEvent(kMouseDownEvent, 0, 10, 20); },
         [](InputHost& h) { h.MouseEvent(kMouseUpEvent, 0, 10, 20); }},
        {"touch", [](InputHost& h) { h.TouchEvent(kTouchDownEvent, 0, 10, 20); },
         [](InputHost& h) { h.TouchEvent(kTouchUpEvent, 0, 10, 20); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InputHost host;
        c.press(host);
        EXPECT_TRUE(input::KeyDown(1));
        EXPECT_TRUE(input::KeyDown(384));
        EXPECT_TRUE(input::MouseDown(0));
        EXPECT_TRUE(input::TouchDown(0));
        EXPECT_EQ(input::KeyHit(1), 1);
        EXPECT_EQ(input::KeyHit(384), 1);
        EXPECT_EQ(input::MouseHit(0), 1);
        EXPECT_EQ(input::MouseX(), 10);
        EXPECT_EQ(input::TouchY(0), 20);
        c.release(host);
        EXPECT_FALSE(input::KeyDown(1));
        EXPECT_FALSE(input::KeyDown(384));
    }
}

TEST_F(InputDeviceTest, RightAndMiddleButtonsAreCodesTwoAndThree) {
    host.MouseEvent(kMouseDownEvent, 1, 0, 0);
    host.MouseEvent(kMouseDownEvent, 2, 0, 0);
    EXPECT_TRUE(input::KeyDown(2));
    EXPECT_TRUE(input::KeyDown(3));
    EXPECT_TRUE(input::MouseDown(2));
    EXPECT_FALSE(input::KeyDown(1));
    EXPECT_FALSE(input::KeyDown(384));
    host.MouseEvent(kMouseUpEvent, 1, 0, 0);
    EXPECT_FALSE(input::MouseDown(1));
    EXPECT_EQ(input::MouseHit(1), 1);
}

TEST_F(InputDeviceTest, PointerFollowsMovesAndPressesButNotReleases) {
    host.MouseEvent(kMouseMoveEvent, -1, 5, 6);
    EXPECT_EQ(input::MouseX(), 5);
    EXPECT_EQ(input::MouseY(), 6);
    EXPECT_EQ(input::TouchX(0), 5);
    EXPECT_EQ(input::TouchY(0), 6);
    EXPECT_FALSE(input::MouseDown(0));

    host.MouseEvent(kMouseDownEvent, 1, 7, 8);
    EXPECT_EQ(input::MouseX(), 7);
    host.MouseEvent(kMouseUpEvent, 1, 99, 99);
    EXPECT_EQ(input::MouseX(), 7);
    EXPECT_EQ(input::MouseY(), 8);
}

TEST_F(InputDeviceTest, OtherFingersKeepTheirOwnPlaceAndLeaveThePointer) {
    host.MouseEvent(kMouseMoveEvent, -1, 1, 2);
    host.TouchEvent(kTouchDownEvent, 5, 30, 40);
    EXPECT_TRUE(input::TouchDown(5));
    EXPECT_TRUE(input::KeyDown(389));
    EXPECT_FALSE(input::TouchDown(0));
    EXPECT_EQ(input::TouchX(5), 30);
    EXPECT_EQ(input::MouseX(), 1);

    host.TouchEvent(kTouchMoveEvent, 5, 31, 41);
    host.TouchEvent(kTouchUpEvent, 5, 0, 0);
    EXPECT_FALSE(input::TouchDown(5));
    EXPECT_EQ(input::TouchX(5), 31);
    EXPECT_EQ(input::TouchY(5), 41);

    host.TouchEvent(kTouchMoveEvent, 0, 50, 60);
    EXPECT_EQ(input::MouseX(), 50);
    EXPECT_EQ(input::MouseY(), 60);
}

TEST_F(InputDeviceTest, FingersAndButtonsOutsideTheirRangeAreIgnored) {
    host.TouchEvent(kTouchDownEvent, 32, 1, 1);
    host.TouchEvent(kTouchDownEvent, -1, 1, 1);
    host.MouseEvent(kMouseDownEvent, 511, 1, 1);
    host.MouseEvent(kMouseDownEvent, -2, 1, 1);
    for (int code = 0; code < kKeyCodeCount; ++code) EXPECT_FALSE(input::KeyDown(code)) << code;
    EXPECT_EQ(input::TouchX(32), 0);
    EXPECT_EQ(input::TouchY(-1), 0);
    EXPECT_FALSE(input::TouchDown(128));
    EXPECT_FALSE(input::TouchDown(2147483647));
    EXPECT_FALSE(input::MouseDown(511));
    EXPECT_FALSE(input::MouseDown(2147483647));
    EXPECT_EQ(input::MouseHit(-2147483647 - 1), 0);
}

TEST_F(InputDeviceTest, AccelerometerEventsSetTheAcceleration) {
    host.MotionEvent(kAccelEvent, 0, 0.25f, -0.5f, 1.0f);
    EXPECT_EQ(input::AccelX(), 0.25f);
    EXPECT_EQ(input::AccelY(), -0.5f);
    host.MotionEvent(kTouchMoveEvent, 0, 9, 9, 9);  // not an acceleration
    EXPECT_EQ(input::AccelX(), 0.25f);
}

TEST_F(InputDeviceTest, KeyboardSwitchReachesTheHost) {
    EXPECT_TRUE(input::EnableKeyboard());
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_TRUE(input::DisableKeyboard());
    EXPECT_FALSE(host.KeyboardEnabled());
}

// ---- joystick units -----------------------------------------------------

TEST_F(InputDeviceTest, JoyDownOfButtonThreeUnitTwoReadsCode323) {
    host.presentUnits = 3;
    host.pads[2].buttons[3] = true;
    host.BeginUpdate();
    EXPECT_TRUE(input::JoyDown(3, 2));
    EXPECT_TRUE(input::KeyDown(323));
    EXPECT_EQ(input::JoyHit(3, 2), 1);
    EXPECT_FALSE(input::JoyDown(3, 1));
    EXPECT_FALSE(input::JoyDown(2, 2));

    host.pads[2].buttons[3] = false;
    host.KeyEvent(kKeyDownEvent, 323);  // the same code from any source
    EXPECT_TRUE(input::JoyDown(3, 2));
}

TEST_F(InputDeviceTest, JoyButtonHitsOnceWhileHeldAndReleasesWithThePad) {
    host.presentUnits = 1;
    host.pads[0].buttons[0] = true;
    const int expectedHits[] = {1, 0, 0};
    for (int hits : expectedHits) {
        host.BeginUpdate();
        EXPECT_TRUE(input::JoyDown(0, 0));
        EXPECT_EQ(input::JoyHit(0, 0), hits);
        host.EndUpdate();
    }
    host.pads[0].buttons[0] = false;
    host.BeginUpdate();
    EXPECT_FALSE(input::JoyDown(0, 0));
}

TEST_F(InputDeviceTest, OnlyUnitZeroConnectedLeavesUnitOneUpAndUnpolledBeyond) {
    host.presentUnits = 1;
    host.pads[0].joyX[1] = 0.5f;
    host.BeginUpdate();
    EXPECT_FALSE(input::JoyDown(0, 1));
    EXPECT_EQ(input::JoyX(1, 0), 0.5f);
    const int expectedPolls[] = {1, 1, 0, 0};
    for (int unit = 0; unit < kJoyUnits; ++unit) EXPECT_EQ(host.polls[unit], expectedPolls[unit]) << unit;
}

TEST_F(InputDeviceTest, UnitZeroAbsentStopsThePolling) {
    host.BeginUpdate();
    EXPECT_EQ(host.polls[0], 1);
    EXPECT_EQ(host.polls[1], 0);
}

TEST_F(InputDeviceTest, SticksReadTheirUnitAndStick) {
    host.presentUnits = 4;
    host.pads[3].joyX[0] = -0.25f;
    host.pads[3].joyY[1] = 0.75f;
    host.BeginUpdate();
    EXPECT_EQ(input::JoyX(0, 3), -0.25f);
    EXPECT_EQ(input::JoyY(1, 3), 0.75f);
    EXPECT_EQ(input::JoyY(0, 3), 0.0f);
    // Sticks and units that do not exist read as centred.
    EXPECT_EQ(input::JoyX(2, 3), 0.0f);
    EXPECT_EQ(input::JoyX(0, 4), 0.0f);
    EXPECT_EQ(input::JoyY(-1, 0), 0.0f);
}

// A pad pulled out mid-press would otherwise hold its button and stick for
// the rest of the run.
TEST_F(InputDeviceTest, PadPulledOutWhileHeldReadsReleasedAndCentred) {
    host.presentUnits = 2;
    host.pads[1].buttons[9] = true;
    host.pads[1].joyX[0] = 1.0f;
    host.BeginUpdate();
    EXPECT_TRUE(input::JoyDown(9, 1));
    host.EndUpdate();

    host.presentUnits = 1;
    host.BeginUpdate();
    EXPECT_FALSE(input::JoyDown(9, 1));
    EXPECT_EQ(input::JoyX(0, 1), 0.0f);
}

// Button numbers and units beyond the pad layout would alias another unit's
// buttons, a touch finger or a close key.
TEST_F(InputDeviceTest, JoyButtonsOutsideTheLayoutDoNotExist) {
    Press(256 + 32);  // unit 1, button 0
    Press(384);       // finger 0
    host.device.KeyEvent(kKeyDownEvent, 416);  // straight to the device: the delegate would end the program
    const std::pair<int, int> buttonUnit[] = {{32, 0}, {0, 4}, {0, 5}, {-1, 0}, {0, -1}, {9, 9}, {2147483647, 3}};
    for (auto [button, unit] : buttonUnit) {
        EXPECT_FALSE(input::JoyDown(button, unit)) << button << "," << unit;
        EXPECT_EQ(input::JoyHit(button, unit), 0) << button << "," << unit;
    }
    Press(383);
    EXPECT_TRUE(input::JoyDown(31, 3));
}

}  // namespace
