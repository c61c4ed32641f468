#include "tests/support/fake_host.h"

#include <unistd.h>

#include <cstdio>

#include "audio/audio.h"
#include "audio/gxtk_audio.h"
#include "graphics/gl_api.h"
#include "graphics/graphics.h"
#include "graphics/gxtk_graphics.h"
#include "host/text_codec.h"
#include "input/input.h"
#include "input/input_device.h"

FakeHost::FakeHost() {
    QvGame::_game = this;
    glapi::UseRecorder(nullptr);  // no OpenGL context here: drawing goes nowhere
    qvInit();
    dataFolder = std::string(ZT_SOURCE_DIR) + "/data";
    char name[] = "/tmp/zt-state-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    stateFile = name;
    unlink(name);  // no saved state until the game saves
}

FakeHost::~FakeHost() {
    ReleaseApp();
    unlink(stateFile.c_str());
    if (QvGame::_game == this) QvGame::_game = nullptr;
}

// The App first, while the devices its images and sounds were made on still
// exist; then the devices and the delegate, and the module globals that
// pointed at them. What the app module no longer knows, the test has freed
// itself; what a test put in the devices' place is the test's.
void FakeHost::ReleaseApp() {
    if (createdApp && app::_app == createdApp) delete createdApp;
    GameDelegate* made = createdDelegate;
    if (!made || app::_delegate != made) return;
    if (input::device == made->input) input::device = nullptr;
    if (audio::device == made->audio) audio::device = nullptr;
    if (graphics::device == made->graphics) graphics::device = nullptr;
    if (graphics::renderDevice == made->graphics) graphics::renderDevice = nullptr;
    delete made->input;
    delete made->audio;
    delete made->graphics;
    app::_delegate = nullptr;
    if (delegate == made) delegate = nullptr;
    delete made;
}

String FakeHost::PathToFilePath(const String& path) {
    constexpr std::u16string_view kData = u"tarvik://data/";
    if (path.rfind(kData, 0) == 0) return FromUtf8(dataFolder) + u"/" + path.substr(kData.size());
    if (path.rfind(u"tarvik:", 0) == 0) return String();
    if (path == kStateFilePath) return FromUtf8(stateFile);
    return path;
}

int FakeHost::SaveState(const String& text) {
    saves += 1;
    return QvGame::SaveState(text);
}

String FakeHost::LoadState() { return QvGame::LoadState(); }

void FakeHost::SetDeviceWindow(int newWidth, int newHeight, int flags) {
    width = newWidth;
    height = newHeight;
    fullscreen = (flags & 1) != 0;
}
