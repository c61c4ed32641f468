#include "shell/saved_text.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr size_t kMaxNumberUnits = 63;
constexpr int kBadgeWords = 8;
constexpr int kBitsPerWord = 32;
constexpr int kBlocksWritten = 8;
constexpr int kBlocksRead = 3;  // one per difficulty; the other blocks are written only
constexpr int kBlockEntries = 10;
constexpr int kBlockFields = 2 * kBlockEntries + 1;
constexpr int kLastTenOffset = 30;  // the last-ten lists follow the top tens in the store
constexpr int kFirstBadgeFieldAfterSettings = kSettingCount + 1;
// No read ever looks past the third block after full settings and badges.
constexpr int kFieldsEverRead = kFirstBadgeFieldAfterSettings + kBadgeWords + 1 + kBlocksRead * kBlockFields;

constexpr int kLowestPad = 64, kLowestPadSize = 8, kPadSizeDefault = 10;

// C++20 conversions between int and uint32_t are modular, so sums can wrap
// in unsigned arithmetic and come back as the signed value.
uint32_t Bits(int value) { return static_cast<uint32_t>(value); }

uint32_t SettingsChecksum(std::span<const int, kSettingCount> settings) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettingCount; ++i) sum += Bits(i) * Bits(settings[i]);
    return sum;
}

uint32_t BadgeWord(std::span<const bool, kBadgeCount> badges, int word) {
    uint32_t bits = 0;
    for (int j = 0; j < kBitsPerWord; ++j) {
        if (badges[kBitsPerWord * word + j]) bits |= 1u << j;
    }
    return bits;
}

int TopEntry(int block, int k) { return kBlockEntries * block + k; }
int LastEntry(int block, int k) { return kBlockEntries * block + kLastTenOffset + k; }

uint32_t BlockChecksum(std::span<const int, kHighscoreCount> highscores, int block) {
    uint32_t sum = 0;
    for (int k = 0; k < kBlockEntries; ++k) {
        sum += Bits(k + 4) * Bits(highscores[TopEntry(block, k)]);
        sum += Bits(block + k + 3) * Bits(highscores[LastEntry(block, k)]);
    }
    return sum;
}

void AppendField(String& text, uint32_t bits) {
    int value = static_cast<int>(bits);
    char16_t digits[12];
    int length = 0;
    // Work on the magnitude as unsigned, so INT_MIN needs no special case.
    uint32_t magnitude = value < 0 ? 0u - bits : bits;
    do {
        digits[length++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) text += u'-';
    while (length > 0) text += digits[--length];
    text += u'|';
}

// The first fields of a text, found in one pass that stops once every field a
// read can ask for is known, so a huge text costs no more than a short one.
class SavedFields {
public:
    explicit SavedFields(std::u16string_view text) {
        size_t start = 0;
        for (size_t i = 0; i <= text.size() && known < kFieldsEverRead; ++i) {
            if (i == text.size() || text[i] == u'|') {
                fields[known++] = text.substr(start, i - start);
                start = i + 1;
            }
        }
    }
    bool Has(int n) const { return n >= 0 && n < known; }
    int Number(int n) const { return Has(n) ? ReadSavedNumber(fields[n]) : 0; }
    // Whether field n equals the checksum computed over its section. Save
    // always writes a checksum as a number; a field without one (garbage,
    // which reads as 0) never matches, or a text of digit-free garbage would
    // pass as a section of zeros (settings with the sound switched off).
    bool MatchesChecksum(int n, uint32_t checksum) const {
        return Has(n) && HoldsSavedNumber(fields[n]) && Bits(Number(n)) == checksum;
    }

private:
    std::u16string_view fields[kFieldsEverRead];
    int known = 0;
};

void ResetSettings(std::span<int, kSettingCount> settings) {
    std::fill(settings.begin(), settings.end(), 0);
    settings[Setting::audioMode] = 1;
}

// Every read ends with these, whether or not the settings came from the text.
void CorrectSettings(std::span<int, kSettingCount> settings) {
    if (settings[Setting::padX] < kLowestPad) settings[Setting::padX] = kLowestPad;
    if (settings[Setting::padY] < kLowestPad) settings[Setting::padY] = kLowestPad;
    if (settings[Setting::padSize] < kLowestPadSize) settings[Setting::padSize] = kPadSizeDefault;
    settings[Setting::overscanSetting] = 1;  // the picture is never inset
}

SavedSection ReadSettings(const SavedFields& fields, std::span<int, kSettingCount> settings) {
    for (int i = 0; i < kSettingCount; ++i) settings[i] = fields.Number(i);
    int checksumField = kSettingCount;
    if (fields.MatchesChecksum(checksumField, SettingsChecksum(settings))) return SavedSection::loaded;
    ResetSettings(settings);
    return SavedSection::invalid;
}

SavedSection ReadBadges(const SavedFields& fields, int first, std::span<bool, kBadgeCount> badges) {
    uint32_t sum = 0;
    for (int w = 0; w < kBadgeWords; ++w) {
        uint32_t bits = Bits(fields.Number(first + w));
        for (int j = 0; j < kBitsPerWord; ++j) badges[kBitsPerWord * w + j] = ((bits >> j) & 1u) != 0;
        sum += bits;
    }
    if (fields.MatchesChecksum(first + kBadgeWords, sum)) return SavedSection::loaded;
    std::fill(badges.begin(), badges.end(), false);
    return SavedSection::invalid;
}

// A block that is cut off ends the reading; one that fails its checksum is
// cleared and the next one is still read.
void ReadBlocks(const SavedFields& fields, int first, std::span<int, kHighscoreCount> highscores) {
    int start = first;
    for (int block = 0; block < kBlocksRead; ++block, start += kBlockFields) {
        int checksumField = start + 2 * kBlockEntries;
        if (!fields.Has(checksumField)) return;
        for (int k = 0; k < kBlockEntries; ++k) {
            highscores[TopEntry(block, k)] = fields.Number(start + 2 * k);
            highscores[LastEntry(block, k)] = fields.Number(start + 2 * k + 1);
        }
        if (fields.MatchesChecksum(checksumField, BlockChecksum(highscores, block))) continue;
        for (int k = 0; k < kBlockEntries; ++k) highscores[TopEntry(block, k)] = highscores[LastEntry(block, k)] = 0;
    }
}

bool IsSpaceByte(unsigned byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }
bool IsDigitByte(unsigned byte) { return byte >= '0' && byte <= '9'; }

}  // namespace

