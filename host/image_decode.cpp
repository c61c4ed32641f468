#include "host/image_decode.h"

#include <stb/stb_image.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

uint32_t ReadBigEndian32(const unsigned char* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

// A PNG names the length of each of its chunks, and stb_image sizes its
// buffer for a data chunk from that number before reading the data: a few
// damaged bytes could make it ask for gigabytes. So every chunk up to IEND
// must fit in the file. Files that are not PNGs pass (stb_image judges them).
bool PngChunksFitFile(FILE* file, long start) {
    unsigned char header[8];
    if (fread(header, 1, sizeof header, file) != sizeof header) return true;
    if (memcmp(header, kPngSignature, sizeof header) != 0) return true;
    if (fseek(file, 0, SEEK_END) != 0) return false;
    const long end = ftell(file);
    long chunk = start + 8;
    while (end - chunk >= 12) {  // length, type, data, CRC
        if (fseek(file, chunk, SEEK_SET) != 0 || fread(header, 1, 8, file) != 8) return false;
        const uint32_t length = ReadBigEndian32(header);
        if (length > static_cast<unsigned long>(end - chunk - 12)) return false;
        if (memcmp(header + 4, "IEND", 4) == 0) break;
        chunk += 12 + static_cast<long>(length);
    }
    return true;
}

}  // namespace

unsigned char* DecodeImageFile(FILE* file, int* width, int* height, int* depth) {
    long start = ftell(file);
    if (start < 0) return nullptr;
    bool chunksFit = PngChunksFitFile(file, start);
    fseek(file, start, SEEK_SET);
    if (!chunksFit) return nullptr;
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
