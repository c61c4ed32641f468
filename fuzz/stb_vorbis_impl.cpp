// stb_vorbis compiled from Debian's header for the fuzzers, with their
// instrumentation; the game links the same code from libstb. The few UBSan
// checks left out of its functions are listed, with why, in
// stb-ubsan-ignorelist.txt.
#include <stb/stb_vorbis.h>
