// The options overlay: a panel that slides up over the current screen with a
// close cog and one line per setting (sound, music, window, the two stick
// directions).
//
//   game->optionsOpen = 1;   // the dispatch then runs OptionBox every tick
//                            // and slides optionsFade 0..30 in and out
//
// Lines act only once the panel is fully in. A line acts on a tap on its bar,
// or on a button while the cursor is on it; the cursor moves with the
// directions, line 0 being the cog. Closing (cog, Back, or a button on the
// cog) saves the settings. Two latches of its own make a press act once: one
// for controls, one for the pointer; every line waits for both, so a button
// held through a window switch cannot switch the window back.
#include <iterator>

#include "audio/audio.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/saved_text.h"

namespace {

constexpr int kFadeIn = 30;
constexpr int kLines = 5;
constexpr int kSoundLine = 1, kMusicLine = 2, kWindowLine = 3, kLeftStickLine = 4, kRightStickLine = 5;
constexpr int kMoveSound = 99;
constexpr int kBankButtons = 95;
constexpr int kFrameCogOuter = 8, kFrameCogMiddle = 9, kFrameCogInner = 10;

constexpr int kBackControl[] = {99};
constexpr int kLineButtons[] = {10, 11, 12, 13, 14, 15};
constexpr int kCloseButtons[] = {15, 10, 11};
constexpr int kCursorBack[] = {0, 3};
constexpr int kCursorOn[] = {8, 5};
constexpr int kHeldControls[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

// Labels of the volume steps 0 Loud .. 3 OFF.
constexpr std::u16string_view kSoundLabels[] = {u"Sound : [-  -  - Loud]", u"Sound : [-  - Normal-]",
                                                u"Sound : [- Quiet -  -]", u"Sound : [OFF  -  -  -]"};
constexpr std::u16string_view kMusicLabels[] = {u"Music : [-  -  - Loud]", u"Music : [-  - Normal-]",
                                                u"Music : [- Quiet -  -]", u"Music : [OFF  -  -  -]"};
constexpr float kMusicGains[] = {1.0f, 0.7f, 0.4f, 0.0f};

// A volume step outside 0..3 (only a hand-made saved text holds one) becomes
// Loud; until then it shows no label.
std::u16string_view VolumeLabel(int& step, const std::u16string_view (&labels)[4]) {
    if (step >= 0 && step <= 3) return labels[step];
    step = 0;
    return {};
}

std::u16string_view StickLabel(int normal, std::u16string_view normalLabel, std::u16string_view flippedLabel) {
    if (normal == 1) return normalLabel;
    if (normal == 0) return flippedLabel;
    return {};
}

// 0 and 1 swap; a loaded value outside them steps as (value + 1) mod 2 would,
// widened so that the largest int cannot overflow.
void NextStickSetting(int& normal) { normal = static_cast<int>((static_cast<long long>(normal) + 1) % 2); }

}  // namespace

int MyApp::OptionBox() {
    ResetDraw();
    keyLatch = pointerLatch = 1;  // the screen below takes no input
    if (optionsFade != kFadeIn) optKeyLatch = optTouchLatch = 1;  // nothing changes while the panel moves

    SetCol(150, 75, 0, 0.85f);
    Rect(50, static_cast<float>((kFadeIn - optionsFade) * 24), jscrw - 100, jscrh);

    cogAngle += 0.2f;
    ResetDraw();
    SetSize(optCursor == 0 ? 2.0f : 1.5f);
    float cx = static_cast<float>((optionsFade * 3 - 90) * 4 + 100), cy = 60;
    SetRot(-0.66f * cogAngle);
    DrawImg(kBankButtons, cx, cy, kFrameCogOuter);
    SetRot(0.33f * cogAngle);
    DrawImg(kBankButtons, cx, cy, kFrameCogMiddle);
    SetRot(cogAngle);
    bool cogTouched = Button(kBankButtons, cx, cy, kFrameCogInner) != 0;
    if ((cogTouched || AnyUnitHolds(kBackControl, 1)) && optTouchLatch == 0 && optKeyLatch == 0) {
        optionsOpen = 0;
        PlaySFX(kMoveSound, 1, 1, 0);
        Save();
        keyLatch = pointerLatch = 1;
    }

    ResetDraw();
    SetSize(2);
    Text(cx + 76, cy, u"<[BACK]", 0, 1, 0);

    float firstY = static_cast<float>((kFadeIn - optionsFade) * 24 + 130);
    for (int line = 1; line <= kLines; ++line) OptionLine(line, firstY + 40 * static_cast<float>(line - 1));

    if (optKeyLatch == 0) {
        if (AnyUnitHolds(kCloseButtons, std::size(kCloseButtons)) && optCursor == 0) {
            optKeyLatch = 1;
            optionsOpen = 0;
            PlaySFX(kMoveSound, 1, 1, 0);
            Save();
        } else if (AnyUnitHolds(kCursorBack, std::size(kCursorBack)) && optCursor > 0) {
            optCursor -= 1;
            optKeyLatch = 1;
            PlaySFX(kMoveSound, 1, 1, 0);
        } else if (AnyUnitHolds(kCursorOn, std::size(kCursorOn)) && optCursor < kLines) {
            optCursor += 1;
            optKeyLatch = 1;
            PlaySFX(kMoveSound, 1, 1, 0);
        }
    }

    if (pointerDown == 0) optTouchLatch = 0;
    if (!AnyUnitHolds(kHeldControls, std::size(kHeldControls))) optKeyLatch = 0;
    ResetDraw();
    return 0;
}

// One line: its bar (a tap there moves the cursor to it), its label, and its
// change when tapped or when a button is pressed with the cursor on it.
void MyApp::OptionLine(int line, float y) {
    if (line == kSoundLine) settings[Setting::audioMode] = 1;  // effects and music both on while the options show

    ResetDraw();
    if (optCursor == line) {
        SetCol(0, 180, 255, 0.5f);
    } else {
        SetCol(0, 0, 160, 0.5f);
    }
    bool touched = Touch(84, y - 2, jscrw - 168, 24) != 0;
    if (touched) optCursor = line;
    bool activated = touched || (optCursor == line && AnyUnitHolds(kLineButtons, std::size(kLineButtons)));

    std::u16string_view label;
    switch (line) {
    case kSoundLine: label = VolumeLabel(settings[Setting::sfxVolume], kSoundLabels); break;
    case kMusicLine: label = VolumeLabel(settings[Setting::musicVolume], kMusicLabels); break;
    case kWindowLine: label = isFullscreen == 1 ? u"Windowed" : u"Fullscreen"; break;
    case kLeftStickLine:
        label = StickLabel(settings[Setting::leftStickYNormal], u"Left Thumbstick Y Normal",
                           u"Left Thumbstick Y Flipped");
        break;
    case kRightStickLine:
        label = StickLabel(settings[Setting::rightStickYNormal], u"Right Thumbstick Y Normal",
                           u"Right Thumbstick Y Flipped");
        break;
    default: break;
    }
    ResetDraw();
    SetSize(2);
    if (!label.empty()) Text(100, y, label, 0, 0, 0);

    if (!activated || optKeyLatch != 0 || optTouchLatch != 0) return;
    optKeyLatch = optTouchLatch = 1;
    PlaySFX(kMoveSound, 1, 1, 0);
    ApplyOption(line);
}

void MyApp::ApplyOption(int line) {
    switch (line) {
    case kSoundLine: settings[Setting::sfxVolume] = (settings[Setting::sfxVolume] + 1) & 3; break;
    case kMusicLine:
        settings[Setting::musicVolume] = (settings[Setting::musicVolume] + 1) & 3;
        audio::SetMusicVolume(kMusicGains[settings[Setting::musicVolume]]);
        break;
    case kWindowLine: FullscreenFlip(); break;
    case kLeftStickLine: NextStickSetting(settings[Setting::leftStickYNormal]); break;
    case kRightStickLine: NextStickSetting(settings[Setting::rightStickYNormal]); break;
    default: break;
    }
}
