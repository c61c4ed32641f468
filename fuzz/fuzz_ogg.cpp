// libFuzzer harness for LoadOGG: any bytes as an Ogg Vorbis stream. stb_vorbis
// itself is built into the harness (stb_vorbis_impl.cpp), so that the
// sanitizers and the coverage reach into it.
//
// fuzz-sources: audio/sound_decode.cpp fuzz/stb_vorbis_impl.cpp
#include "audio/sound_decode.h"
#include "fuzz/sound_decoder_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSoundDecoder(LoadOGG, data, size);
}
