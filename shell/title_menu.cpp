// The title menu: a difficulty wheel with the options cog at its hub, a side
// panel with the score lists and a Play button, and a credits page into which
// the panel widens.
//
//   game->mode = 1;   // the dispatch then calls game->Menu() once per tick
//
// Three areas take the focus (menuFocus 0 cog, 1 wheel, 2 panel) by Left and
// Right, by a press on them or by dragging the wheel; a button (or a press on
// the focused area) activates it: the cog opens the options overlay, the
// wheel starts a game at the selected difficulty (mode 11), the panel opens
// the credits. Back ends the program. Every action sets the input latches so
// that one press acts once.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "host/app.h"
#include "host/qv.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

constexpr int kItems = 3;                // Easy, Normal, Hard
constexpr float kItemSpacing = 32.0f;    // degrees between wheel items
constexpr float kPanelWidth = 140.0f;    // the side panel before it widens
constexpr int kScoreColumns = 11;        // room for any int, sign included
constexpr int kMostScoreLines = 10;
constexpr int kFirstRepeatDelay = 30;    // ticks before a held Up or Down repeats
constexpr int kShortestRepeatDelay = 3;
constexpr int kRepeatSpeedUp = 12;
constexpr int kCreditLinesShown = 56;    // lines 0..55; the closing "End" never scrolls in
constexpr float kCreditLineStep = 16.0f;

constexpr int kMoveSound = 99, kConfirmSound = 98;
constexpr int kBankDisc = 85, kBankMakerLogo = 93, kBankButtons = 95, kBankIcons = 97, kBankTitle = 98;
constexpr int kFramePlate = 1, kFrameDisc = 3, kFrameCogOuter = 8, kFrameCogMiddle = 9, kFrameCogInner = 10;
constexpr int kFramePlay = 3, kFrameToolIcon = 12;

constexpr int kBackControl[] = {99};
constexpr int kUpOrDown[] = {8, 0};
constexpr int kCloseCreditsControls[] = {10, 11, 12, 13};
constexpr int kActivateButtons[] = {10, 11, 12};
constexpr int kKeyboardButtons[] = {10, 11, 12, 13, 14, 15};

constexpr std::u16string_view kIdeaCredit = u"Idea: Zentrove team";
constexpr std::u16string_view kToolSite = u"C++20 and GCC - gcc.gnu.org";

// The ring of the credits page: one colour (fractions of 255) per circle.
struct RingColour {
    float r, g, b;
};
constexpr RingColour kRingColours[] = {
    {0.3f, 0.3f, 0.3f}, {1, 0.1f, 0.1f}, {1, 0.5f, 0.1f}, {1, 1, 0.1f},       {0.1f, 1, 0.1f},    {0.1f, 1, 1},
    {0.1f, 0.1f, 1},    {0.5f, 0.1f, 1}, {1, 0.1f, 0.5f}, {1, 1, 1},          {0.3f, 0.3f, 0.3f},
};

template <size_t N>
bool PlayerHolds(MyApp& game, const int (&ids)[N], int unit) {
    return std::any_of(std::begin(ids), std::end(ids), [&](int id) { return game.PlayKey(id, 1, unit) != 0; });
}

// value right-aligned in width columns, padded with spaces (rstr with " ", without allocating).
template <size_t Capacity>
void AddRightAligned(TextBuffer<Capacity>& text, int value, int width) {
    char16_t digits[32];
    int length = static_cast<int>(FormatNumber(value, digits));
    for (int i = length; i < width; ++i) text.Add(u" ");
    int skip = std::max(0, length - width);
    text.Add(std::u16string_view(digits + skip, static_cast<size_t>(length - skip)));
}

float SquaredDistance(float x1, float y1, float x2, float y2) {
    return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
}

}  // namespace

