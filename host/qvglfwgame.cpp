#include "host/qvglfwgame.h"

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "host/glfw2.h"
#include "host/graphics_seq.h"
#include "shell/myapp.h"

int glfwGraphicsSeq = 0;

QvGlfwGame* QvGlfwGame::_glfwGame = nullptr;

double LoopPlatform::Time() { return glfw2::GetTime(); }
void LoopPlatform::Sleep(double seconds) { glfw2::Sleep(seconds); }
void LoopPlatform::PollEvents() { glfw2::PollEvents(); }
void LoopPlatform::WaitEvents() { glfw2::WaitEvents(); }
bool LoopPlatform::WindowOpen() { return glfw2::GetWindowParam(glfw2::kOpened) != 0; }
bool LoopPlatform::WindowActive() { return glfw2::GetWindowParam(glfw2::kActive) != 0; }
void LoopPlatform::SwapBuffers() { glfw2::SwapBuffers(); }

namespace {
LoopPlatform glfwPlatform;
}

QvGlfwGame::QvGlfwGame() : platform(&glfwPlatform) {}

void QvGlfwGame::SetUpdateRate(int rate) {
    updateRate = rate;
    if (rate != 0) updatePeriod = 1.0 / rate;
    nextUpdate = 0;  // the schedule restarts from the next pass
}

int QvGlfwGame::Millisecs() { return static_cast<int>(platform->Time() * 1000.0); }

void QvGlfwGame::Run() {
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    while (platform->WindowOpen()) RunPass();
}

void QvGlfwGame::RunPass() {
    RenderGame();
    platform->SwapBuffers();

    if (nextUpdate != 0) {
        double delay = nextUpdate - platform->Time();
        if (delay > 0) platform->Sleep(delay);
    }

    if (suspended) {
        platform->WaitEvents();
    } else {
        platform->PollEvents();
    }

    if (!platform->WindowActive()) {
        if (!suspended) {
            SuspendGame();
            nextUpdate = 0;
        }
        if (suspended) return;
    } else if (suspended) {
        ResumeGame();
        nextUpdate = 0;
        if (suspended) return;
    }

    if (updateRate == 0) {
        UpdateGame();
        return;
    }

    if (nextUpdate == 0) nextUpdate = platform->Time();
    for (int i = 0; i < 4; ++i) {
        UpdateGame();
        if (nextUpdate == 0) return;  // the update changed the rate
        nextUpdate += updatePeriod;
        if (nextUpdate > platform->Time()) return;
    }
    nextUpdate = 0;  // too far behind: drop the backlog
}

// ---- window -------------------------------------------------------------

void QvGlfwGame::ReleaseHeldKeys() {
    for (int key = 0; key <= glfw2::kKeyLast; ++key) {
        int code = TransKey(key);
        if (code != 0 && glfw2::GetKey(key) == glfw2::kPress) KeyEvent(2, code);
    }
}

void QvGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
    ReleaseHeldKeys();
    glfw2::VidMode desktop;
    glfw2::GetDesktopMode(&desktop);
    glfw2::CloseWindow();
    glfw2::OpenWindowHint(glfw2::kRefreshRate, 60);
    glfw2::OpenWindowHint(glfw2::kWindowNoResize, 0);
    if (fullscreen) {
        glfw2::OpenWindow(width, height, red, green, blue, alpha, depth, stencil, glfw2::kFullscreen);
        glfwGraphicsSeq += 1;
    } else {
        glfw2::OpenWindow(width, height, red, green, blue, alpha, depth, stencil, glfw2::kWindow);
        glfwGraphicsSeq += 1;
        glfw2::SetWindowPos((desktop.width - width) / 2, (desktop.height - height) / 2);
        glfw2::SetWindowTitle("Zentrove");
    }
    if (swapInterval >= 0) glfw2::SwapInterval(swapInterval);
    glfw2::Enable(glfw2::kKeyRepeat);
    glfw2::Disable(glfw2::kAutoPollEvents);
    glfw2::SetKeyCallback(OnKey);
    glfw2::SetCharCallback(OnChar);
    glfw2::SetMouseButtonCallback(OnMouseButton);
    glfw2::SetMousePosCallback(OnMousePos);
    glfw2::SetWindowCloseCallback(OnWindowClose);
}

void QvGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

int QvGlfwGame::GetDeviceWidth() {
    int width, height;
    glfw2::GetWindowSize(&width, &height);
    return width;
}

int QvGlfwGame::GetDeviceHeight() {
    int width, height;
    glfw2::GetWindowSize(&width, &height);
    return height;
}

