// libFuzzer harness for LoadWAV: any bytes as a WAVE file.
//
// fuzz-sources: audio/sound_decode.cpp
#include "audio/sound_decode.h"
#include "fuzz/sound_decoder_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSoundDecoder(LoadWAV, data, size);
}
