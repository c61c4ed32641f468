#include "host/image_decode.h"

#include <stb/stb_image.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

uint32_t ReadBigEndian32(const unsigned char* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

// Only PNG files are decoded: the game's pictures are all PNGs, and the other
// decoders of the packaged stb_image have memory faults that a damaged file
// reaches (a JPEG Huffman table of more than 256 codes writes past its table).
bool HasPngSignature(FILE* file) {
    unsigned char signature[8];
    return fread(signature, 1, sizeof signature, file) == sizeof signature &&
           memcmp(signature, kPngSignature, sizeof signature) == 0;
}

// A PNG names the length of each of its chunks, and stb_image sizes its
// buffer for a data chunk from that number before reading the data: a few
// damaged bytes could make it ask for gigabytes. So every chunk up to IEND
// must fit in the file (stb_image cannot decode a PNG without IEND anyway),
// and data chunks must not be empty.
// `chunk` is where the first one starts.
bool PngChunksFitFile(FILE* file, long chunk) {
    if (fseek(file, 0, SEEK_END) != 0) return false;
    const long end = ftell(file);
    while (end - chunk >= 12) {  // length, type, data, CRC
        unsigned char header[8];
        if (fseek(file, chunk, SEEK_SET) != 0 || fread(header, 1, sizeof header, file) != sizeof header) return false;
        const uint32_t length = ReadBigEndian32(header);
        if (length > static_cast<unsigned long>(end - chunk - 12)) return false;
        if (memcmp(header + 4, "IEND", 4) == 0) return true;
        // An empty first data chunk has stb_image copy into a buffer it has
        // not made yet; no encoder writes empty data chunks.
        if (length == 0 && memcmp(header + 4, "IDAT", 4) == 0) return false;
        chunk += 12 + static_cast<long>(length);
    }
    return false;
}

bool IsDecodablePng(FILE* file, long start) {
    bool usable = HasPngSignature(file) && PngChunksFitFile(file, start + 8);
    return fseek(file, start, SEEK_SET) == 0 && usable;
}

}  // namespace

unsigned char* DecodeImageFile(FILE* file, int* width, int* height, int* depth) {
    long start = ftell(file);
    if (start < 0 || !IsDecodablePng(file, start)) return nullptr;
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
