// The in-game overlay: the score display (score, the place it heads for, the
// spare lives), the pause icon and the pause request, and the rankings.
//
//   game->ScoreDisplay();        // last step of every game tick
//   game->InGame();              // after it, every tick of mode 10, paused or not
//   MyApp::Nth(3);               // "3rd" (1..30; anything else "")
//   String place = game->MyNth();  // "1st!", "2nd" .. "10th" or ""; the place 0..10 in loopIndex
//
// Text is built in fixed buffers, so a tick allocates nothing.
#include "game/overlay.h"

#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

constexpr int kIconBank = 97;
constexpr int kFramePauseIcon = 0, kFrameLife = 11;
constexpr int kSfxPause = 98;
constexpr int kBackControl = 99;
constexpr int kPlayers = 4;
constexpr int kTopTen = 10;
constexpr int kScoreDigits = 8;

constexpr std::u16string_view kOrdinals[] = {
    u"1st",  u"2nd",  u"3rd",  u"4th",  u"5th",  u"6th",  u"7th",  u"8th",  u"9th",  u"10th",
    u"11th", u"12th", u"13th", u"14th", u"15th", u"16th", u"17th", u"18th", u"19th", u"20th",
    u"21st", u"22nd", u"23rd", u"24th", u"25th", u"26th", u"27th", u"28th", u"29th", u"30th",
};

// An entry counts as passed when the score beats it, or when it is empty.
bool Passed(int score, int entry) { return score > entry || entry == 0; }

bool BackHeld(MyApp& game) {
    for (int p = 0; p < kPlayers; ++p) {
        if (game.PlayKey(kBackControl, 1, p)) return true;
    }
    return false;
}

void OpenPauseMenu(MyApp& game) {
    game.paused = 1;
    game.pauseMotion = 1;
    game.pauseChoice = 0;
    game.PlaySFX(kSfxPause, 1, 0.5f, 0);
}

// The number padded with zeros to width digits, like rstr(value, width, "0")
// but without building a string; a longer number keeps its last digits.
void AddPadded(TextBuffer<32>& text, int value, int width) {
    char16_t digits[32];
    size_t length = FormatNumber(value, digits);
    size_t wanted = static_cast<size_t>(width);
    if (length >= wanted) {
        text.Add(std::u16string_view(digits + (length - wanted), wanted));
        return;
    }
    for (size_t i = length; i < wanted; ++i) text.Add(u"0");
    text.Add(std::u16string_view(digits, length));
}

}  // namespace

std::u16string_view NthView(int n) {
    if (n < 1 || n > 30) return {};
    return kOrdinals[n - 1];
}

const int* TopTenOf(const MyApp& game) {
    // Only the three difficulties have tables; any other value reads Easy's
    // rather than running off the front of the store.
    int difficulty = game.difficulty >= 1 && game.difficulty <= 3 ? game.difficulty : 1;
    return game.highscores + (difficulty - 1) * kTopTen;
}

int PlaceOf(int score, const int* topTen) {
    for (int k = 0; k < kTopTen; ++k) {
        if (score >= topTen[k]) return k + 1;
    }
    return 0;
}

std::u16string_view PlaceText(int place) { return place == 1 ? std::u16string_view(u"1st!") : NthView(place); }


String MyApp::Nth(int n) { return String(NthView(n)); }

String MyApp::MyNth() {
    loopIndex = PlaceOf(score, TopTenOf(*this));
    return String(PlaceText(loopIndex));
}

int MyApp::ScoreDisplay() {
    // The shown score rolls a sixth of the way a tick and snaps once close.
    shownScore -= (shownScore - score) / 6;
    if (shownScore - score < 6 && score - shownScore < 6) shownScore = score;
    if (hideHud == 1) return 0;

    SetRot(0);
    SetCol(100, 255, 100);
    Alpha(0.8f);
    SetSize(2);
    TextBuffer<32> line;
    AddPadded(line, shownScore, kScoreDigits);
    Text(jscrw - 64, 28, line.View(), 1, 1, 0);

    // The place the score heads for: walk up from the tenth entry to the
    // first one not yet passed. The best entry itself is never tested.
    SetSize(1);
    SetCol(255, 255, 100);
    Alpha(0.8f);
    const int* topTen = TopTenOf(*this);
    int place = 11, target = topTen[kTopTen - 1];
    if (Passed(score, topTen[kTopTen - 1])) {
        int k = kTopTen - 1;
        while (k > 1 && Passed(score, topTen[k - 1])) --k;
        place = k;
        target = topTen[k - 1];
    }
    line.Clear();
    line.Add(NthView(place)).Add(u" ");
    AddPadded(line, target, kScoreDigits);
    Text(jscrw - 64, 10, line.View(), 1, 1, 0);

    // The spare lives; the life in use is not shown.
    SetCol(255, 255, 255);
    Alpha(0.8f);
    SetSize(0.75f);
    int livesLeft = static_cast<int>(player[PlayerEl::lives]);
    for (int i = 1; i <= livesLeft; ++i) {
        DrawImg(kIconBank, static_cast<float>(TruncToInt(jscrw - 80) + 16 * (i - 1)), 48, kFrameLife);
    }
    ResetDraw();
    return 0;
}

int MyApp::InGame() {
    ResetDraw();
    menuSlide = -32;
    if (BackHeld(*this) && paused == 0 && keyLatch == 0) {
        keyLatch = 1;
        OpenPauseMenu(*this);
    }
    if (hideHud == 1) {
        if (paused == 1) PauseMenu();
        return 0;
    }

    if (controlMode != 2) Alpha(0.2f);
    // The icon answers one press once, like every other button: a press that
    // something else has already taken (the game-over banner latches every
    // press while it shows) does not pause.
    if (Button(kIconBank, 16, 16, kFramePauseIcon) && paused == 0 && pointerLatch == 0) {
        OpenPauseMenu(*this);
        pointerLatch = 1;
    }
    Alpha(1);
    if (paused == 1) PauseMenu();
    return 0;
}
