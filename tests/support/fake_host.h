// A host for running the framework and the game without a screen.
//
//   FakeHost host;                 // becomes QvGame::_game, resets all module globals
//   host.clockMs = 1000;           // the scripted clock behind Millisecs
//   host.SetWindowSize(1280, 720);
//   MyApp* game = host.CreateApp<MyApp>();   // constructs the App, then StartGame
//   host.Tick();  host.Frame();    // one update, one render
//
// Files resolve like the real host's, with tarvik://data/ pointing at the
// source tree's data/ folder; the saved state goes to stateFile (a temp file).
#pragma once

#include <string>

#include "host/app.h"
#include "host/qvgame.h"

class FakeHost : public QvGame {
public:
    FakeHost();
    ~FakeHost() override;

    int Millisecs() override { return clockMs; }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    String PathToFilePath(const String& path) override;
    int SaveState(const String& text) override;
    String LoadState() override;
    void SetUpdateRate(int rate) override { updateRate = rate; }
    void SetDeviceWindow(int newWidth, int newHeight, int flags) override;
    std::optional<QvDisplayMode> GetDesktopMode() override { return QvDisplayMode{1920, 1080, 0, 0, 0}; }

    // The host frees the App when it goes, unless the test deleted it first;
    // the delegate and the devices StartGame made go with the host.
    template <typename AppType>
    AppType* CreateApp() {
        auto* created = new AppType();
        createdApp = created;
        createdDelegate = app::_delegate;
        StartGame();
        return created;
    }

    void SetWindowSize(int newWidth, int newHeight) { width = newWidth, height = newHeight; }
    void Tick() { UpdateGame(); }
    void Frame() { RenderGame(); }
    // Input arrives as the real host sends it.
    void PressKey(int code) { KeyEvent(1, code); }
    void ReleaseKey(int code) { KeyEvent(2, code); }

    int clockMs = 0;
    int width = 640;
    int height = 480;
    bool fullscreen = false;
    std::string dataFolder;  // tarvik://data/ maps here
    std::string stateFile;   // where SaveState writes
    int saves = 0;

private:
    void ReleaseApp();

    App* createdApp = nullptr;
    GameDelegate* createdDelegate = nullptr;
};
