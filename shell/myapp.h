// MyApp: the whole game in one application object.
//
//   MyApp* game = new MyApp();     // App registers with the host; the host's
//                                  // StartGame then calls OnCreate
//   // every tick:  game->OnUpdate();   every frame:  game->OnRender();
//
// All state lives in the flat, fixed-size fields below, created once with the
// object; nothing is allocated during a tick or a frame. Fields are grouped by
// the part of the game that owns them. Methods are split over files by
// concern:
//   shell/myapp.cpp        constructor, OnCreate, the tick (OnUpdate), suspend
//                          and resume, full screen, SeedRnd/Rand
//   shell/draw_list.cpp    the pen, the display-list recorders, OnRender (fit
//                          and replay)
//   shell/text.cpp         Text, rstr
//   shell/controls.cpp     PlayKey, sticks, pointer tests
//   shell/loader.cpp       image banks and the loading screen
//   shell/sound.cpp        sound effects and tunes
//   shell/saved_data.cpp   Save, Load, LoadMenu
//   shell/title_menu.cpp   Menu
//   shell/options.cpp      OptionBox
//   game/*.cpp             the gameplay (world, tick, stars, particles,
//                          overlay, game over, pause menu, ship, enemies)
//
// Drawing never touches the graphics device during a tick: every drawing call
// appends a 15-float command to drawList, and OnRender replays the list scaled
// from the virtual screen (jscrw x jscrh) to the window.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/app.h"
#include "host/qvstring.h"

class Image;
class Sound;

// Element numbers of the player record (MyApp::player).
struct PlayerEl {
    enum : int {
        x = 1,
        y = 2,
        steerX = 3,
        steerY = 4,
        heading = 5,
        wantedHeading = 6,
        cellsLeft = 9,
        bonusCol = 11,
        bonusRow = 12,
        deathTime = 18,
        level = 20,
        menuHoldOff = 21,      // the title menu's key-repeat timer
        menuRepeatDelay = 22,  // the title menu's key-repeat delay
        appearTime = 28,
        levelTime = 29,
        lives = 99,
    };
};

// Element numbers within an object slot (MyApp::objects, 10 floats a slot).
struct ObjectEl {
    enum : int {
        kind = 0,  // 0 free, 1 enemy, 10 bullet
        // enemy
        radius = 1,
        approachSpeed = 2,
        fireTime = 3,
        turnTime = 4,
        angle = 5,  // bullets keep their enemy's angle here too
        spin = 6,
        // bullet
        x = 1,
        y = 2,
        vx = 3,
        vy = 4,
    };
};

// Element numbers within a particle record (MyApp::particles, 10 floats each).
struct ParticleEl {
    enum : int { type = 0, x = 1, y = 2, vx = 3, vy = 4, rotation = 5, spin = 6, life = 7, colour = 8, frame = 9 };
};

// Element numbers within a star record (MyApp::stars, 10 floats each).
struct StarEl {
    enum : int { frame = 0, x = 1, y = 2, speed = 3, rotation = 5, spin = 6 };
};

class MyApp : public App {
public:
    // ---- capacities ----
    static constexpr int kCommandFloats = 15;
    static constexpr int kDrawListFloats = 37500;
    // An append is allowed while drawLength is at most this, so 2499 commands fit.
    static constexpr int kLastCommandStart = kDrawListFloats - 16;
    static constexpr int kImageBanks = 100;
    static constexpr int kSoundBanks = 100;
    static constexpr int kTouchPoints = 10;
    static constexpr int kChannels = 33;
    static constexpr int kEffectChannels = 24;
    static constexpr int kRecordFloats = 10;  // one object, particle or star record
    static constexpr int kPoolFloats = 5100;  // 510 records
    static constexpr int kGridRowCells = 32;  // cell (i, j) is cell j * 32 + i
    // Rows 0..11 and columns 0..11 are played; the rest of a 32 x 32 block
    // stays empty, so a look at row or column 12 reads an empty cell.
    static constexpr int kGridFloats = kGridRowCells * kGridRowCells * kRecordFloats;

    // Sentinels: an argument not given, a released touch point.
    static constexpr float kNoArg = -3717.0f;
    static constexpr int kNoTouch = -3717;
    // Display-list command codes (values >= 0 name an image bank).
    static constexpr float kCodeRect = -3717.0f;
    static constexpr float kCodeOval = -3716.0f;
    static constexpr float kCodeLine = -3715.0f;
    static constexpr float kCodeTri = -3714.0f;
    // The seed that asks SeedRnd to seed from the clock (bit pattern FDC8CE3E).
    static constexpr int kTimeSeed = -37171650;

    MyApp();

