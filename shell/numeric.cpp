#include "shell/numeric.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

int TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

float SinDeg(float degrees) { return static_cast<float>(std::sin(static_cast<double>(degrees * kD2R))); }
float CosDeg(float degrees) { return static_cast<float>(std::cos(static_cast<double>(degrees * kD2R))); }

namespace {

size_t Widen(const char* bytes, char16_t* out) {
    size_t length = strlen(bytes);
    for (size_t i = 0; i < length; ++i) out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    return length;
}

}  // namespace

size_t FormatNumber(int value, char16_t* out) {
    char bytes[32];
    snprintf(bytes, sizeof bytes, "%d", value);
    return Widen(bytes, out);
}

size_t FormatNumber(float value, char16_t* out) {
    // "%.17lg" of any double fits in 24 bytes ("-1.2345678901234567e+308").
    char bytes[32];
    snprintf(bytes, sizeof bytes - 2, "%.17lg", static_cast<double>(value));
    // Whole numbers read as floats; "inf" and "nan" gain ".0" as well.
    if (!strchr(bytes, '.') && !strchr(bytes, 'e')) strcat(bytes, ".0");
    return Widen(bytes, out);
}

String NumberText(int value) {
    char16_t units[32];
    return String(units, FormatNumber(value, units));
}

String NumberText(float value) {
    char16_t units[32];
    return String(units, FormatNumber(value, units));
}
