// The input module: what the game reads about keys, pointer, touches and
// joysticks, answered by the one input device the game delegate registers.
//
//   input::SetInputDevice(new InputDevice());   // the delegate, at start
//   if (input::KeyHit(27)) ...                  // Escape pressed since the last update
//   if (input::JoyDown(0, 1)) ...               // button A of joystick unit 1
//   float x = input::JoyX(0, 0);                // left stick of unit 0, -1 .. 1
//
// Codes outside 1..511 (and so buttons or fingers whose code would fall
// outside) read as up with no hits.
#pragma once

#include "input/input_device.h"

namespace input {

extern InputDevice* device;

// Forgets the device (run by qvInit before the game starts).
void InitModule();
void SetInputDevice(InputDevice* newDevice);

bool KeyDown(int code);
int KeyHit(int code);
int GetChar();
float MouseX();
float MouseY();
// Mouse button 0 left, 1 right, 2 middle (key codes button + 1).
bool MouseDown(int button);
int MouseHit(int button);
bool TouchDown(int finger);
float TouchX(int finger);
float TouchY(int finger);
// Joystick button 0..31 of unit 0..3 (key code 256 + 32 * unit + button);
// anything else is never down.
bool JoyDown(int button, int unit);
int JoyHit(int button, int unit);
// Stick 0 left, 1 right; y is up positive.
float JoyX(int stick, int unit);
float JoyY(int stick, int unit);
float AccelX();
float AccelY();
// Tell the host whether the game wants keyboard input; always true.
bool EnableKeyboard();
bool DisableKeyboard();

}  // namespace input
