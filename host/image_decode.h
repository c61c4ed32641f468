// Decoding of picture files: PNG, through stb_image. Files of other formats
// are refused, as the packaged stb_image's other decoders are not safe
// against damaged files.
//
//   int w, h, depth;
//   unsigned char* pixels = DecodeImageFile(file, &w, &h, &depth);  // or null
//   ...; free(pixels);
//
// Depth is the file's own channel count (1 grey, 2 grey+alpha, 3 RGB, 4 RGBA).
// Pictures larger than kMaxImageSide on a side, or kMaxImagePixels in all,
// are refused before any pixel memory is asked for, so a damaged or hostile
// header cannot make the game allocate gigabytes. For the same reason a PNG
// whose chunks claim more bytes than the file holds is refused unread.
#pragma once

#include <cstdio>

inline constexpr int kMaxImageSide = 16384;
inline constexpr long long kMaxImagePixels = 16384LL * 4096;

unsigned char* DecodeImageFile(FILE* file, int* width, int* height, int* depth);