    // ---- App hooks (myapp.cpp, draw_list.cpp) ----
    int OnCreate() override;
    int OnUpdate() override;
    int OnRender() override;
    int OnSuspend() override;
    int OnResume() override;

    // ---- core (myapp.cpp) ----
    void FullscreenFlip();
    void SeedRnd(int seed);
    int Rand(int low, int high);

    // ---- display list (draw_list.cpp) ----
    void ResetDraw();
    void CLS2D(float r, float g, float b, float a);
    void DoBG(int r, int g, int b, float a);
    void SetSize(float sx, float sy = kNoArg);
    void Alpha(float a);
    void SetCol(float r, float g, float b, float a = kNoArg);
    void SetRot(float angle);
    void Ink(int type, float brightness);
    void RotInk(float angle, float amount, float base);
    void DrawImg(int bank, float x, float y, float frame);
    void Rect(float x, float y, float w, float h);
    void Oval(float x, float y, float rx, float ry);
    void Line(float x1, float y1, float x2, float y2);
    void Tri(float x1, float y1, float x2, float y2, float x3, float y3);
    // Derives the virtual screen and the scale from a window size (OnRender's fit).
    void FitScreen(int width, int height);
    // Plays drawList back through the graphics module (OnRender's replay).
    void ReplayDrawList(int width, int height);

    // ---- text (text.cpp) ----
    void Text(float x, float y, std::u16string_view text, float alignX, float alignY, int bankOffset);
    static String rstr(int value, int width, std::u16string_view pad);

    // ---- control mapping (controls.cpp) ----
    int PlayKey(int id, int analogue, int unit);
    float StickX(int stick, int unit);
    float StickY(int stick, int unit);
    int Touch(float x, float y, float width, float height);
    int Button(int image, float x, float y, float frame);
    int MouseIn(float x, float y, float width, float height);
    int MouseIn_Centered(float x, float y, float width, float height);

    // ---- asset banks and loading screen (loader.cpp) ----
    void LoadImg(int bank, std::u16string_view name, int cellW, int cellH, int frames, int flags);
    void LoadFont(int bank, std::u16string_view name, int advance, int lineHeight);
    void ReserveImg(int bank, int width, int height);
    void ChooseResolution();
    void Reload();
    void Loader();
    void WaitStart(int loading);

    // ---- sound effects and tunes (sound.cpp) ----
    void LoadSFX(int id);
    void PlaySFX(int id, float rate, float volume, float pan);
    void PlayTune(std::u16string_view name, int flags);
    void StopTune();

    // ---- saved data (saved_data.cpp) ----
    int Save();
    int Load();
    int LoadMenu();

    // ---- title menu (title_menu.cpp) and options overlay (options.cpp) ----
    int Menu();
    int OptionBox();

private:
    // The steps of a Menu tick; those returning bool report an activation.
    bool MenuSidePanel();
    void MenuScoreLists();
    void MenuWheelMotion();
    void MenuHub(float cx, float cy);
    void MenuDrag(float cx, float cy);
    bool MenuItems(float cx, float cy);
    bool MenuKeys();
    void MenuActivate();
    void MenuCredits();
    // One line of the options overlay: its bar, label and change.
    void OptionLine(int line, float y);
    void ApplyOption(int line);

public:

    // ---- game world and level set-up (game/world.cpp) ----
    int LoadGame();
    int FlushGame();
    int ResetObj();
    int ResetGrid();
    int ResetPlayers();
    int ResetStars(int count);
    int ResetParticles(int count);
    int Refill();

    // ---- game tick (game/game_tick.cpp) ----
    int Game();
    int Gimme(int points, float x, float y);

    // ---- stars (game/stars.cpp), particles (game/particles.cpp) ----
    int DoStars(float dx, float dy);
    int ThrowParticle(float x, float y, int type, int colour, float angle, float speed);
    int DoParticles(float scale);
    // The highest-numbered free particle record, or -1 when all are busy.
    int FreeParticle() const;

    // ---- in-game overlay (game/overlay.cpp) ----
    int InGame();
    int ScoreDisplay();
    static String Nth(int n);
    String MyNth();

    // ---- game over (game/game_over.cpp), pause menu (game/pause_menu.cpp) ----
    int GameOver();
    int PauseMenu();

    // ---- ship (game/ship.cpp) and enemies (game/enemies.cpp) ----
    int AnalogueControl();
    static int WhichWayDoIGo(float a, float b, int lo, int hi);
    // The ship's steps of a game tick: steering, motion, trail, drawing, death.
    int ShipSteps();
    // A bullet reached the ship.
    int ShipHit();
    // The scan of object slots 50..0: enemies and bullets.
    int DoObjects();