QvGlfwVideoMode QvGlfwGame::GetGlfwDesktopMode() {
    glfw2::VidMode mode;
    glfw2::GetDesktopMode(&mode);
    return {mode.width, mode.height, mode.redBits, mode.greenBits, mode.blueBits};
}

std::vector<QvGlfwVideoMode> QvGlfwGame::GetGlfwVideoModes() {
    static glfw2::VidMode modes[1024];
    int count = glfw2::GetVideoModes(modes, 1024);
    std::vector<QvGlfwVideoMode> result;
    for (int i = 0; i < count; ++i)
        result.push_back({modes[i].width, modes[i].height, modes[i].redBits, modes[i].greenBits, modes[i].blueBits});
    return result;
}

std::vector<QvDisplayMode> QvGlfwGame::GetDisplayModes() {
    std::vector<QvDisplayMode> result;
    for (const QvGlfwVideoMode& mode : GetGlfwVideoModes()) result.push_back({mode.width, mode.height, 0, 0, 0});
    return result;
}

std::optional<QvDisplayMode> QvGlfwGame::GetDesktopMode() {
    QvGlfwVideoMode mode = GetGlfwDesktopMode();
    if (mode.width <= 0 || mode.height <= 0) return std::nullopt;
    return QvDisplayMode{mode.width, mode.height, 0, 0, 0};
}

void QvGlfwGame::SetSwapInterval(int interval) {
    swapInterval = interval;
    if (interval >= 0) glfw2::SwapInterval(interval);
}

void QvGlfwGame::SetMouseVisible(bool visible) {
    if (visible) {
        glfw2::Enable(glfw2::kMouseCursor);
    } else {
        glfw2::Disable(glfw2::kMouseCursor);
    }
}

// ---- files --------------------------------------------------------------

namespace {

String ExecutableFolder() {
    std::string path(PATH_MAX, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) qvError(u"Cannot find the executable's folder");
        if (static_cast<size_t>(n) < path.size()) {
            path.resize(static_cast<size_t>(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) qvError(u"Cannot find the executable's folder");
    return FromUtf8(path.substr(0, slash));
}

bool StartsWith(const String& text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

String QvGlfwGame::PathToFilePath(const String& path) {
    if (exeFolder.empty()) exeFolder = ExecutableFolder();
    if (!StartsWith(path, u"tarvik:")) return path;
    constexpr std::u16string_view kData = u"tarvik://data/";
    constexpr std::u16string_view kInternal = u"tarvik://internal/";
    constexpr std::u16string_view kExternal = u"tarvik://external/";
    if (StartsWith(path, kData)) return exeFolder + u"/data/" + path.substr(kData.size());
    if (StartsWith(path, kInternal)) {
        if (internalFolder.empty()) internalFolder = exeFolder + u"/internal";
        return internalFolder + u"/" + path.substr(kInternal.size());
    }
    if (StartsWith(path, kExternal)) return exeFolder + u"/external/" + path.substr(kExternal.size());
    return String();
}

// The URL goes to xdg-open as one argument through fork and exec, never
// through a shell, so no URL can run a command. The middle process exits at
// once so the opener is not left as a zombie of the game.
void QvGlfwGame::OpenUrl(const String& url) {
    std::string target = NarrowToBytes(url);
    pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        if (fork() == 0) {
            char program[] = "xdg-open";
            char* argv[] = {program, target.data(), nullptr};
            execvp(program, argv);
        }
        _exit(0);
    }
    waitpid(child, nullptr, 0);
}

// ---- start-up -----------------------------------------------------------

int QvTarvikGame::Main(int argc, char** argv) {
    return MainWith(argc, argv, [] { new MyApp(); });
}

int QvTarvikGame::MainWith(int argc, char** argv, void (*createApp)()) {
    if (!glfw2::Init()) {
        fputs("glfwInit failed\n", stdout);
        QuitProcess(-1);
    }
    auto* host = new QvTarvikGame();
    QvGame::_game = host;
    QvGlfwGame::_glfwGame = host;
    qvArgc = argc;
    qvArgv = argv;
    InstallSignalHandlers();
    if (!setlocale(LC_CTYPE, "en_US.UTF-8")) setlocale(LC_CTYPE, "");
    qvInit();
    try {
        createApp();
        if (host->Delegate()) host->Run();
    } catch (const ThrowableObject& exception) {
        glfw2::Terminate();
        host->Die(exception);
    }
    glfw2::Terminate();
    return 0;
}