int MyApp::Menu() {
    if (menuSel > 2) menuSel = 2;
    DoBG(20, 80, 160, -123);
    if (menuSlide < 0) menuSlide += 1;  // slides in one step per tick
    panelWidth = panelGrow + kPanelWidth;

    if (pointerLatch == 0) {
        if (keyLatch == 0 && AnyUnitHolds(kBackControl, 1)) qvError(u"");  // Back ends the program
        wheelTouched = 0;
    }

    ResetDraw();
    SetSize(1.5f);
    DrawImg(kBankTitle, (jscrw - panelWidth) * 0.5f, static_cast<float>(menuSlide * 12 + 96), 0);

    bool activated = MenuSidePanel();
    MenuScoreLists();
    MenuWheelMotion();

    float cx = static_cast<float>(menuSlide * 12 + 38);
    float cy = static_cast<float>(TruncToInt(jscrh - 64 - menuSlide * 8));
    if (optionsOpen == 0 && creditsOpen == 0) {
        MenuHub(cx, cy);
        MenuDrag(cx, cy);
        activated = MenuItems(cx, cy) || activated;
        activated = MenuKeys() || activated;
        if (activated && optionsOpen == 0 && creditsOpen == 0) MenuActivate();
    }

    ResetDraw();
    SetSize(menuFocus == 2 ? 0.35f : 0.25f);
    DrawImg(kBankMakerLogo, jscrw - panelWidth * 0.5f, 32, 0);

    if (creditsOpen == 1) MenuCredits();
    return 0;
}

// The divider, the panel, its focus and the Play button. The first press on
// the panel only focuses it; a second, separate press opens the credits.
bool MyApp::MenuSidePanel() {
    bool activated = false;
    bool noOverlay = optionsOpen == 0 && creditsOpen == 0;
    float px = jscrw - panelWidth - static_cast<float>(menuSlide * 8);
    ResetDraw();
    Alpha(menuFocus == 2 ? 1.0f : 0.2f);
    Rect(px - 2, -128, 3, jscrh + 128);
    SetCol(0, 0, 0, menuFocus == 2 ? 0.75f : 0.45f);
    Rect(px, -128, panelWidth + 32, jscrh + 128);
    if (MouseIn(px, -128, panelWidth + 32, jscrh) && menuFocus != 2 && keyLatch == 0 && pointerLatch == 0) {
        PlaySFX(kMoveSound, 1, 1, 0);
        menuFocus = 2;
        keyLatch = pointerLatch = 1;
    }

    float playX = jscrw - panelWidth * 0.5f, playY = jscrh - 48;
    SetCol(100, 255, 100, menuFocus == 1 ? 0.5f : 0.0f);
    SetSize(3);
    DrawImg(kBankIcons, playX, playY, kFramePlay);
    if (MouseIn_Centered(playX, playY, 128, 128) && pointerLatch == 0 && keyLatch == 0 && noOverlay) {
        menuFocus = 1;
        pointerLatch = 1;
        PlaySFX(kConfirmSound, 1, 1, 0);
        activated = true;
    }

    if (MouseIn(px, -128, panelWidth + 32, jscrh) && menuFocus == 2 && keyLatch == 0 && pointerLatch == 0 &&
        noOverlay) {
        PlaySFX(kMoveSound, 1, 1, 0);
        activated = true;
        keyLatch = pointerLatch = 1;
    }
    return activated;
}

// The top ten and last ten of the selected difficulty, as many lines of each
// as fit in half the screen.
void MyApp::MenuScoreLists() {
    if (difficulty < 1 || difficulty > 3 || optionsOpen != 0) return;
    int base = (difficulty - 1) * 10;
    int line = TruncToInt(1.5 * imageSizes[3 * currentFont + 1]);
    int room = TruncToInt(jscrh - 90 - jscrh * 0.5f);
    // Without a font there is no line height: show the longest lists.
    int lines = line > 0 ? std::clamp(room / line, 1, kMostScoreLines) : kMostScoreLines;
    float x = jscrw - panelWidth - static_cast<float>(menuSlide * 4) + 20;

    auto drawList = [&](std::u16string_view heading, std::u16string_view single, int first, float y) {
        TextBuffer<16 + kMostScoreLines * (2 + kScoreColumns)> text;
        if (lines == 1) {
            text.Add(single);
        } else {
            text.Add(heading).Add(lines);
        }
        for (int i = 0; i < lines; ++i) AddRightAligned(text.Add(u"\\n"), highscores[first + i], kScoreColumns);
        Text(x, y, text.View(), 0, 0, 0);
    };
    ResetDraw();
    SetSize(1.5f);
    SetCol(255, 200, 100);
    drawList(u"Top ", u"Highscore", base, 60);
    SetCol(200, 255, 100);
    drawList(u"Last ", u"Last", base + 30, jscrh * 0.5f + 20);
}

