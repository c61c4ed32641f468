// Particles: sparks, splashes and floating score numbers.
//
//   game->ThrowParticle(x, y, 3, 2, angle, 1.5f);  // an orange spark of kind 3
//   int r = game->FreeParticle();                  // a record for a caller's own kind
//   game->DoParticles(1);                          // once a tick: move, draw, age
//
// Records 0..lastParticle of `particles` form the pool; a record of type 0 is
// free, and a throw takes the highest-numbered free one (a full pool drops
// the throw). Kinds: 3 sparks that slow down and keep a fixed rotation, 5
// short-lived sparks, 6 long-lived sparks, all from the "parts" bank at half
// size; 99 a number (its frame field) drawn as text and never rotated. The
// life is also the alpha; a record frees itself once its life runs out.
#include <algorithm>
#include <cmath>

#include "shell/myapp.h"
#include "shell/numeric.h"
#include "shell/random.h"

namespace {

constexpr int kPartsBank = 96;
constexpr int kLastPoolRecord = MyApp::kPoolFloats / MyApp::kRecordFloats - 1;

// Kinds of particle.
constexpr int kSlowingSpark = 3, kShortSpark = 5, kLongSpark = 6, kNumber = 99;
constexpr int kFirstTextKind = 10;  // kinds below this are pictures

// Sparks are drawn at half size whatever scale the caller asks for.
bool IsSpark(int type) { return type == kSlowingSpark || type == kShortSpark || type == kLongSpark; }

}  // namespace

int MyApp::FreeParticle() const {
    for (int r = std::min(lastParticle, kLastPoolRecord); r >= 0; --r) {
        if (particles[kRecordFloats * r + ParticleEl::type] == 0) return r;
    }
    return -1;
}

int MyApp::ThrowParticle(float x, float y, int type, int colour, float angle, float speed) {
    int r = FreeParticle();
    if (r < 0) return 0;
    float* p = particles + kRecordFloats * r;
    p[ParticleEl::type] = static_cast<float>(type);
    p[ParticleEl::x] = x;
    p[ParticleEl::y] = y;
    p[ParticleEl::vx] = speed * SinDeg(angle);
    p[ParticleEl::vy] = -speed * CosDeg(angle);
    p[ParticleEl::rotation] = random::Rnd3(360);
    p[ParticleEl::spin] = random::Rnd2(-8, 8);
    if (type == kSlowingSpark) {
        // These keep a fixed rotation, taken from where they start.
        p[ParticleEl::rotation] = y + random::Rnd2(-16, 16);
        p[ParticleEl::spin] = 0;
    }
    p[ParticleEl::life] = random::Rnd2(0.7f, 1.3f);
    p[ParticleEl::colour] = static_cast<float>(colour);
    p[ParticleEl::frame] = std::floor(random::Rnd3(255.99f));
    return 0;
}

int MyApp::DoParticles(float scale) {
    ResetDraw();
    const int last = std::min(lastParticle, kLastPoolRecord);
    for (int r = 0; r <= last; ++r) {
        float* p = particles + kRecordFloats * r;
        if (!(p[ParticleEl::type] > 0)) continue;
        const int type = TruncToInt(p[ParticleEl::type]);
        p[ParticleEl::x] += p[ParticleEl::vx];
        p[ParticleEl::y] += p[ParticleEl::vy];
        p[ParticleEl::rotation] += p[ParticleEl::spin];
        SetRot(type == kNumber ? 0 : -p[ParticleEl::rotation]);
        if (type == kSlowingSpark) {
            p[ParticleEl::vx] *= 0.95f;
            p[ParticleEl::vy] *= 0.95f;
        }
        Alpha(std::min(p[ParticleEl::life], 1.0f));
        SetSize(IsSpark(type) ? 0.5f : scale);
        Ink(TruncToInt(p[ParticleEl::colour]), 1);
        if (type < kFirstTextKind) DrawImg(kPartsBank, p[ParticleEl::x], p[ParticleEl::y], p[ParticleEl::frame]);
        if (type == kNumber) {
            TextBuffer<16> number;
            number.Add(TruncToInt(p[ParticleEl::frame]));
            Text(p[ParticleEl::x], p[ParticleEl::y], number.View(), 1, 1, 0);
        }
        p[ParticleEl::life] -= 0.01f;
        if (type == kShortSpark) p[ParticleEl::life] -= 0.02f;
        if (p[ParticleEl::life] < 0) p[ParticleEl::type] = 0;  // free for the next throw
    }
    ResetDraw();
    return 0;
}
