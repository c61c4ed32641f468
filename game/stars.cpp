// The drifting stars behind the arena.
//
//   game->DoStars(0, 0.25f);   // once a tick, right after DoBG: move, wrap, draw
//
// Stars 0..lastStar (filled by ResetStars) drift by (dx, dy) scaled by their
// speed, turn slowly, and wrap around a margin of 16 pixels plus the overscan;
// a star that wraps comes back at a new random place along the edge it enters
// from, with a new speed (which is also its alpha) and a new picture. The
// generator is reseeded from the clock first, so every random value of the
// rest of the tick follows from the millisecond clock.
#include <algorithm>
#include <cmath>

#include "host/app.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/random.h"

namespace {

constexpr int kPartsBank = 96;  // "parts": 8 x 8 frames
constexpr int kLastPoolRecord = MyApp::kPoolFloats / MyApp::kRecordFloats - 1;

// Brings a coordinate that left the margin around 0..extent back in at the
// other side; says whether it did.
bool Wrap(float& coordinate, float margin, float extent, float span) {
    if (coordinate < -margin) {
        coordinate += extent + span;
        return true;
    }
    if (coordinate > extent + margin) {
        coordinate -= extent + span;
        return true;
    }
    return false;
}

// A star that wrapped gets a new place along the edge it came in at (element
// placeEl, across a screen extent of extent), a new speed and a new picture,
// drawn in that order.
void Renew(float* star, int placeEl, float extent) {
    star[placeEl] = random::Rnd3(extent + 16) - 8;
    star[StarEl::speed] = random::Rnd2(0.2f, 0.8f);
    star[StarEl::frame] = std::floor(random::Rnd3(255.99f));
}

}  // namespace

int MyApp::DoStars(float dx, float dy) {
    SeedRnd(app::Millisecs());
    SetRot(0);
    SetCol(255, 255, 255);
    Alpha(1);
    SetSize(0.5f);

    const float margin = overscan + 16;
    const float span = 2 * overscan + 32;
    const int last = std::min(lastStar, kLastPoolRecord);
    for (int s = 0; s <= last; ++s) {
        float* star = stars + kRecordFloats * s;
        star[StarEl::x] += dx * star[StarEl::speed];
        star[StarEl::y] += dy * star[StarEl::speed];
        // Off a side: back in at the other side, at a new height; off the
        // top or bottom: back in at the other edge, in a new column.
        if (Wrap(star[StarEl::x], margin, jscrw, span)) Renew(star, StarEl::y, jscrh);
        if (Wrap(star[StarEl::y], margin, jscrh, span)) Renew(star, StarEl::x, jscrw);
        star[StarEl::rotation] += star[StarEl::spin];
        Alpha(star[StarEl::speed]);  // slower stars are fainter
        SetRot(-star[StarEl::rotation]);
        DrawImg(kPartsBank, star[StarEl::x], star[StarEl::y], star[StarEl::frame]);
    }
    ResetDraw();
    return 0;
}
