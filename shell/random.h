// The game's random generator: one 32-bit state shared by every random call.
//
//   random::Seed = 1234;              // the start state (qvInit sets it)
//   float r = random::Rnd();          // [0, 1)
//   float a = random::Rnd2(-8, 8);    // [-8, 8)
//   float b = random::Rnd3(360);      // [0, 360)
//
// One step is Seed * 1664525 + 1013904223 (unsigned, wrapping); the value is
// the top 24 bits of the new state over 2^24. MyApp::SeedRnd and MyApp::Rand
// draw from the same state, so every sequence is reproducible from a seed.
//
// A struct of statics rather than a namespace: the C library already declares
// a function random() at global scope, which a namespace may not share a name
// with, while a class may (random::Seed still reads as a module global).
#pragma once

#include <cstdint>

struct random {
    static int32_t Seed;

    // The generator's step on any state (SeedRnd's warm-up uses it too).
    static uint32_t Next(uint32_t state) { return state * 1664525u + 1013904223u; }
    // Advances Seed and returns the unit value of the new state.
    static float Unit();

    static float Rnd() { return Unit(); }
    static float Rnd2(float low, float high) { return low + (high - low) * Unit(); }
    static float Rnd3(float range) { return Unit() * range; }
};
