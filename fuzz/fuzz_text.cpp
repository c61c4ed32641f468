// libFuzzer harness for text decoding: any bytes as a text file (the state
// file, LoadString). Checks, besides memory safety:
// - the result is what a second, plainly written decoder makes of the bytes
//   (UTF-16 after either byte-order mark, else strict UTF-8 of one to three
//   bytes per unit after an optional UTF-8 mark, else one unit per byte);
// - whatever was decoded, saved again as UTF-8 and decoded, comes back
//   unchanged (the save-and-load round trip of the state), unless it opens
//   with U+FEFF, which a reader must take for a byte-order mark.
//
// fuzz-sources: host/text_codec.cpp host/qvstring.cpp
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/qvstring.h"
#include "host/text_codec.h"

namespace {

void Check(bool condition) {
    if (!condition) abort();
}

// How many bytes the UTF-8 form that starts with lead takes (0: no such form here).
size_t FormLength(uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC0 && lead < 0xE0) return 2;
    if (lead >= 0xE0 && lead < 0xF0) return 3;
    return 0;
}

bool Utf8(const uint8_t* data, size_t size, std::u16string& out) {
    static constexpr unsigned kLeadMask[] = {0, 0x7F, 0x1F, 0x0F};
    for (size_t i = 0; i < size;) {
        size_t length = FormLength(data[i]);
        if (length == 0 || i + length > size) return false;
        unsigned unit = data[i] & kLeadMask[length];
        for (size_t k = 1; k < length; ++k) {
            if ((data[i + k] >> 6) != 2) return false;
            unit = unit << 6 | (data[i + k] & 0x3F);
        }
        out += static_cast<char16_t>(unit);
        i += length;
    }
    return true;
}

std::u16string Reference(const uint8_t* data, size_t size) {
    std::u16string out;
    if (size >= 2 && (data[0] == 0xFE || data[0] == 0xFF) && data[0] + data[1] == 0xFE + 0xFF) {
        bool big = data[0] == 0xFE;
        for (size_t i = 2; i + 1 < size; i += 2)
            out += static_cast<char16_t>(big ? data[i] << 8 | data[i + 1] : data[i + 1] << 8 | data[i]);
        return out;
    }
    bool marked = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
    if (Utf8(data + (marked ? 3 : 0), size - (marked ? 3 : 0), out)) return out;
    return std::u16string(data, data + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    String decoded = DecodeText(data, size);
    Check(decoded == Reference(data, size));
    if (!decoded.empty() && decoded[0] == 0xFEFF) return 0;
    std::string saved = ToUtf8(decoded);
    Check(DecodeText(reinterpret_cast<const unsigned char*>(saved.data()), saved.size()) == decoded);
    return 0;
}
