#include "shell/random.h"

int32_t random::Seed = 1234;
