// The saved text: the first-start text, the round trip through the state
// file, the checksums of each section, what hostile texts do, the number
// rule, and how a finished game's score enters the lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "shell/globals.h"
#include "shell/saved_text.h"
#include "tests/shell/shell_test.h"

namespace {

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, '|')) fields.push_back(field);
    return fields;
}

std::string Join(const std::vector<std::string>& fields) {
    std::string text;
    for (const std::string& field : fields) text += field + "|";
    return text;
}

std::string Repeat(const std::string& field, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += field + "|";
    return text;
}

}  // namespace

// A game on a fresh state file, with Load run again on texts the test stores.
class SavedDataTest : public ShellTest {
protected:
    void Store(const std::string& bytes) {
        std::ofstream file(host.stateFile, std::ios::binary | std::ios::trunc);
        file << bytes;
    }
    std::string Stored() const {
        std::ifstream file(host.stateFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    // Runs Load and returns its log.
    std::string LoadLog() {
        testing::internal::CaptureStdout();
        game->Load();
        return testing::internal::GetCapturedStdout();
    }
    std::string SaveAndReadBack() {
        game->Save();
        return Stored();
    }
    void FillRecords() {
        for (int i = 0; i < kSettingCount; ++i) game->settings[i] = i * 7 - 30;
        game->settings[3] = INT_MIN;
        game->settings[24] = INT_MAX;
        game->settings[Setting::padX] = 200;
        game->settings[Setting::padY] = 300;
        game->settings[Setting::padSize] = 12;
        game->settings[Setting::overscanSetting] = 1;
        for (int i = 0; i < kBadgeCount; ++i) game->badges[i] = (i * 37) % 5 == 0;
        for (int i = 0; i < 60; ++i) game->highscores[i] = i * 1000 - 7;
        game->highscores[0] = INT_MAX;
        game->highscores[59] = INT_MIN;
    }
};

TEST_F(SavedDataTest, TheFirstStartTextHoldsTheStartValues) {
    std::vector<std::string> fields = Fields(SaveAndReadBack());
    std::string text = Stored();
    ASSERT_EQ(fields.size(), 203u);
    EXPECT_EQ(text.back(), '|');
    const char* settings[25] = {"0", "0", "0",  "0",  "0",  "1", "0", "0", "0", "0", "64", "64", "10",
                                "0", "1", "0",  "0",  "0",  "0", "0", "0", "0", "0", "0",  "0"};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(fields[i], settings[i]) << "field " << i;
    EXPECT_EQ(fields[25], "1483");
    for (int i = 26; i < 203; ++i) EXPECT_EQ(fields[i], "0") << "field " << i;
}

TEST_F(SavedDataTest, NoStoredTextLogsOnlyHighscoresAndKeepsTheStartValues) {
    EXPECT_EQ(LoadLog(), "Highscores Loaded\n");
    EXPECT_EQ(game->settings[Setting::audioMode], 1);
    EXPECT_EQ(game->settings[Setting::padX], 64);
    EXPECT_EQ(game->settings[Setting::padSize], 10);
    EXPECT_EQ(game->settings[Setting::overscanSetting], 1);
    EXPECT_EQ(overscan, 0.0f);
}

TEST_F(SavedDataTest, SavedRecordsLoadBackUnchanged) {
    FillRecords();
    std::string text = SaveAndReadBack();
    std::vector<int> settings(std::begin(game->settings), std::end(game->settings));
    std::vector<bool> badges(std::begin(game->badges), std::end(game->badges));
    std::vector<int> highscores(std::begin(game->highscores), std::end(game->highscores));
    std::fill(std::begin(game->settings), std::end(game->settings), 5);
    std::fill(std::begin(game->badges), std::end(game->badges), true);
    std::fill(std::begin(game->highscores), std::end(game->highscores), 9);
    EXPECT_EQ(LoadLog(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < kSettingCount; ++i) EXPECT_EQ(game->settings[i], settings[i]) << i;
    for (int i = 0; i < kBadgeCount; ++i) EXPECT_EQ(game->badges[i], badges[i]) << i;
    for (int i = 0; i < 60; ++i) EXPECT_EQ(game->highscores[i], highscores[i]) << i;
    for (int i = 60; i < 150; ++i) EXPECT_EQ(game->highscores[i], 9) << "entry " << i << " is never read back";
    // Saving again writes the same text, but for the blocks that are never read back.
    std::vector<std::string> before = Fields(text), after = Fields(SaveAndReadBack());
    before.resize(98);
    after.resize(98);
    EXPECT_EQ(after, before);
}

TEST_F(SavedDataTest, ADamagedSettingsFieldResetsOnlyTheSettings) {
    FillRecords();
    std::vector<std::string> fields = Fields(SaveAndReadBack());
    fields[7] = "3";
    Store(Join(fields));
    EXPECT_EQ(LoadLog(), "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n");
    int start[25] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 1};
    for (int i = 0; i < kSettingCount; ++i) EXPECT_EQ(game->settings[i], start[i]) << i;
    EXPECT_TRUE(game->badges[0]);
    EXPECT_EQ(game->highscores[1], 993);
    EXPECT_EQ(game->highscores[59], INT_MIN);
}

TEST_F(SavedDataTest, ABadgeWordWithBit31IsNegativeAndReadsBack) {
    for (int j = 0; j < 32; ++j) game->badges[32 * 2 + j] = j == 31 || j == 0;
    std::vector<std::string> fields = Fields(SaveAndReadBack());
    EXPECT_EQ(fields[28], std::to_string(INT_MIN + 1));
    EXPECT_EQ(fields[34], std::to_string(INT_MIN + 1));
    std::fill(std::begin(game->badges), std::end(game->badges), false);
    EXPECT_EQ(LoadLog(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int j = 0; j < 32; ++j) EXPECT_EQ(game->badges[64 + j], j == 31 || j == 0) << j;
}

TEST_F(SavedDataTest, BlockChecksumsWeighTheirEntries) {
    game->highscores[0] = 500;
    game->highscores[30] = 500;
    EXPECT_EQ(Fields(SaveAndReadBack())[55], "3500");
    game->highscores[0] = game->highscores[30] = 0;
    game->highscores[10 + 9] = 1;  // block 1: top entry 9 weighs 13
    game->highscores[40 + 9] = 1;  // last entry 9 weighs 1 + 9 + 3
    EXPECT_EQ(Fields(SaveAndReadBack())[76], "26");
}

TEST_F(SavedDataTest, ADamagedSectionIsClearedAloneAndLaterBlocksStillRead) {
    FillRecords();
    std::vector<std::string> fields = Fields(SaveAndReadBack());
    fields[30] = "12345";  // a badge word
    fields[35 + 21 + 4] = "1";  // an entry of block 1
    Store(Join(fields));
    EXPECT_EQ(LoadLog(), "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n");
    for (int i = 0; i < kBadgeCount; ++i) EXPECT_FALSE(game->badges[i]) << i;
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(game->highscores[10 + k], 0) << "block 1 is cleared";
        EXPECT_EQ(game->highscores[40 + k], 0);
        EXPECT_EQ(game->highscores[20 + k], (20 + k) * 1000 - 7) << "block 2 is still read";
    }
    EXPECT_EQ(game->highscores[0], INT_MAX);
}

// Whatever the text, Load logs the lines its sections call for, leaves the
// records it could not read as they were, and ends with the corrections.
TEST_F(SavedDataTest, HostileTextsLoadWithTheirLogLines) {
    FillRecords();
    std::vector<std::string> full = Fields(SaveAndReadBack());
    // The first fields without the separator after the last of them.
    auto firstFields = [&](int count) {
        std::string text = Join(std::vector<std::string>(full.begin(), full.begin() + count));
        text.pop_back();
        return text;
    };
    std::string nines(40, '9');
    struct Case {
        const char* name;
        std::string text;
        const char* log;
    } cases[] = {
        {"empty", "", "Highscores Loaded\n"},
        {"no separator", "hello", "Highscores Loaded\n"},
        {"eight fields", "1|2|3|4|5|6|7|8", "Highscores Loaded\n"},
        {"badges first when short", "1|0|0|0|0|0|0|0|1|", "Badges Loaded\nHighscores Loaded\n"},
        {"short with bad badges", "1|0|0|0|0|0|0|0|2|", "Badge Checksum Invalid\nHighscores Loaded\n"},
        {"only settings", Repeat("0", 24) + "0", "Settings Checksum Invalid\nHighscores Loaded\n"},
        {"cut inside a block", firstFields(35 + 21 + 10), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"},
        {"cut before the badge checksum", firstFields(34), "Settings Loaded\nHighscores Loaded\n"},
        {"not numbers", Repeat("abc", 203), "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n"},
        {"huge numbers", Repeat(nines, 203), "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n"},
        {"huge negative numbers", Repeat("-" + nines, 203),
         "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n"},
        {"separators only", std::string(5000, '|'),
         "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game->settings[Setting::overscanSetting] = 7;
        overscan = 3;
        Store(c.text);
        EXPECT_EQ(LoadLog(), c.log);
        EXPECT_EQ(game->settings[Setting::overscanSetting], 1);
        EXPECT_GE(game->settings[Setting::padX], 64);
        EXPECT_GE(game->settings[Setting::padY], 64);
        EXPECT_GE(game->settings[Setting::padSize], 8);
        EXPECT_EQ(overscan, 0.0f);
    }
}

// Fields without digits read as 0, and so does the checksum over a section
// of zeros: garbage would pass as valid settings with the sound switched off
// (audio mode 0). A checksum field must hold a number to match; a text of
// real zeros still loads as it stands.
TEST_F(SavedDataTest, OnlyANumberMatchesAChecksum) {
    struct Case {
        const char* name;
        std::string text;
        const char* log;
        int audioMode;
    } cases[] = {
        {"letters", Repeat("abc", 203), "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n", 1},
        {"empty fields", std::string(203, '|'),
         "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n", 1},
        {"signs and spaces", Repeat(" -", 203), "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscores Loaded\n",
         1},
        {"zeros", Repeat("0", 203), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n", 0},
        {"zeros with a signed checksum", Repeat("0", 25) + "+0|" + Repeat(" 0", 9),
         "Settings Loaded\nBadges Loaded\nHighscores Loaded\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store(c.text);
        EXPECT_EQ(LoadLog(), c.log);
        EXPECT_EQ(game->settings[Setting::audioMode], c.audioMode);
    }
}

TEST_F(SavedDataTest, SettingsKeepTheirValuesWhenTheTextIsTooShort) {
    game->settings[Setting::sfxVolume] = 2;
    game->settings[Setting::padX] = 10;
    Store("1|2|3");
    LoadLog();
    EXPECT_EQ(game->settings[Setting::sfxVolume], 2);
    EXPECT_EQ(game->settings[Setting::padX], 64) << "the corrections still apply";
}

TEST_F(SavedDataTest, AMegabyteOfRandomBytesLoadsWithoutHarm) {
    std::mt19937 random(8);
    for (int round = 0; round < 3; ++round) {
        std::string bytes(1 << 20, '\0');
        for (char& byte : bytes) byte = static_cast<char>(random());
        Store(bytes);
        std::string log = LoadLog();
        EXPECT_NE(log.find("Highscores Loaded\n"), std::string::npos);
        EXPECT_EQ(log.rfind("Highscores Loaded\n"), log.size() - 18) << "the last line";
        EXPECT_EQ(game->settings[Setting::overscanSetting], 1);
    }
    // The same straight into the reader, unit by unit, unrestricted by any decoding.
    std::u16string units(1 << 20, u'\0');
    for (char16_t& unit : units) unit = static_cast<char16_t>(random() % 3 == 0 ? u'|' : random());
    ReadSavedText(units, {game->settings, game->highscores, game->badges});
    EXPECT_EQ(game->settings[Setting::overscanSetting], 1);
}

TEST(SavedNumber, ReadsAsAtoiWithinThirtyTwoBitsAndSaturatesBeyond) {
    struct Case {
        std::u16string field;
        int value;
    } cases[] = {
        {u"42", 42},
        {u"  -17", -17},
        {u"+5", 5},
        {u"\t\n\v\f\r 8", 8},
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"- 5", 0},
        {u"--5", 0},
        {u"0000000000000000000000000000000000007", 7},
        {u"2147483647", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"2147483648", INT_MAX},
        {u"-2147483649", INT_MIN},
        {u"99999999999999999999999999999999999999999999999999999999999999999999", INT_MAX},
        {std::u16string(62, u'0') + u"7", 7},
        {std::u16string(63, u'0') + u"7", 0},  // the 7 is the 64th unit: not read
        {std::u16string(62, u' ') + u"7", 7},
        {u"\u0131\u0132", 12},   // units are cut to their low byte
        {u"\u0120-3", -3},       // ... so U+0120 is a space
        {u"1\u01002", 1},        // ... and U+0100 ends the number like a NUL
        {u"\u00a05", 0},         // a no-break space is not white space
    };
    for (const Case& c : cases) EXPECT_EQ(ReadSavedNumber(c.field), c.value) << std::string(c.field.begin(), c.field.end());
}

TEST(SavedNumber, AgreesWithAtoiOnEveryValueThatFits) {
    std::mt19937 random(3);
    const char alphabet[] = " \t+-0123456789x";
    for (int n = 0; n < 20000; ++n) {
        std::string bytes(random() % 13, ' ');
        for (char& byte : bytes) byte = alphabet[random() % (sizeof alphabet - 1)];
        long long wide = std::strtoll(bytes.c_str(), nullptr, 10);
        if (wide < INT_MIN || wide > INT_MAX) continue;
        EXPECT_EQ(ReadSavedNumber(std::u16string(bytes.begin(), bytes.end())), std::atoi(bytes.c_str())) << bytes;
    }
}

// Score entry into the lists of the current difficulty.
class LoadMenuTest : public SavedDataTest {
protected:
    int* Top(int difficulty) { return game->highscores + (difficulty - 1) * 10; }
    int* Last(int difficulty) { return game->highscores + 30 + (difficulty - 1) * 10; }
    void Enter(int difficulty, int score) {
        game->difficulty = difficulty;
        game->score = score;
        game->LoadMenu();
    }
};

TEST_F(LoadMenuTest, ZeroNeverEntersAnAllZeroTopTenButHeadsTheLastTen) {
    Last(1)[0] = 5;
    Enter(1, 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Top(1)[i], 0) << i;
    EXPECT_EQ(Last(1)[0], 0);
    EXPECT_EQ(Last(1)[1], 5);
}

TEST_F(LoadMenuTest, ATieGoesBelowAndTheLastEntryDropsOut) {
    for (int i = 0; i < 10; ++i) Top(2)[i] = 1000 - 100 * i;  // 1000, 900, ... 100
    for (int i = 0; i < 10; ++i) Last(2)[i] = i + 1;
    Enter(2, 1000);
    EXPECT_EQ(Top(2)[0], 1000);
    EXPECT_EQ(Top(2)[1], 1000);
    EXPECT_EQ(Top(2)[2], 900);
    EXPECT_EQ(Top(2)[9], 200) << "100 dropped out";
    EXPECT_EQ(Last(2)[0], 1000);
    for (int i = 1; i < 10; ++i) EXPECT_EQ(Last(2)[i], i) << "the last ten shift";
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Top(1)[i], 0) << "other difficulties are untouched";
}

TEST_F(LoadMenuTest, AScoreBelowAFullTopTenEntersOnlyTheLastTen) {
    for (int i = 0; i < 10; ++i) Top(3)[i] = 50;
    Enter(3, 50);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Top(3)[i], 50);
    EXPECT_EQ(Last(3)[0], 50);
    Enter(3, 51);
    EXPECT_EQ(Top(3)[0], 51);
    EXPECT_EQ(Top(3)[9], 50);
}

TEST_F(LoadMenuTest, EnteringAScoreSaves) {
    int saves = host.saves;
    Enter(2, 700);
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_EQ(Fields(Stored())[35 + 21], "700");
    EXPECT_EQ(Fields(Stored())[35 + 22], "700");
}
