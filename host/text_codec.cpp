#include "host/text_codec.h"

namespace {

String DecodeUtf16(const unsigned char* data, size_t size, bool bigEndian) {
    String out;
    out.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2) {
        unsigned hi = bigEndian ? data[i] : data[i + 1];
        unsigned lo = bigEndian ? data[i + 1] : data[i];
        out.push_back(static_cast<char16_t>((hi << 8) | lo));
    }
    return out;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Strict decoding; false at the first sequence that is not a 1-3 byte form.
bool DecodeUtf8Strict(const unsigned char* data, size_t size, String& out) {
    out.reserve(size);
    size_t i = 0;
    while (i < size) {
        unsigned char c = data[i];
        if (c < 0x80) {
            out.push_back(c);
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            if (i + 1 >= size || !IsContinuation(data[i + 1])) return false;
            out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (data[i + 1] & 0x3F)));
            i += 2;
        } else if ((c & 0xF0) == 0xE0) {
            if (i + 2 >= size || !IsContinuation(data[i + 1]) || !IsContinuation(data[i + 2])) return false;
            out.push_back(static_cast<char16_t>(((c & 0x0F) << 12) | ((data[i + 1] & 0x3F) << 6) |
                                                (data[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

String DecodeText(const unsigned char* data, size_t size) {
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return DecodeUtf16(data + 2, size - 2, true);
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16(data + 2, size - 2, false);
    size_t start = (size >= 3 && data[0] == 239 && data[1] == 187 && data[2] == 191) ? 3 : 0;
    String out;
    if (DecodeUtf8Strict(data + start, size - start, out)) return out;
    return String(data, data + size);  // the whole file, byte-order mark included
}
