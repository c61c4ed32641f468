// The platform-neutral host: the one object between the operating system and
// the game. It guards every event on its way to the delegate (nothing reaches
// the game before StartGame; updates stop while suspended) and offers the
// services the devices and the game need: time, files, the saved state, the
// window size, joysticks.
//
//   QvGame::_game->StartGame();          // the delegate creates the devices
//   QvGame::_game->UpdateGame();         // one tick, unless suspended
//   FILE* f = QvGame::_game->OpenFile(u"tarvik://data/gfx.png", u"rb");
//
// QvGlfwGame is the real host; tests derive their own from this class (with a
// scripted clock and window size) so the whole game runs without a screen.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "host/qv.h"
#include "host/qvstring.h"

// Receiver of all host events; every operation does nothing by default.
class QvGameDelegate {
public:
    virtual ~QvGameDelegate() = default;
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int kind, int data) { (void)kind, (void)data; }
    virtual void MouseEvent(int kind, int button, float x, float y) { (void)kind, (void)button, (void)x, (void)y; }
    virtual void TouchEvent(int kind, int finger, float x, float y) { (void)kind, (void)finger, (void)x, (void)y; }
    virtual void MotionEvent(int kind, int data, float x, float y, float z) {
        (void)kind, (void)data, (void)x, (void)y, (void)z;
    }
    virtual void DiscardGraphics() {}
};

struct QvDisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t format = 0;  // the three trailing fields are always 0 on this host
    int32_t hertz = 0;
    int32_t flags = 0;
};

class QvGame {
public:
    static QvGame* _game;

    virtual ~QvGame() = default;

    virtual void SetDelegate(QvGameDelegate* delegate);
    virtual QvGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int rate);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(int* date, int length);
    virtual int SaveState(const String& text);
    virtual String LoadState();
    virtual String LoadString(const String& path);
    virtual bool PollJoystick(int unit, float* joyX, float* joyY, float* joyZ, bool* buttons);
    virtual void OpenUrl(const String& url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual std::vector<QvDisplayMode> GetDisplayModes();
    virtual std::optional<QvDisplayMode> GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    virtual String PathToFilePath(const String& path);
    virtual FILE* OpenFile(const String& path, const String& mode);
    virtual std::optional<std::vector<unsigned char>> LoadData(const String& path);
    // Decoded pixels (malloc family, the caller frees) or null.
    virtual unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth);
    // Decoded PCM (malloc family, the caller frees) or null.
    virtual unsigned char* LoadAudioData(const String& path, int* length, int* channels, int* bytesPerSample,
                                         int* rate);
    [[noreturn]] virtual void Die(const ThrowableObject& exception);

    // Events, each passed to the delegate only when the guards allow it.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int kind, int data);
    virtual void MouseEvent(int kind, int button, float x, float y);
    virtual void TouchEvent(int kind, int finger, float x, float y);
    virtual void MotionEvent(int kind, int data, float x, float y, float z);
    virtual void DiscardGraphics();

protected:
    // Runs a delegate call; a ThrowableObject escaping it ends the program.
    template <typename Call>
    void Guarded(Call call) {
        try {
            call();
        } catch (const ThrowableObject& exception) {
            Die(exception);
        }
    }

    QvGameDelegate* delegate = nullptr;
    bool keyboardEnabled = false;
    int32_t updateRate = 0;
    bool started = false;
    bool suspended = false;
};

// Where the persisted state lives: the process's current directory.
inline constexpr char16_t kStateFilePath[] = u"./.tarvikstate";
