#include "host/qvstring.h"

#include "host/text_codec.h"

void AppendUtf8Unit(std::string& out, char16_t unit) {
    unsigned c = unit;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text) AppendUtf8Unit(out, unit);
    return out;
}

String FromUtf8(std::string_view bytes) {
    return DecodeText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::string NarrowToBytes(std::u16string_view text) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
    return out;
}

String IntToString(long long value) {
    std::string digits = std::to_string(value);
    return String(digits.begin(), digits.end());
}
