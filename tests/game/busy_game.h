// The busiest state a game reaches, for the allocation test and the
// benchmarks: Hard, level 7, sixteen enemies on the rim about to fire,
// bullets in every other slot, the particle pool full and the ship flying.
//
//   FakeHost host;  MyApp* game = host.CreateApp<MyApp>();
//   BusyGame busy(host, *game);     // loads the banks and starts the game
//   busy.Restore();                 // back to the busy state, before each tick
//   host.Tick();
#pragma once

#include <algorithm>
#include <iterator>
#include <vector>

#include "shell/myapp.h"
#include "shell/numeric.h"
#include "tests/support/fake_host.h"

class BusyGame {
public:
    BusyGame(FakeHost& host, MyApp& game) : host(host), game(game) {
        for (int i = 0; i < 100 && game.loadStage > 0; ++i) host.Tick();
        game.difficulty = 3;
        game.mode = 11;
        host.Tick();  // LoadGame: level 1
        game.player[PlayerEl::level] = 6;
        game.Refill();  // level 7 on Hard: sixteen enemies
        MakeBusy(game);
        Save();
    }

    // Puts the saved busy state back (the records the tick changes, and the clock).
    void Restore() {
        std::copy(player.begin(), player.end(), game.player);
        std::copy(objects.begin(), objects.end(), game.objects);
        std::copy(particles.begin(), particles.end(), game.particles);
        std::copy(grid.begin(), grid.end(), game.grid);
        game.score = 0;
        host.clockMs = clockMs;
    }

    // Fills a freshly started level 7 with the busy state (the frame-rate
    // bench does this on the real host too).
    static void MakeBusy(MyApp& game) {
        float* p = game.player;
        p[PlayerEl::levelTime] = 0;
        p[PlayerEl::appearTime] = 0;
        p[PlayerEl::x] = 300;
        p[PlayerEl::y] = 250;
        p[PlayerEl::heading] = p[PlayerEl::wantedHeading] = 135;
        for (int s = 0; s < 16; ++s) {
            float* enemy = game.objects + MyApp::kRecordFloats * s;
            enemy[ObjectEl::radius] = 160;
            enemy[ObjectEl::angle] = 22.5f * static_cast<float>(s);
            enemy[ObjectEl::spin] = 0.5f;
            enemy[ObjectEl::fireTime] = static_cast<float>(s % 2 == 0 ? 0 : 50);  // half of them fire at once
            enemy[ObjectEl::turnTime] = 100;
        }
        // Bullets in flight in every other slot above the enemies.
        for (int s = 16; s <= 50; s += 2) {
            float* bullet = game.objects + MyApp::kRecordFloats * s;
            float angle = 10.0f * static_cast<float>(s);
            bullet[ObjectEl::kind] = 10;
            bullet[ObjectEl::x] = 320 + 100 * SinDeg(angle);
            bullet[ObjectEl::y] = 240 - 100 * CosDeg(angle);
            bullet[ObjectEl::vx] = -3 * SinDeg(angle);
            bullet[ObjectEl::vy] = 3 * CosDeg(angle);
            bullet[ObjectEl::angle] = angle;
        }
        // A full pool of long-lived sparks and a few numbers.
        for (int r = 0; r <= game.lastParticle; ++r) {
            float* spark = game.particles + MyApp::kRecordFloats * r;
            spark[ParticleEl::type] = r % 25 == 0 ? 99 : 6;
            spark[ParticleEl::x] = static_cast<float>(r * 7 % 640);
            spark[ParticleEl::y] = static_cast<float>(r * 13 % 480);
            spark[ParticleEl::vx] = 0.5f;
            spark[ParticleEl::vy] = -0.5f;
            spark[ParticleEl::spin] = 3;
            spark[ParticleEl::life] = 1.2f;
            spark[ParticleEl::colour] = static_cast<float>(r % 10);
            spark[ParticleEl::frame] = static_cast<float>(r % 25 == 0 ? 100 : r % 256);
        }
    }

private:
    void Save() {
        player.assign(std::begin(game.player), std::end(game.player));
        objects.assign(std::begin(game.objects), std::end(game.objects));
        particles.assign(std::begin(game.particles), std::end(game.particles));
        grid.assign(std::begin(game.grid), std::end(game.grid));
        clockMs = host.clockMs;
    }

    FakeHost& host;
    MyApp& game;
    std::vector<float> player, objects, particles, grid;
    int clockMs = 0;
};
