// A constructed game with empty records and no screen running, for driving
// the gameplay methods one at a time; joysticks are scripted (PadHost).
//
//   TEST_F(PlayTest, Something) {
//       PlaceShip(320, 240, 180);
//       game->ShipSteps();
//       EXPECT_EQ(Images(1, 4).size(), 1u);
//   }
#pragma once

#include <algorithm>
#include <vector>

#include "shell/random.h"
#include "tests/shell/shell_test.h"

class PlayTest : public ShellFixture<PadHost> {
protected:
    void SetUp() override {
        // No loader and no screen: ticks only poll the input.
        game->loadStage = 0;
        game->mode = 0;
        std::fill(std::begin(game->player), std::end(game->player), 0.0f);
        std::fill(std::begin(game->objects), std::end(game->objects), 0.0f);
        std::fill(std::begin(game->particles), std::end(game->particles), 0.0f);
        std::fill(std::begin(game->trail), std::end(game->trail), -100.0f);
        game->player[PlayerEl::lives] = 3;
        game->drawLength = 0;
    }

    // An intact ship, visible and free to move.
    void PlaceShip(float x, float y, float heading) {
        float* p = game->player;
        p[PlayerEl::x] = x;
        p[PlayerEl::y] = y;
        p[PlayerEl::heading] = p[PlayerEl::wantedHeading] = heading;
        p[PlayerEl::appearTime] = 0;
        p[PlayerEl::deathTime] = 0;
    }

    float& Player(int element) { return game->player[element]; }
    float* Object(int slot) { return game->objects + MyApp::kRecordFloats * slot; }
    float* Particle(int record) { return game->particles + MyApp::kRecordFloats * record; }

    int BusyParticles() const {
        int busy = 0;
        for (int r = 0; r <= game->lastParticle; ++r) busy += game->particles[MyApp::kRecordFloats * r] != 0;
        return busy;
    }

    // The image commands of this frame that draw frame `frame` of bank `bank`
    // (any frame when frame is negative).
    std::vector<const float*> Images(int bank, int frame = -1) const {
        std::vector<const float*> found;
        for (int k = 0; k < Commands(); ++k) {
            const float* c = Command(k);
            if (c[0] == static_cast<float>(bank) && (frame < 0 || c[6] == static_cast<float>(frame))) found.push_back(c);
        }
        return found;
    }

    // The next `count` unit values the generator will give from `seed`.
    static std::vector<float> UnitsFrom(int32_t seed, int count) {
        int32_t saved = random::Seed;
        random::Seed = seed;
        std::vector<float> units;
        for (int i = 0; i < count; ++i) units.push_back(random::Rnd());
        random::Seed = saved;
        return units;
    }

    // Element numbers of a display-list command.
    static constexpr int kRotation = 3, kScaleX = 4, kFrame = 6, kAlpha = 7, kRed = 10, kGreen = 11, kBlue = 12;
    static constexpr float kCx = 320, kCy = 240;  // the arena's centre on the 640 x 480 design screen
};