// A field as the atoi rule sees it: its first 63 units, each reduced to
// its low byte.
struct NumberScan {
    explicit NumberScan(std::u16string_view text) : field(text), length(std::min(text.size(), kMaxNumberUnits)) {}
    unsigned Byte(size_t i) const { return static_cast<unsigned>(field[i] & 0xFF); }
    // Skips the leading white space and the sign; true when it was "-".
    bool SkipToDigits(size_t* i) const {
        *i = 0;
        while (*i < length && IsSpaceByte(Byte(*i))) ++*i;
        if (*i < length && (Byte(*i) == '-' || Byte(*i) == '+')) return Byte((*i)++) == '-';
        return false;
    }

    std::u16string_view field;
    size_t length;
};

int ReadSavedNumber(std::u16string_view field) {
    const NumberScan scan(field);
    size_t i = 0;
    const bool negative = scan.SkipToDigits(&i);
    // Collected as a magnitude that stops at the first value outside 32 bits.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; i < scan.length && IsDigitByte(scan.Byte(i)); ++i) {
        magnitude = std::min(magnitude * 10 + (scan.Byte(i) - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool HoldsSavedNumber(std::u16string_view field) {
    const NumberScan scan(field);
    size_t i = 0;
    scan.SkipToDigits(&i);
    return i < scan.length && IsDigitByte(scan.Byte(i));
}

String WriteSavedText(const SavedRecords& records) {
    String text;
    text.reserve(1024);
    for (int value : records.settings) AppendField(text, Bits(value));
    AppendField(text, SettingsChecksum(records.settings));

    uint32_t badgeSum = 0;
    for (int w = 0; w < kBadgeWords; ++w) {
        uint32_t word = BadgeWord(records.badges, w);
        AppendField(text, word);
        badgeSum += word;
    }
    AppendField(text, badgeSum);

    for (int block = 0; block < kBlocksWritten; ++block) {
        for (int k = 0; k < kBlockEntries; ++k) {
            AppendField(text, Bits(records.highscores[TopEntry(block, k)]));
            AppendField(text, Bits(records.highscores[LastEntry(block, k)]));
        }
        AppendField(text, BlockChecksum(records.highscores, block));
    }
    return text;
}

SavedTextReport ReadSavedText(std::u16string_view text, const SavedRecords& records) {
    SavedFields fields(text);
    SavedTextReport report;
    // Without the settings the badge words come first.
    int badgeStart = 0;
    if (fields.Has(kSettingCount - 1)) {
        report.settings = ReadSettings(fields, records.settings);
        badgeStart = kFirstBadgeFieldAfterSettings;
    }
    CorrectSettings(records.settings);

    int badgeChecksumField = badgeStart + kBadgeWords;
    if (!fields.Has(badgeChecksumField)) return report;
    report.badges = ReadBadges(fields, badgeStart, records.badges);
    ReadBlocks(fields, badgeChecksumField + 1, records.highscores);
    return report;
}
