// The application layer over the host: the App base class that the game
// derives from, the GameDelegate that turns host events into App hooks and
// device calls, and the app module's functions the game uses.
//
//   class MyApp : public App { int OnCreate() override { app::SetUpdateRate(60); return 0; } };
//   app::Millisecs();  app::DeviceWidth();  app::EndApp();
//
// Constructing the App registers its delegate with the host; there can be
// only one App per run.
#pragma once

#include <vector>

#include "host/qvgame.h"

class gxtkGraphics;
class gxtkAudio;
class InputDevice;

class App {
public:
    App();
    virtual ~App();
    virtual int OnCreate() { return 0; }
    virtual int OnSuspend() { return 0; }
    virtual int OnResume() { return 0; }
    virtual int OnUpdate() { return 0; }
    virtual int OnRender() { return 0; }
    int OnClose();
    int OnBack();
};

class GameDelegate : public QvGameDelegate {
public:
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int kind, int data) override;
    void MouseEvent(int kind, int button, float x, float y) override;
    void TouchEvent(int kind, int finger, float x, float y) override;
    void MotionEvent(int kind, int data, float x, float y, float z) override;
    void DiscardGraphics() override;

    gxtkGraphics* graphics = nullptr;
    gxtkAudio* audio = nullptr;
    InputDevice* input = nullptr;
};

struct DisplayMode {
    int width = 0;
    int height = 0;
};

namespace app {

extern QvGame* _game;
extern App* _app;
extern GameDelegate* _delegate;
extern int _devWidth, _devHeight;
extern std::vector<DisplayMode> _displayModes;
extern DisplayMode* _desktopMode;
extern int _updateRate;

// Resets the module's globals (run by qvInit before the App exists).
void InitModule();

[[noreturn]] void EndApp();
void SetUpdateRate(int rate);
int UpdateRate();
int Millisecs();
void GetDate(int* date, int length);
int SaveState(const String& text);
String LoadState();
String LoadString(const String& path);
void OpenUrl(const String& url);
void SetMouseVisible(bool visible);
void ValidateDeviceWindow();
int DeviceWidth();
int DeviceHeight();
void SetDeviceWindow(int width, int height, int flags);
void SetSwapInterval(int interval);
void EnumDisplayModes();
const std::vector<DisplayMode>& DisplayModes();
DisplayMode* DesktopMode();

}  // namespace app
