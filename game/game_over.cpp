// The game-over banner: the screen darkens, "GAME" comes down from the top and
// "OVER" rises from the bottom ("Quit" "Game" after a quit), each onto a
// coloured bar, with the place in the top ten under them when the score makes
// it. After 90 ticks the game hands over to the title menu (which enters and
// saves the score) and the banner slides back out.
//
//   if (mode == 1 || mode == 2 || (mode == 10 && gameEnded > 0)) game->GameOver();
//
// gameOverTime 0 means no banner; it climbs 1..89 in the game, jumps to 73 at
// the hand-over and falls by 2 a tick under the title menu.
#include <algorithm>

#include "game/overlay.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

constexpr int kHandOverTick = 90;
constexpr int kBannerOutStart = 73;
constexpr float kVeilAlpha = 0.7f;
constexpr float kVeilTicks = 40;
constexpr int kSlidePerTick = 12;
constexpr float kHoldOffTicks = 240;

// The words travel 12 pixels a tick until they sit on their bars.
int BannerHeight(int t) {
    // In double: 0.45 * 480 must come out as 216, not 215.99.
    int stop = TruncToInt(0.45 * static_cast<double>(jscrh));
    return std::min(kSlidePerTick * t, stop);
}

void DrawBars(MyApp& game, float h) {
    game.SetSize(1);
    game.SetRot(0);
    game.SetCol(255, 255, 0);
    game.Alpha(0.5f);
    game.Rect(-1, 0.45f * jscrh - 8, 2 * h, 16);
    game.SetCol(255, 128, 0);
    game.Rect(jscrw - 2 * h, 0.55f * jscrh - 8, 2 * h + 1, 16);
}

void DrawWords(MyApp& game, float h) {
    bool quit = game.quitGame == -1;
    game.SetSize(4);
    game.SetCol(255, 180, 180);
    game.Alpha(1);
    game.Text(0.35f * jscrw, h, quit ? u"Quit" : u"GAME", 1, 1, 0);
    game.Text(0.65f * jscrw, jscrh - h, quit ? u"Game" : u"OVER", 1, 1, 0);
}

// "New Highscore" with the place on a second line (the backslash-n is the
// text renderer's line break).
void DrawNewHighscore(MyApp& game, float h) {
    std::u16string_view place = PlaceText(game.loopIndex);
    game.SetSize(1);
    game.SetCol(0, 125, 255);
    game.Alpha(0.5f);
    game.Rect(0.35f * jscrw, jscrh - h / 1.5f - 16, 0.3f * jscrw, 32);
    game.SetSize(2);
    game.SetCol(100, 255, 100);
    game.Alpha(1);
    TextBuffer<48> text;
    text.Add(u"New Highscore\\n           ").Add(place);
    game.Text(0.5f * jscrw, jscrh - h / 1.5f, text.View(), 0.5f, 2, 0);
}

void DrawBanner(MyApp& game, int t) {
    // No press reaches the game, the pause menu or the title menu meanwhile.
    game.player[PlayerEl::menuHoldOff] = kHoldOffTicks;
    game.keyLatch = 1;
    game.pointerLatch = 1;

    game.SetCol(0, 0, 0);
    game.Alpha(std::min(static_cast<float>(t) / kVeilTicks, kVeilAlpha));
    float margin = overscan + 1;
    game.Rect(-margin, -margin, jscrw + 2 * margin, jscrh + 2 * margin);

    float h = static_cast<float>(BannerHeight(t));
    DrawBars(game, h);
    DrawWords(game, h);
    // MyNth's place, left in loopIndex as MyNth leaves it.
    game.loopIndex = PlaceOf(game.score, TopTenOf(game));
    if (game.loopIndex >= 1) DrawNewHighscore(game, h);
}

}  // namespace

int MyApp::GameOver() {
    if (gameOverTime >= 1) DrawBanner(*this, gameOverTime);
    if (mode == 10) {
        gameOverTime += 1;
        if (gameOverTime >= kHandOverTick) {
            mode = 2;
            StopTune();
            gameOverTime = kBannerOutStart;
        }
    } else if (mode < 10) {
        gameOverTime = std::max(gameOverTime - 2, 0);
    }
    return 0;
}
