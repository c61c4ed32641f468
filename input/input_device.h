// Placeholder input device until the input work lands.
#pragma once

class InputDevice {
public:
    virtual ~InputDevice() = default;
    void BeginUpdate() {}
    void EndUpdate() {}
    void KeyEvent(int, int) {}
    void MouseEvent(int, int, float, float) {}
    void TouchEvent(int, int, float, float) {}
    void MotionEvent(int, int, float, float, float) {}
};