// The spin carries the target; the shown angle eases an eighth of the way to it.
void MyApp::MenuWheelMotion() {
    if (wheelSpin != 0) {
        wheelTarget += wheelSpin;
        wheelSpin *= 0.75f;
        if (std::fabs(wheelSpin) < 1) wheelSpin = 0;
    }
    if (wheelAngle != wheelTarget) {
        wheelAngle -= (wheelAngle - wheelTarget) * 0.125f;
        if (std::fabs(wheelAngle - wheelTarget) <= 0.5f) wheelAngle = wheelTarget;
    }
}

// The cog plate, the turning cog (which opens the options overlay when
// pressed) and the wheel's disc.
void MyApp::MenuHub(float cx, float cy) {
    ResetDraw();
    SetSize(0.5f);
    Alpha(menuFocus == 0 ? 0.8f : 0.25f);
    DrawImg(kBankDisc, cx, cy, kFramePlate);

    if (menuFocus == 0) cogAngle = std::fmod(cogAngle + 0.3f, 360.0f);
    ResetDraw();
    SetSize(1.5f);
    SetRot(cogAngle);
    DrawImg(kBankButtons, cx, cy, kFrameCogOuter);
    SetRot(-2 * cogAngle);
    DrawImg(kBankButtons, cx, cy, kFrameCogMiddle);
    SetRot(4 * cogAngle);
    DrawImg(kBankButtons, cx, cy, kFrameCogInner);
    if (MouseIn_Centered(cx, cy, 64, 64) && keyLatch == 0 && pointerLatch == 0) {
        optionsOpen = 1;
        pointerLatch = 1;
        PlaySFX(kMoveSound, 1, 1, 0);
        menuFocus = 0;
    }

    ResetDraw();
    Alpha(menuFocus == 1 ? 0.8f : 0.25f);
    SetRot(wheelAngle);
    SetSize(1.5625f);
    DrawImg(kBankDisc, cx, cy, kFrameDisc);
}

// A drag around the hub spins the wheel; a drag of more than a pixel a tick
// marks both latches -1 so that it is not also taken as a press.
void MyApp::MenuDrag(float cx, float cy) {
    if (pointerDown == 0) touchAnchorX = -1;
    if (!MouseIn_Centered(cx, cy, 500, 500) || MouseIn_Centered(cx, cy, 64, 64) || pointerLatch >= 1) return;
    if (touchAnchorX == -1) {
        touchAnchorX = mouseX;
        touchAnchorY = mouseY;
    }
    if (touchAnchorX < 0) return;  // a pointer left of the screen
    float d = static_cast<float>((touchAnchorX - mouseX) + (touchAnchorY - mouseY)) * 0.25f;
    wheelSpin = std::clamp(wheelSpin - d, -40.0f, 40.0f);
    if (std::fabs(d) > 1) keyLatch = pointerLatch = -1;
    menuFocus = 1;
    touchAnchorX = mouseX;
    touchAnchorY = mouseY;
}

// The wheel's items: placed on the dial, bounced back when spun past the
// ends, selected as they pass the pointer's window, picked by touch.
bool MyApp::MenuItems(float cx, float cy) {
    bool activated = false;
    int selectedAtStart = menuSel;
    int pairs = static_cast<int>(MenuSet.size() / 2);
    for (int i = 0; i < kItems; ++i) {
        float a = static_cast<float>(i) * kItemSpacing + 48 + wheelAngle;
        float off = std::fabs(a - 45);
        float bulge = off <= 45 ? (45 - off) * 1.5f : 0;
        float r = bulge + 116;
        float x = cx + r * SinDeg(a), y = cy - r * CosDeg(a);

        if (std::fabs(wheelSpin) > 0.05f) {
            if (i == 2 && (a < 30 || a > 200)) wheelSpin = 4;
            if (i == 0 && a > 60 && a < 200) wheelSpin = -4;
            if (a > 30 && a < 60 && i != selectedAtStart && (wheelTouched == 0 || std::abs(i - menuSel) > 1)) {
                menuSel = i;
                PlaySFX(kMoveSound, 1, 1, 0);
            }
        }

        float scale = i == menuSel ? 1.75f : 0.75f;
        ResetDraw();
        SetSize(scale);
        Alpha(menuFocus == 1 ? 1.0f : 0.3f);
        SetRot((a - 55) * 0.5f);
        DrawImg(kBankButtons, x, y, static_cast<float>(i % 6));
        SetSize(scale * 1.5f);
        if (pairs > 0) {
            int pair = i % pairs;
            Text(x, y, MenuSet[2 * pair], 1, 1, 0);
            if (i == menuSel) menuDescIndex = 2 * pair + 1;
        }

        bool wheelAtRest = std::fabs(wheelAngle - wheelTarget) <= 2;
        bool canTouch = pointerDown == 1 && wheelTouched == 0 && wheelAtRest && optionsOpen == 0 && creditsOpen == 0;
        if (!canTouch) continue;
        float nearest = 1e30f;
        for (int t = 0; t < kTouchPoints; ++t) {
            if (touchDown[t]) nearest = std::min(nearest, SquaredDistance(touchX[t], touchY[t], x, y));
        }
        if (i == menuSel && nearest <= 2048 && pointerLatch == 0) {
            menuFocus = 1;
            wheelTarget = -kItemSpacing * i;
            pointerLatch = 1;
            PlaySFX(kConfirmSound, 1, 1, 0);
            activated = true;
        } else if (i != menuSel && nearest <= 1352 && pointerLatch < 1) {
            menuSel = i;
            menuFocus = 1;
            pointerLatch = -1;
            wheelTouched = 1;
            wheelTarget = -kItemSpacing * i;
            PlaySFX(kMoveSound, 1, 1, 0);
        }
    }
    return activated;
}

