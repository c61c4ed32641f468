// The fixture of the title menu's and the options overlay's tests: a title
// menu that has finished loading and sliding in, key taps, mouse presses and
// a reader of the text drawn into the display list.
//
//   TEST_F(MenuTest, Something) { Tap(kLeft); MouseDown(38, 416); DrawnText(500, 640); }
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "shell/globals.h"
#include "shell/numeric.h"
#include "tests/shell/shell_test.h"

// A title menu that has finished loading and sliding in.
class MenuTest : public ShellTest {
protected:
    static constexpr int kUp = 38, kDown = 40, kLeft = 37, kRight = 39, kZ = 90, kEscape = 27;
    static constexpr int kMouseDown = 4, kMouseUp = 5, kMouseMove = 6;

    void SetUp() override {
        FinishLoading();
        // What the loader records for a 640 x 480 window: the font's advance
        // and line height, and the button bank's cells (the cog's hit box).
        UseGameFont();
        game->imageSizes[3 * 95] = game->imageSizes[3 * 95 + 1] = 64;
        game->imageSizes[3 * 95 + 2] = 16;
        game->hdScale = 1;
        Ticks(40);
        ASSERT_EQ(game->mode, 1);
        ASSERT_EQ(game->menuSlide, 0);
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) host.Tick();
    }
    void Tap(int key) {
        host.PressKey(key);
        host.Tick();
        host.ReleaseKey(key);
        host.Tick();
    }
    void MouseDown(float x, float y) {
        host.MouseEvent(kMouseDown, 0, x, y);
        host.Tick();
    }
    void MouseUp() {
        host.MouseEvent(kMouseUp, 0, 0, 0);
        host.Tick();
    }
    // Where item i of the wheel stands now.
    void ItemPosition(int i, float& x, float& y) const {
        float cx = static_cast<float>(game->menuSlide * 12 + 38);
        float cy = static_cast<float>(TruncToInt(jscrh - 64 - game->menuSlide * 8));
        float a = i * 32.0f + 48 + game->wheelAngle;
        float off = std::fabs(a - 45);
        float r = (off <= 45 ? (45 - off) * 1.5f : 0) + 116;
        x = cx + r * SinDeg(a);
        y = cy - r * CosDeg(a);
    }
    // The glyphs drawn this tick with x from x0 to x1 and y from y0 to y1,
    // row by row from the top (a newline after each row; spaces are not drawn).
    std::string DrawnText(float x0, float x1, float y0 = -1000, float y1 = 1000) const {
        std::map<float, std::map<float, char>> rows;
        for (int k = 0; k < Commands(); ++k) {
            const float* c = Command(k);
            if (c[0] != game->currentFont || c[1] < x0 || c[1] >= x1 || c[2] < y0 || c[2] >= y1) continue;
            rows[c[2]][c[1]] = static_cast<char>(c[6] + 32);
        }
        std::string text;
        for (const auto& [y, row] : rows) {
            for (const auto& [x, glyph] : row) text += glyph;
            text += '\n';
        }
        return text;
    }
};
