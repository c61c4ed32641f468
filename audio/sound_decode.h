// Decoders of sound files into interleaved PCM (malloc family; the caller frees).
//
//   int length, channels, bytesPerSample, rate;
//   unsigned char* pcm = LoadWAV(file, &length, &channels, &bytesPerSample, &rate);
//
// The outputs are written only on success; failure returns null.
#pragma once

#include <cstdio>

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* bytesPerSample, int* rate);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* bytesPerSample, int* rate);
