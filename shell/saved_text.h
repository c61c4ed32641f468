// The saved text: the settings, the badge flags and the high-score store as
// one line of decimal fields, each followed by "|", with a checksum per
// section so that a damaged section is dropped on its own.
//
//   SavedRecords records{game.settings, game.highscores, game.badges};
//   String text = WriteSavedText(records);              // 203 fields
//   SavedTextReport report = ReadSavedText(text, records);
//   if (report.settings == SavedSection::invalid) ...   // settings reset
//
// Reading trusts nothing in the text: any length, any code units, any number
// of fields. A number reads like C's atoi over at most the field's first 63
// units (each cut to its low byte), except that values beyond 32 bits
// saturate instead of being undefined. Sums wrap in 32 bits.
//
// Layout: fields 0..24 the settings, 25 their checksum; 26..33 the badge
// words (bit j of word w is flag 32w + j), 34 their checksum; then eight
// high-score blocks of 21 fields (top entry, last entry, ten times, and a
// checksum); only the first three blocks are ever read back.
#pragma once

#include <span>
#include <string_view>

#include "host/qvstring.h"

inline constexpr int kSettingCount = 25;
inline constexpr int kHighscoreCount = 150;
inline constexpr int kBadgeCount = 256;

// Names of the settings entries the game reads or corrects.
struct Setting {
    enum : int {
        audioMode = 5,
        sfxVolume = 6,
        musicVolume = 7,
        padX = 10,
        padY = 11,
        padSize = 12,
        overscanSetting = 14,
        leftStickYNormal = 15,
        rightStickYNormal = 16,
    };
};

struct SavedRecords {
    std::span<int, kSettingCount> settings;
    std::span<int, kHighscoreCount> highscores;
    std::span<bool, kBadgeCount> badges;
};

// What a read found for a section: not in the text, read and checked, or
// thrown away because its checksum did not match.
enum class SavedSection { absent, loaded, invalid };

struct SavedTextReport {
    SavedSection settings = SavedSection::absent;
    SavedSection badges = SavedSection::absent;
};

String WriteSavedText(const SavedRecords& records);

// Fills the records from the text as far as it holds valid sections and
// applies the settings corrections every read ends with.
SavedTextReport ReadSavedText(std::u16string_view text, const SavedRecords& records);

// The number of one field (the atoi rule above; a field without digits reads
// as 0).
int ReadSavedNumber(std::u16string_view field);

// Whether the field holds a number at all by that rule: a digit after the
// white space and the sign. A checksum field without one never matches.
bool HoldsSavedNumber(std::u16string_view field);
