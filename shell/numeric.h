// Number helpers of the game shell: float-to-int truncation that cannot go
// wrong, sine and cosine in degrees, and the game's number-to-text rule.
//
//   int i = TruncToInt(-2.7f);          // -2 (NaN gives 0; out of range saturates)
//   float s = SinDeg(90.0f);            // 1
//   TextBuffer<64> line;                // fixed storage: building text allocates nothing
//   line.Add(u"FPS ").Add(60).Add(u" scale ").Add(1.5f);   // "FPS 60 scale 1.5"
//   Text(16, 16, line.View(), 0, 0, 0);
//   String s = NumberText(2.0f);        // "2.0" (allocates; for rare, non-tick text)
//
// The text rule: an int is plain decimal; a float is printf "%.17lg" of its
// double value, with ".0" appended when that holds neither "." nor "e".
#pragma once

#include <cstddef>
#include <string_view>

#include "host/qvstring.h"

// Degrees to radians as the game holds it: in single precision.
inline constexpr float kD2R = 0.017453292f;

// Truncates towards zero; NaN gives 0 and values outside int saturate, so a
// division by a zero scale never turns into undefined behaviour.
int TruncToInt(double value);

float SinDeg(float degrees);
float CosDeg(float degrees);

// Writes the text of value into out (room for 32 units) and returns its length.
size_t FormatNumber(int value, char16_t* out);
size_t FormatNumber(float value, char16_t* out);

String NumberText(int value);
String NumberText(float value);

// Text built in place; whatever does not fit is dropped.
template <size_t Capacity>
class TextBuffer {
public:
    TextBuffer& Add(std::u16string_view text) {
        for (char16_t unit : text) Put(unit);
        return *this;
    }
    TextBuffer& Add(int value) { return AddNumber(value); }
    TextBuffer& Add(float value) { return AddNumber(value); }
    void Clear() { length = 0; }
    std::u16string_view View() const { return {units, length}; }

private:
    template <typename Number>
    TextBuffer& AddNumber(Number value) {
        char16_t digits[32];
        return Add(std::u16string_view(digits, FormatNumber(value, digits)));
    }
    void Put(char16_t unit) {
        if (length < Capacity) units[length++] = unit;
    }

    char16_t units[Capacity] = {};
    size_t length = 0;
};