// Keys of player 0. Up and Down repeat while held: first after 30 ticks, then
// 18, 6 and from then on 3 (each plus the tick on which the timer runs out).
bool MyApp::MenuKeys() {
    bool activated = false;
    bool noOverlay = optionsOpen == 0 && creditsOpen == 0;
    float& holdOff = player[PlayerEl::menuHoldOff];
    float& repeatDelay = player[PlayerEl::menuRepeatDelay];
    if (!PlayerHolds(*this, kUpOrDown, 0)) {
        holdOff = 0;
        repeatDelay = kFirstRepeatDelay;
    } else {
        holdOff -= 1;
        if (holdOff < 0) keyLatch = 0;
    }

    auto step = [&](int direction) {
        holdOff = repeatDelay;
        repeatDelay = std::max<float>(kShortestRepeatDelay, repeatDelay - kRepeatSpeedUp);
        keyLatch = pointerLatch = 1;
        menuSel += direction;
        PlaySFX(kMoveSound, 1, 1, 0);
        wheelTarget = -kItemSpacing * menuSel;
    };
    bool latchesClear = keyLatch == 0 && pointerLatch == 0;
    if (menuFocus == 1) {
        if (jscrw > 600 && menuDescIndex >= 0 && menuDescIndex < static_cast<int>(MenuSet.size())) {
            TextBuffer<160> text;
            text.Add(MenuSet[menuDescIndex]).Add(u"\\n\\n  ").Add(kIdeaCredit);
            ResetDraw();
            SetSize(1.5f);
            Text(240, jscrh - 64 - static_cast<float>(menuSlide * 3), text.View(), 0, 0, 0);
        }
        if (PlayKey(0, 1, 0) && latchesClear && menuSel > 0 && holdOff < 1 && noOverlay) {
            step(-1);
        } else if (PlayKey(8, 1, 0) && latchesClear && menuSel <= 1 && noOverlay) {
            step(+1);
        }
    }

    auto moveFocus = [&](int direction) {
        menuFocus += direction;
        keyLatch = pointerLatch = 1;
        PlaySFX(kMoveSound, 1, 1, 0);
    };
    if (PlayKey(3, 1, 0) && menuFocus > 0 && keyLatch == 0 && pointerLatch == 0 && noOverlay) moveFocus(-1);
    if (PlayKey(5, 1, 0) && menuFocus < 2 && keyLatch == 0 && pointerLatch == 0 && noOverlay) moveFocus(+1);

    if (PlayerHolds(*this, kActivateButtons, 0) && keyLatch == 0 && noOverlay) {
        PlaySFX(kConfirmSound, 1, 1, 0);
        activated = true;
        keyLatch = 1;
    }
    difficulty = std::clamp(menuSel + 1, 1, 3);
    return activated;
}

