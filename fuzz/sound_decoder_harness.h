// The shared body of the sound decoder harnesses (fuzz_wav, fuzz_ogg): the
// input as a file, read through a FILE* over memory. A decoded block must
// hold length x channels x bytesPerSample bytes, as the audio device hands
// that many to OpenAL; touching the last one lets AddressSanitizer check it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using SoundDecoder = unsigned char* (*)(FILE*, int*, int*, int*, int*);

inline int FuzzSoundDecoder(SoundDecoder decode, const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen wants a buffer
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    int length = 0, channels = 0, bytesPerSample = 0, rate = 0;
    unsigned char* pcm = decode(file, &length, &channels, &bytesPerSample, &rate);
    fclose(file);
    if (!pcm) return 0;
    if (length < 0 || channels <= 0 || bytesPerSample <= 0 || rate <= 0) abort();
    size_t bytes = static_cast<size_t>(length) * channels * bytesPerSample;
    if (bytes > 0) {
        volatile unsigned char last = pcm[bytes - 1];
        (void)last;
    }
    free(pcm);
    return 0;
}
