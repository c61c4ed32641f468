// A host test program: the real GLFW host with an application that reports
// its hooks on standard output, so end-to-end tests can watch the host.
//
//   create            OnCreate ran
//   suspend / resume  the window lost / regained the focus
//   size W H          an update saw a new window size
#include <cstdio>

#include "graphics/graphics.h"
#include "host/app.h"
#include "host/qvglfwgame.h"
#include "input/input.h"

namespace {

class ProbeApp : public App {
public:
    int OnCreate() override {
        app::SetUpdateRate(60);
        Report("create");
        return 0;
    }
    int OnSuspend() override {
        Report("suspend");
        return 0;
    }
    int OnResume() override {
        Report("resume");
        return 0;
    }
    int OnUpdate() override {
        int width = app::DeviceWidth(), height = app::DeviceHeight();
        if (width != lastWidth || height != lastHeight) {
            lastWidth = width;
            lastHeight = height;
            printf("size %d %d\n", width, height);
            fflush(stdout);
        }
        return 0;
    }

private:
    static void Report(const char* what) {
        printf("%s\n", what);
        fflush(stdout);
    }
    int lastWidth = -1, lastHeight = -1;
};

}  // namespace

int main(int argc, char** argv) {
    return QvTarvikGame::MainWith(argc, argv, [] { new ProbeApp(); });
}
