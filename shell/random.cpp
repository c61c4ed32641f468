#include "shell/random.h"

int32_t random::Seed = 1234;

float random::Unit() {
    uint32_t state = Next(static_cast<uint32_t>(Seed));
    Seed = static_cast<int32_t>(state);
    constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;
    return static_cast<float>(state >> 8) * kTwoToMinus24;
}
