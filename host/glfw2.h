// A GLFW 2 style window layer over GLFW 3: one window at a time, opened and
// closed as one call each, window parameters to query, GLFW 2 key numbers.
// The host is written against this shape; only this file and its .cpp (and
// input/, for joysticks) talk to GLFW 3.
//
//   glfw2::Init();
//   glfw2::OpenWindow(640, 480, 8, 8, 8, 0, 0, 0, glfw2::kWindow);  // new window and context
//   while (glfw2::GetWindowParam(glfw2::kOpened)) { ...; glfw2::SwapBuffers(); glfw2::PollEvents(); }
//
// Differences from GLFW 3 that this layer hides:
//  - the close button does not close the window: it calls the close callback,
//    and the window stays open unless the callback returns non-zero;
//  - keys are reported with GLFW 2 numbers (printable keys as their upper-case
//    character, specials from 256 on: Esc 257, F1 258, Up 283, ... Menu 325);
//  - key repeat arrives only while it is enabled, as further presses;
//  - every OpenWindow makes a new window and OpenGL context.
#pragma once

#include <vector>

namespace glfw2 {

// GLFW 2 key numbers for the special keys.
enum Key {
    kKeySpecial = 256, kKeyEsc = 257, kKeyF1 = 258, kKeyF25 = 282, kKeyUp = 283, kKeyDown, kKeyLeft, kKeyRight,
    kKeyLShift, kKeyRShift, kKeyLCtrl, kKeyRCtrl, kKeyLAlt, kKeyRAlt, kKeyTab, kKeyEnter, kKeyBackspace,
    kKeyInsert, kKeyDel, kKeyPageUp, kKeyPageDown, kKeyHome, kKeyEnd, kKeyKp0, kKeyKp9 = 311, kKeyKpDivide,
    kKeyKpMultiply, kKeyKpSubtract, kKeyKpAdd, kKeyKpDecimal, kKeyKpEqual, kKeyKpEnter, kKeyKpNumLock,
    kKeyCapsLock, kKeyScrollLock, kKeyPause, kKeyLSuper, kKeyRSuper, kKeyMenu, kKeyLast = kKeyMenu
};

enum WindowMode { kWindow = 0x00010001, kFullscreen = 0x00010002 };
enum WindowParam { kOpened = 0x00020001, kActive = 0x00020002, kIconified = 0x00020003 };
enum Hint { kRefreshRate = 0x0002000B, kWindowNoResize = 0x00020012 };
enum Feature { kMouseCursor = 0x00030001, kKeyRepeat = 0x00030005, kAutoPollEvents = 0x00030006 };
enum Action { kRelease = 0, kPress = 1 };

struct VidMode {
    int width, height;
    int redBits, greenBits, blueBits;
};

using KeyFun = void (*)(int key, int action);
using CharFun = void (*)(int character, int action);
using MouseButtonFun = void (*)(int button, int action);
using MousePosFun = void (*)(int x, int y);
using WindowCloseFun = int (*)();

bool Init();
void Terminate();
double GetTime();
void Sleep(double seconds);

void OpenWindowHint(int target, int hint);
bool OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil, int mode);
void CloseWindow();
int GetWindowParam(int param);
void GetWindowSize(int* width, int* height);
void SetWindowPos(int x, int y);
void SetWindowTitle(const char* title);
void SwapBuffers();
void SwapInterval(int interval);
void PollEvents();
void WaitEvents();
void Enable(int feature);
void Disable(int feature);
void GetDesktopMode(VidMode* mode);
int GetVideoModes(VidMode* list, int maxCount);

// State of a key by GLFW 2 number (kPress or kRelease).
int GetKey(int key);
void GetMousePos(int* x, int* y);

void SetKeyCallback(KeyFun callback);
void SetCharCallback(CharFun callback);
void SetMouseButtonCallback(MouseButtonFun callback);
void SetMousePosCallback(MousePosFun callback);
void SetWindowCloseCallback(WindowCloseFun callback);

// GLFW 3 key number -> GLFW 2 key number (-1 for keys GLFW 2 did not have).
int KeyFromGlfw3(int glfw3Key);
// GLFW 2 key number -> GLFW 3 key number (-1 when there is none).
int KeyToGlfw3(int glfw2Key);

}  // namespace glfw2
