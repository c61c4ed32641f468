// A host test program: the real GLFW host with an application that reports,
// once per update, what the input module shows it, so end-to-end tests can
// check that keys and buttons typed on the display arrive as the right codes.
//
//   create       OnCreate ran
//   down C       key code C went down since the last update
//   up C         key code C went up
//   hit C N      KeyHit(C) is N in this update
//   char N       GetChar returned N
//   reopen       F11 was hit: the window is reopened (640 x 480, windowed)
#include <cstdio>

#include "host/app.h"
#include "host/qvglfwgame.h"
#include "input/input.h"

namespace {

class InputProbeApp : public App {
public:
    int OnCreate() override {
        app::SetUpdateRate(60);
        printf("create\n");
        fflush(stdout);
        return 0;
    }

    int OnUpdate() override {
        for (int code = 1; code < kKeyCodeCount; ++code) {
            bool down = input::KeyDown(code);
            if (down != wasDown[code]) printf("%s %d\n", down ? "down" : "up", code);
            wasDown[code] = down;
            if (int hits = input::KeyHit(code)) printf("hit %d %d\n", code, hits);
        }
        while (int character = input::GetChar()) printf("char %d\n", character);
        if (input::KeyHit(122)) {
            printf("reopen\n");
            fflush(stdout);
            app::SetDeviceWindow(640, 480, 0);
        }
        fflush(stdout);
        return 0;
    }

private:
    bool wasDown[kKeyCodeCount] = {};
};

}  // namespace

int main(int argc, char** argv) {
    return QvTarvikGame::MainWith(argc, argv, [] { new InputProbeApp(); });
}
