// The game's bitmap text: one image command per glyph of the font bank, with
// per-letter spacing, alignment by measured width, rotation, "\n" line breaks
// and "¬" escapes that draw controller-button icons.
#include <algorithm>

#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

constexpr char16_t kEscape = 0xAC;  // "¬"
constexpr int kKeyboardIconOffset = 16;
constexpr int kNoBlink = -1;
// Icons look pressed for 200 ms of every 500.
constexpr int kBlinkPeriodMs = 500, kBlinkPressedMs = 200;

struct EscapeIcon {
    char16_t letter;
    int frame;
    int blinkFrame;
    int spacing;
};

constexpr EscapeIcon kEscapeIcons[] = {
    {u'J', 96, 109, 4},      {u'K', 97, 109, 4},      {u'L', 98, 109, 4},      {u'I', 99, 109, 4},
    {u'U', 100, 110, 6},     {u'O', 101, 110, 6},     {u'Q', 102, kNoBlink, 4}, {u'E', 103, kNoBlink, 4},
    {u'F', 104, kNoBlink, 4}, {u'W', 105, 104, 4},     {u'S', 106, 104, 4},     {u'A', 107, 104, 4},
    {u'D', 108, 104, 4},
};

// Any other letter after "¬" draws the frame of its own code.
EscapeIcon FindEscapeIcon(char16_t letter) {
    for (const EscapeIcon& icon : kEscapeIcons) {
        if (icon.letter == letter) return icon;
    }
    return {letter, letter, kNoBlink, 4};
}

// Spacing correction of a plain character, for the proportional look of a fixed-cell font.
int LetterSpacing(char16_t c) {
    switch (c) {
    case u'w':
    case u'm':
        return 2;
    case u'W':
    case u'M':
        return 1;
    case u'i':
    case u'f':
    case u'l':
        return -3;
    case u'j':
    case u'k':
    case u's':
    case u'r':
    case u'z':
    case u't':
    case u'n':
        return -1;
    default:
        return 0;
    }
}

// The text with the space that Text puts in front of it.
struct SpacedText {
    std::u16string_view text;
    size_t size() const { return text.size() + 1; }
    char16_t operator[](size_t i) const { return i == 0 ? u' ' : text[i - 1]; }
};

}  // namespace

void MyApp::Text(float x, float y, std::u16string_view text, float alignX, float alignY, int bankOffset) {
    SpacedText s{text};
    float advance = static_cast<float>(imageSizes[3 * currentFont]);
    float lineHeight = static_cast<float>(imageSizes[3 * currentFont + 1]);
    float sx = drawScaleX, sy = drawScaleY, rot = drawRotation;

    // The width of the whole text as one line; the last character is not measured.
    int width = 0;
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        int k = 0;
        if (s[i] == kEscape) {
            k = 2;
            ++i;
        } else {
            k = LetterSpacing(s[i]);
        }
        width = TruncToInt(width + (advance + k) * sx);
    }

    float halfWidth = alignX * 0.5f * width;
    float halfLine = (alignY - 1) * 0.5f * lineHeight * sy;
    float x0 = x + halfWidth * SinDeg(-rot - 90) + halfLine * SinDeg(-rot);
    float y0 = y - halfWidth * CosDeg(-rot - 90) - halfLine * CosDeg(-rot);
    float alongX = SinDeg(90 - rot), alongY = CosDeg(90 - rot);   // along a line
    float downX = SinDeg(180 - rot), downY = CosDeg(180 - rot);   // to the next line
    bool blinkOn = controlMode == 1 && app::Millisecs() % kBlinkPeriodMs < kBlinkPressedMs;

    float px = x0, py = y0;
    int lines = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        int glyph = 0, k = 0;
        if (c == kEscape && i + 1 < s.size()) {
            EscapeIcon icon = FindEscapeIcon(s[++i]);
            glyph = icon.frame + (controlMode == 0 ? kKeyboardIconOffset : 0);
            if (blinkOn && icon.blinkFrame != kNoBlink) glyph = icon.blinkFrame;
            k = icon.spacing;
        } else if (c == u'\\' && i + 1 < s.size() && s[i + 1] == u'n') {
            ++i;
            lines += 1;
            // Every line starts one advance in from x0, like the first after its space.
            float d = lines * lineHeight * sy;
            px = x0 + downX * d + alongX * advance * sx;
            py = y0 - downY * d;
            continue;
        } else {
            glyph = c - 32;
            k = LetterSpacing(c);
        }
        if (glyph == -32) continue;  // a NUL neither draws nor moves
        if (glyph > 0 && glyph < 128) DrawImg(currentFont + bankOffset, px, py, static_cast<float>(glyph));
        px += (advance + k) * sx * alongX;
        py -= (advance + k) * sx * alongY;
    }
}

String MyApp::rstr(int value, int width, std::u16string_view pad) {
    String full;
    for (int i = 0; i < width + 1; ++i) full += pad;
    full += NumberText(value);
    // The last width characters (width 0 keeps all, a negative width drops the first -width).
    long long from = width > 0 ? static_cast<long long>(full.size()) - width : -static_cast<long long>(width);
    from = std::clamp(from, 0LL, static_cast<long long>(full.size()));
    return full.substr(static_cast<size_t>(from));
}
