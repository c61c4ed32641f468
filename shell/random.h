// The game's random generator: one 32-bit state, a linear congruential step.
//
// A struct of statics rather than a namespace: the C library already declares
// a function random() at global scope, which a namespace may not share a name
// with, while a class may (random::Seed still reads as a module global).
#pragma once

#include <cstdint>

struct random {
    static int32_t Seed;
};