// Acts on the focused area: the cog opens the options, the wheel starts a
// game, the panel opens the credits.
void MyApp::MenuActivate() {
    switch (menuFocus) {
    case 0:
        optionsOpen = 1;
        pointerLatch = 1;
        PlaySFX(kMoveSound, 1, 1, 0);
        menuFocus = 0;
        keyLatch = 1;
        break;
    case 1:
        // Which input started the game picks the button icons shown in it.
        if (pointerDown == 1) {
            controlMode = 2;
        } else {
            bool keyboard = std::any_of(std::begin(kKeyboardButtons), std::end(kKeyboardButtons),
                                        [&](int id) { return PlayKey(id, 0, -1) != 0; });
            controlMode = keyboard ? 0 : 1;
        }
        pointerLatch = 1;
        wheelTarget = -kItemSpacing * menuSel;
        keyLatch = 1;
        mode = 11;
        break;
    case 2:
        creditsOpen = 1;
        keyLatch = pointerLatch = 1;
        PlaySFX(kMoveSound, 1, 1, 0);
        break;
    default:
        break;
    }
}

// The credits page over the widened panel: the scroller, the debug stats,
// the colour ring, closing by a button or a press, and the tool credit.
void MyApp::MenuCredits() {
    float dx = jscrw - panelWidth;  // 0 once the panel covers the screen
    creditsScroll -= 0.3f;
    if (AnyUnitHolds(kUpOrDown, std::size(kUpOrDown))) creditsScroll -= 1.5f;
    if (creditsScroll < -kCreditLineStep) {
        creditsScroll += kCreditLineStep;
        creditsLine += 1;
    }

    int lineCount = std::min(kCreditLinesShown, static_cast<int>(CreditText.size()));
    for (int k = -3; k <= 4 && lineCount > 0; ++k) {
        int index = ((k + creditsLine) % lineCount + lineCount) % lineCount;
        float u = std::fabs((kCreditLineStep * k + creditsScroll) / 40) - 0.3f;
        float alpha = u < 0 ? 1 : (u <= 1 ? 1 - u : 0);
        float pull = u < 0 ? 0 : (u <= 1 ? 24 * u : 24);
        ResetDraw();
        Alpha(alpha);
        Text(jscrw - 160 + dx, kCreditLineStep * k + jscrh * 0.5f + 24 - pull + creditsScroll, CreditText[index],
             0.8f, 0.8f, 0);
    }

    ResetDraw();
    float statsX = jscrw - 20 + dx;
    TextBuffer<32> numbers;
    Text(statsX, 16, u"Debug Stats", 2, 1, 0);
    Text(statsX, 32, u"Engine", 2, 1, 0);
    numbers.Add(TruncToInt(jscrw)).Add(u"x").Add(TruncToInt(jscrh));
    Text(statsX, 44, numbers.View(), 2, 1, 0);
    Text(statsX, 60, u"Screen", 2, 1, 0);
    numbers.Clear();
    numbers.Add(app::DeviceWidth()).Add(u"x").Add(app::DeviceHeight());
    Text(statsX, 72, numbers.View(), 2, 1, 0);
    Text(statsX, 88, u"FPS", 2, 1, 0);
    numbers.Clear();
    numbers.Add(tickRateAvg).Add(u" : ").Add(renderRateAvg);
    Text(statsX, 100, numbers.View(), 2, 1, 0);

    for (int i = 0; i < static_cast<int>(std::size(kRingColours)); ++i) {
        const RingColour& colour = kRingColours[i];
        float e = (static_cast<float>(6 * i) - creditsScroll / 16 + static_cast<float>(creditsLine)) * 4;
        SetCol(colour.r * 255, colour.g * 255, colour.b * 255, 0.3f);
        Oval(jscrw - 150 + dx + 100 * SinDeg(e), jscrh * 0.5f - 100 * CosDeg(e), 32, 32);
    }

    bool closePressed = pointerDown == 1 || AnyUnitHolds(kCloseCreditsControls, std::size(kCloseCreditsControls));
    if (closePressed && keyLatch == 0 && pointerLatch == 0) {
        creditsOpen = 0;
        PlaySFX(kMoveSound, 1, 1, 0);
        keyLatch = pointerLatch = 1;
    }

    ResetDraw();
    float toolX = jscrw * 0.3f + dx, toolY = jscrh - 64;
    DrawImg(kBankButtons, toolX, toolY, kFrameToolIcon);
    Text(toolX + 32, toolY + 16, u"Coded in", 0, 0, 0);
    Text(toolX, toolY + 28, kToolSite, 0, 0, 0);
}
