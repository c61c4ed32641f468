#include "host/image_decode.h"

#include <stb/stb_image.h>

unsigned char* DecodeImageFile(FILE* file, int* width, int* height, int* depth) {
    long start = ftell(file);
    int w = 0, h = 0, n = 0;
    if (!stbi_info_from_file(file, &w, &h, &n)) return nullptr;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return nullptr;
    if (static_cast<long long>(w) * h > kMaxImagePixels) return nullptr;
    fseek(file, start, SEEK_SET);
    unsigned char* pixels = stbi_load_from_file(file, &w, &h, &n, 0);
    if (!pixels) return nullptr;
    *width = w;
    *height = h;
    *depth = n;
    return pixels;
}
