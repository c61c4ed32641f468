#include "host/app.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "input/input.h"

namespace app {

QvGame* _game = nullptr;
App* _app = nullptr;
GameDelegate* _delegate = nullptr;
int _devWidth = 0, _devHeight = 0;
std::vector<DisplayMode> _displayModes;
DisplayMode* _desktopMode = nullptr;
int _updateRate = 0;

void InitModule() {
    _game = QvGame::_game;
    _app = nullptr;
    _delegate = nullptr;
    _devWidth = _devHeight = 0;
    _displayModes.clear();
    _desktopMode = nullptr;
    _updateRate = 0;
}

void EndApp() { qvError(u""); }

void SetUpdateRate(int rate) {
    _updateRate = rate;
    _game->SetUpdateRate(rate);
}

int UpdateRate() { return _updateRate; }
int Millisecs() { return _game->Millisecs(); }
void GetDate(int* date, int length) { _game->GetDate(date, length); }
int SaveState(const String& text) { return _game->SaveState(text); }
String LoadState() { return _game->LoadState(); }
String LoadString(const String& path) { return _game->LoadString(path); }
void OpenUrl(const String& url) { _game->OpenUrl(url); }
void SetMouseVisible(bool visible) { _game->SetMouseVisible(visible); }

void ValidateDeviceWindow() {
    _devWidth = _game->GetDeviceWidth();
    _devHeight = _game->GetDeviceHeight();
}

int DeviceWidth() { return _devWidth; }
int DeviceHeight() { return _devHeight; }
void SetDeviceWindow(int width, int height, int flags) { _game->SetDeviceWindow(width, height, flags); }
void SetSwapInterval(int interval) { _game->SetSwapInterval(interval); }

void EnumDisplayModes() {
    _displayModes.clear();
    std::vector<int> seen;  // width * 65536 + height of each mode kept
    for (const QvDisplayMode& mode : _game->GetDisplayModes()) {
        int id = mode.width * 65536 + mode.height;
        bool known = false;
        for (int other : seen) known = known || other == id;
        if (known) continue;
        seen.push_back(id);
        _displayModes.push_back({mode.width, mode.height});
    }
    static DisplayMode desktop;
    std::optional<QvDisplayMode> hostDesktop = _game->GetDesktopMode();
    if (hostDesktop) {
        desktop = {hostDesktop->width, hostDesktop->height};
    } else {
        desktop = {DeviceWidth(), DeviceHeight()};
    }
    _desktopMode = &desktop;
}

const std::vector<DisplayMode>& DisplayModes() { return _displayModes; }
DisplayMode* DesktopMode() { return _desktopMode; }

}  // namespace app

App::App() {
    if (app::_app) qvError(u"App has already been created");
    app::_app = this;
    app::_delegate = new GameDelegate();
    app::_game->SetDelegate(app::_delegate);
}

// A destroyed App is forgotten, so that the process can make another (the
// game never destroys its App; tests make one per case).
App::~App() {
    if (app::_app == this) app::_app = nullptr;
}

int App::OnClose() { app::EndApp(); }
int App::OnBack() { app::EndApp(); }

void GameDelegate::StartGame() {
    graphics = new gxtkGraphics();
    graphics::SetGraphicsDevice(graphics);
    graphics::SetFont(nullptr, 32);
    audio = new gxtkAudio();
    audio::SetAudioDevice(audio);
    input = new InputDevice();
    input::SetInputDevice(input);
    app::ValidateDeviceWindow();
    app::EnumDisplayModes();
    app::_app->OnCreate();
}

void GameDelegate::SuspendGame() {
    app::_app->OnSuspend();
    audio->Suspend();
}

void GameDelegate::ResumeGame() {
    audio->Resume();
    app::_app->OnResume();
}

void GameDelegate::UpdateGame() {
    app::ValidateDeviceWindow();
    input->BeginUpdate();
    app::_app->OnUpdate();
    input->EndUpdate();
}

void GameDelegate::RenderGame() {
    app::ValidateDeviceWindow();
    graphics->BeginRender();
    graphics::BeginRender();
    app::_app->OnRender();
    graphics::EndRender();
    graphics->EndRender();
}

void GameDelegate::KeyEvent(int kind, int data) {
    input->KeyEvent(kind, data);
    // The back and close codes end the program whenever they go down.
    if (kind == 1 && (data == 416 || data == 432)) app::EndApp();
}

void GameDelegate::MouseEvent(int kind, int button, float x, float y) { input->MouseEvent(kind, button, x, y); }
void GameDelegate::TouchEvent(int kind, int finger, float x, float y) { input->TouchEvent(kind, finger, x, y); }
void GameDelegate::MotionEvent(int kind, int data, float x, float y, float z) {
    input->MotionEvent(kind, data, x, y, z);
}
void GameDelegate::DiscardGraphics() { graphics->DiscardGraphics(); }
