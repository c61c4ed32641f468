// libFuzzer harness for reading the saved text: any input as the stored state
// (the first byte picks one unit per byte, or 16-bit units from byte pairs).
// Checks, besides memory safety: the corrections hold after every read, the
// first field reads as the reference rule says (atoi within 32 bits,
// saturated beyond), and whatever was read writes back into a text that reads
// back to the same records with every section valid.
//
// fuzz-sources: shell/saved_text.cpp
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/saved_text.h"

namespace {

struct Records {
    int settings[kSettingCount] = {};
    int highscores[kHighscoreCount] = {};
    bool badges[kBadgeCount] = {};
    SavedRecords View() { return {settings, highscores, badges}; }
};

std::u16string Units(const uint8_t* data, size_t size) {
    std::u16string units;
    if (size == 0) return units;
    bool wide = (data[0] & 1) != 0;
    if (wide) {
        for (size_t i = 1; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    } else {
        for (size_t i = 1; i < size; ++i) units += static_cast<char16_t>(data[i]);
    }
    return units;
}

// The number rule written the slow, obvious way: strtoll over the narrowed
// bytes of the first 63 units, clamped to 32 bits; *holdsNumber says whether
// it converted anything.
int ReferenceNumber(std::u16string_view field, bool* holdsNumber) {
    std::string bytes;
    for (size_t i = 0; i < field.size() && i < 63; ++i) bytes += static_cast<char>(field[i] & 0xFF);
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(bytes.c_str(), &end, 10);
    *holdsNumber = end != bytes.c_str();
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void Check(bool condition) {
    if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text = Units(data, size);
    Records first;
    ReadSavedText(text, first.View());
    Check(first.settings[Setting::overscanSetting] == 1);
    Check(first.settings[Setting::padX] >= 64 && first.settings[Setting::padY] >= 64);
    Check(first.settings[Setting::padSize] >= 8);

    std::u16string_view firstField = std::u16string_view(text).substr(0, text.find(u'|'));
    bool holdsNumber = false;
    Check(ReadSavedNumber(firstField) == ReferenceNumber(firstField, &holdsNumber));
    Check(HoldsSavedNumber(firstField) == holdsNumber);

    std::u16string written = WriteSavedText(first.View());
    Records second;
    SavedTextReport report = ReadSavedText(written, second.View());
    Check(report.settings == SavedSection::loaded && report.badges == SavedSection::loaded);
    Check(std::equal(first.settings, first.settings + kSettingCount, second.settings));
    Check(std::equal(first.badges, first.badges + kBadgeCount, second.badges));
    Check(std::equal(first.highscores, first.highscores + 60, second.highscores));
    return 0;
}
