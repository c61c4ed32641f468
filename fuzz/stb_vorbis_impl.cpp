// stb_vorbis compiled from Debian's header for the fuzzers, with their
// instrumentation; the game links the same code from libstb.
//
// Its codebook setup converts float powers larger than an int to int
// (lookup1_values) and then rejects the codebook by the next comparison;
// x86-64 gives INT_MIN there, so UBSan's float-cast-overflow check is off
// for this file's code only.
#pragma clang attribute push(__attribute__((no_sanitize("float-cast-overflow"))), apply_to = function)
#include <stb/stb_vorbis.h>
#pragma clang attribute pop
