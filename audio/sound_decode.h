// Decoders of sound files into interleaved PCM (malloc family; the caller frees).
//
//   int length, channels, bytesPerSample, rate;
//   unsigned char* pcm = LoadWAV(file, &length, &channels, &bytesPerSample, &rate);
//
// length counts frames (one sample per channel); the block holds
// length x channels x bytesPerSample bytes (1 = unsigned 8-bit, 2 = signed
// 16-bit little-endian; WAVE passes bits / 8 through). The outputs are written
// only on success; failure returns null. Both decoders read from the file's
// current position and leave it open.
//
// LoadWAV takes uncompressed integer PCM of 8 bits or more: "RIFF", "WAVE",
// the "fmt " chunk first, then any chunks up to "data". LoadOGG decodes Ogg
// Vorbis to 16 bits. Any bytes are safe input: a broken or lying file gives
// null, and no file makes either decoder ask for more memory than the file
// justifies (decoded sounds are capped at 256 MiB).
#pragma once

#include <cstdio>

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* bytesPerSample, int* rate);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* bytesPerSample, int* rate);
