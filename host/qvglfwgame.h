// The GLFW host: owns the window, runs the program's only loop and maps the
// framework's files onto folders beside the executable.
//
//   QvTarvikGame::Main(argc, argv);   // from main(): start-up, Run, exit
//
// Run opens a 640 x 480 window, starts the game and repeats passes: render and
// present, sleep until the next update is due, pump events, suspend or resume
// on focus, then run the due updates (at most 4 a pass; a larger backlog is
// dropped, so a slow machine slows the game down instead of skipping ahead).
//
// The loop reaches the window system only through LoopPlatform, so tests can
// drive it with a scripted clock and scripted focus.
#pragma once

#include "host/qvgame.h"

// What the main loop needs from the window system (GLFW by default).
class LoopPlatform {
public:
    virtual ~LoopPlatform() = default;
    virtual double Time();
    virtual void Sleep(double seconds);
    virtual void PollEvents();
    virtual void WaitEvents();
    virtual bool WindowOpen();
    virtual bool WindowActive();
    virtual void SwapBuffers();
};

struct QvGlfwVideoMode {
    int width, height, red, green, blue;
};

class QvGlfwGame : public QvGame {
public:
    static QvGlfwGame* _glfwGame;

    QvGlfwGame();

    void SetUpdateRate(int rate) override;
    int Millisecs() override;
    String PathToFilePath(const String& path) override;
    bool PollJoystick(int unit, float* joyX, float* joyY, float* joyZ, bool* buttons) override;
    void OpenUrl(const String& url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    std::vector<QvDisplayMode> GetDisplayModes() override;
    std::optional<QvDisplayMode> GetDesktopMode() override;
    void SetSwapInterval(int interval) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen);
    virtual QvGlfwVideoMode GetGlfwDesktopMode();
    virtual std::vector<QvGlfwVideoMode> GetGlfwVideoModes();
    virtual void Run();

    // One pass of the main loop (render, present, wait, events, updates).
    void RunPass();
    void SetLoopPlatform(LoopPlatform* newPlatform) { platform = newPlatform; }
    double NextUpdate() const { return nextUpdate; }

    // Window-system callbacks (GLFW 2 numbering), forwarded to the host as events.
    static void OnKey(int key, int action);
    static void OnChar(int character, int action);
    static void OnMouseButton(int button, int action);
    static void OnMousePos(int x, int y);
    static int OnWindowClose();
    // The character a key code types from OnKey (0 for none).
    static int KeyToChar(int code);
    // GLFW 2 key number -> key code (0 for keys without a code).
    static int TransKey(int key);

protected:
    double updatePeriod = 0.0;
    double nextUpdate = 0.0;
    String exeFolder;
    String internalFolder;
    int swapInterval = 1;
    LoopPlatform* platform;

private:
    void ReleaseHeldKeys();
};

class QvTarvikGame : public QvGlfwGame {
public:
    // The start-up sequence with the game's MyApp.
    static int Main(int argc, char** argv);
    // The same sequence with another application (host test programs).
    static int MainWith(int argc, char** argv, void (*createApp)());
};