    // ---- core state ----
    int isFullscreen = 0;
    int mode = 0;  // 1 title menu, 2 back to the title, 10 game, 11 start a game
    int loopIndex = 0;  // shared loop counter; MyNth leaves the place here
    int paused = 0;
    int pauseMotion = 0;
    int pauseOffset = 0;

    // ---- meters ----
    int tickClock = 0, tickRate = 0, tickRateAvg = 0;
    int renderClock = 0, renderRate = 0, renderRateAvg = 0;

    // ---- pointer, touch and latches ----
    int mouseX = 0, prevMouseX = 0, mouseY = 0, prevMouseY = 0;
    int mouseWasDown = 0;
    int pointerDown = 0;
    int mouseHit = 0;
    int touchDown[kTouchPoints] = {};
    int touchX[kTouchPoints] = {};
    int touchY[kTouchPoints] = {};
    int pointerLatch = 0, keyLatch = 0;
    int buttonHit = 0;  // result of the last Button

    // ---- display list, pen and screen ----
    int drawLength = 0;
    float drawList[kDrawListFloats] = {};
    float drawScaleX = 0, drawScaleY = 0, drawRotation = 0;
    float drawR = 0, drawG = 0, drawB = 0, drawAlpha = 0;
    int drawBlend = 0;  // 3 additive, else normal
    float backR = 0, backG = 0, backB = 0, backAlpha = 0;
    float bgR = 0, bgG = 0, bgB = 0;                    // DoBG's eased background
    float bgTargetR = 0, bgTargetG = 0, bgTargetB = 0;  // and its targets
    int lastDevWidth = 0, lastDevHeight = 0;
    float scaleX = 0, scaleY = 0;
    int fitAxis = 0;    // 1 the width fills the window, 2 the height does
    int landscape = 0;  // 1 when jscrw >= jscrh

    // ---- asset banks and loading screen ----
    std::shared_ptr<Image> images[kImageBanks];  // null until loaded
    int imageSizes[3 * kImageBanks] = {};  // width, height, frames per bank
    int hdFactor = 0;
    float hdScale = 0;
    int currentFont = 0;
    int loadStage = 0;  // > 0 while the loader runs
    int logoSoundPlayed = 0;
    int lastReserved = 0;
    int spinAngle = 0;

    // ---- sound effects and tunes ----
    std::shared_ptr<Sound> sounds[kSoundBanks];  // null where nothing is loaded
    int channelMap[kChannels] = {};
    int sfxSlot = 0;
    int musicOn = 0;

    // ---- saved data ----
    int settings[25] = {};
    int highscores[150] = {};
    bool badges[256] = {};

    // ---- title menu ----
    int menuSel = 0;
    int difficulty = 0;
    float wheelTarget = 0, wheelAngle = 0, wheelSpin = 0;
    int wheelTouched = 0;
    int menuFocus = 1;  // 0 options cog, 1 wheel, 2 side panel
    int menuSlide = 0;
    float panelGrow = 0, panelWidth = 0;
    float cogAngle = 0;
    int menuDescIndex = 0;
    int creditsOpen = 0;
    float creditsScroll = 0;
    int creditsLine = 0;
    int controlMode = 0;  // 2 pointer, 1 pad, 0 keyboard buttons

    // ---- options overlay ----
    int optionsOpen = 0;
    int optionsFade = 0;  // 0..30
    int optCursor = 0;
    int optKeyLatch = 0, optTouchLatch = 0;

    // ---- game world ----
    float player[512] = {};
    float grid[kGridFloats] = {};
    float objects[kPoolFloats] = {};
    float trail[300] = {};
    float particles[kPoolFloats] = {};
    int lastParticle = 250;
    float stars[kPoolFloats] = {};
    int lastStar = 100;
    int score = 0;
    int shownScore = 0;
    int gameEnded = 0;
    int gameOverTime = 0;
    int quitGame = 0;
    int hideHud = 0;

    // ---- pause menu ----
    int pauseChoice = 0;
    float toyAngleA = 0, toyAngleB = 0;
    float toySpeed = 25.0f;
    float toyHue = 0;
    float toyRadius = 25.0f;
    float toyTrail[512] = {};

    // ---- ship control ----
    float steerInputX = 0, steerInputY = 0;
    float keySteerX = 0, keySteerY = 0;
    // Centre of the on-screen touch stick; -1 while no stick is held, so the
    // first press of a game anchors where it lands.
    int touchAnchorX = -1, touchAnchorY = -1;

private:
    void AppendCommand(float code, float e1, float e2, float e3, float e4, float e5, float e6);
    void MeasureTickRate();
    void ReadPointer();
    void UpdateLatches();
    void RunScreens();
    void SlideCreditsPanel();
    void DrawDebugLine();
    void ApplyPauseRule();
    bool AnyUnitHolds(const int* ids, int count);
};
