#include "tests/support/fake_host.h"

#include <unistd.h>

#include <cstdio>

#include "graphics/gl_api.h"
#include "host/text_codec.h"

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
    unlink(stateFile.c_str());
    if (QvGame::_game == this) QvGame::_game = nullptr;
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
