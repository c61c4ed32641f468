// Resource names, framework paths, text decoding and the saved state file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <csignal>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "host/data.h"
#include "host/qvglfwgame.h"
#include "host/text_codec.h"

namespace {

struct FixCase {
    const char16_t* in;
    const char16_t* out;
};

TEST(FixDataPath, PrefixesBareNamesOnly) {
    const FixCase cases[] = {
        {u"gfx.png", u"tarvik://data/gfx.png"},
        {u"sfx/001.wav", u"tarvik://data/sfx/001.wav"},
        {u"./save.txt", u"./save.txt"},
        {u"/etc/passwd", u"/etc/passwd"},
        {u"tarvik://data/gfx.png", u"tarvik://data/gfx.png"},
        {u"c:/games/x.png", u"c:/games/x.png"},
        {u"dir/a:/b", u"tarvik://data/dir/a:/b"},  // ":/" after the first "/" is no scheme
        {u"", u"tarvik://data/"},
    };
    for (const FixCase& c : cases) EXPECT_EQ(data::FixDataPath(c.in), String(c.out)) << ToUtf8(c.in);
}

std::string ExeFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    buffer[n] = 0;
    std::string path(buffer);
    return path.substr(0, path.rfind('/'));
}

TEST(PathToFilePath, MapsTheFrameworkAreasBesideTheExecutable) {
    QvGlfwGame host;
    String folder = FromUtf8(ExeFolder());
    struct Case {
        const char16_t* in;
        String out;
    } cases[] = {
        {u"tarvik://data/sfx/1.wav", folder + u"/data/sfx/1.wav"},
        {u"tarvik://internal/a.txt", folder + u"/internal/a.txt"},
        {u"tarvik://external/b.txt", folder + u"/external/b.txt"},
        {u"tarvik://elsewhere/c.txt", u""},
        {u"./.tarvikstate", u"./.tarvikstate"},
        {u"relative/file", u"relative/file"},
    };
    for (const Case& c : cases) EXPECT_EQ(host.PathToFilePath(c.in), c.out) << ToUtf8(c.in);
}

TEST(OpenFile, UnknownAreaOpensNothing) {
    QvGlfwGame host;
    EXPECT_EQ(host.OpenFile(u"tarvik://elsewhere/x", u"rb"), nullptr);
}

String Decode(const std::string& bytes) {
    return DecodeText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(DecodeText, FollowsTheByteOrderMarkOrFallsBackToBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        String text;
    } cases[] = {
        {"ascii", "abc", u"abc"},
        {"utf8 two and three bytes", "\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},
        {"utf8 with bom", "\xEF\xBB\xBFhi", u"hi"},
        {"utf16 le", std::string("\xFF\xFE" "A\0B\0", 6), u"AB"},
        {"utf16 be", std::string("\xFE\xFF\0A\0B", 6), u"AB"},
        {"utf16 le odd trailing byte", std::string("\xFF\xFE" "A\0B", 5), u"A"},
        {"utf16 be non-ascii", std::string("\xFE\xFF\x20\xAC", 4), u"\u20AC"},
        {"invalid utf8 gives one unit per byte", "a\xC3z", String(u"a\u00C3z")},
        {"four-byte form falls back", "\xF0\x9F\x98\x80", String(u"\u00F0\u009F\u0098\u0080")},
        {"cut-off sequence falls back", "ok\xE2\x82", String(u"ok\u00E2\u0082")},
        {"fallback keeps the bom bytes", "\xEF\xBB\xBF\xFF", String(u"\u00EF\u00BB\u00BF\u00FF")},
        {"empty", "", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.bytes), c.text) << c.name;
}

TEST(Utf8, EveryUnitIsEncodedOnItsOwn) {
    EXPECT_EQ(ToUtf8(u"A\u00E9\u20AC"), "A\xC3\xA9\xE2\x82\xAC");
    String loneSurrogate(1, char16_t(0xD800));
    EXPECT_EQ(ToUtf8(loneSurrogate), "\xED\xA0\x80");
    EXPECT_EQ(FromUtf8(ToUtf8(loneSurrogate)), loneSurrogate);
}

// Runs each test in a fresh temporary working directory, where the state file lives.
class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zt-host-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        ASSERT_EQ(getcwd(oldCwd, sizeof oldCwd), oldCwd);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        chmod(dir.c_str(), 0700);
        ASSERT_EQ(chdir(oldCwd), 0);
        std::string cleanup = "rm -rf '" + dir + "'";
        ASSERT_EQ(system(cleanup.c_str()), 0);
    }
    std::string ReadStateBytes() {
        std::ifstream in(".tarvikstate", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    QvGlfwGame host;
    std::string dir;
    char oldCwd[4096];
};

TEST_F(StateFileTest, MissingStateLoadsAsEmpty) { EXPECT_EQ(host.LoadState(), u""); }

TEST_F(StateFileTest, TextAbove127RoundTripsAsUtf8) {
    String text = u"1|2|caf\u00E9|\u20AC|";
    EXPECT_EQ(host.SaveState(text), 0);
    EXPECT_EQ(ReadStateBytes(), "1|2|caf\xC3\xA9|\xE2\x82\xAC|");
    EXPECT_EQ(host.LoadState(), text);
}

TEST_F(StateFileTest, SaveReplacesTheWholeFileAndLeavesNoTemporaries) {
    ASSERT_EQ(host.SaveState(u"a long first text"), 0);
    ASSERT_EQ(host.SaveState(u"short"), 0);
    EXPECT_EQ(ReadStateBytes(), "short");
    EXPECT_EQ(system("test $(ls -A | wc -l) -eq 1"), 0);
}

// A save killed before its rename leaves a temporary file; the next good save
// removes those older than a minute and nothing else.
TEST_F(StateFileTest, SaveRemovesStaleTemporariesOfKilledSaves) {
    struct Leftover {
        const char* name;
        int ageSeconds;
        bool removed;
    };
    const Leftover leftovers[] = {
        {".tarvikstate.a1B2c3", 3600, true},    // a save killed an hour ago
        {".tarvikstate.Zz9Yy8", 61, true},
        {".tarvikstate.q7W8e9", 5, false},      // another copy may be saving now
        {".tarvikstate.abc", 3600, false},      // not a temporary name
        {".tarvikstate.abcdefg", 3600, false},
        {".tarvikstate.ab-def", 3600, false},
        {"notes.a1B2c3", 3600, false},
    };
    for (const Leftover& leftover : leftovers) {
        FILE* file = fopen(leftover.name, "wb");
        ASSERT_NE(file, nullptr);
        fputs("half a save", file);
        fclose(file);
        struct timeval times[2];
        gettimeofday(&times[0], nullptr);
        times[0].tv_sec -= leftover.ageSeconds;
        times[1] = times[0];
        ASSERT_EQ(utimes(leftover.name, times), 0);
    }
    ASSERT_EQ(host.SaveState(u"scores"), 0);
    for (const Leftover& leftover : leftovers) {
        EXPECT_EQ(access(leftover.name, F_OK) != 0, leftover.removed) << leftover.name;
    }
    EXPECT_EQ(ReadStateBytes(), "scores");
}

TEST_F(StateFileTest, FailedSaveLeavesTheOldFileIntact) {
    ASSERT_EQ(host.SaveState(u"old scores"), 0);
    if (geteuid() == 0) {
        // root ignores directory permissions; use a directory where the temp can't be made
        ASSERT_EQ(chdir("/proc"), 0);
        EXPECT_EQ(host.SaveState(u"new"), -1);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    } else {
        ASSERT_EQ(chmod(dir.c_str(), 0500), 0);
        EXPECT_EQ(host.SaveState(u"new"), -1);
        ASSERT_EQ(chmod(dir.c_str(), 0700), 0);
    }
    EXPECT_EQ(ReadStateBytes(), "old scores");
}

TEST_F(StateFileTest, ShortWriteReportsMinusTwoAndKeepsTheOldFile) {
    ASSERT_EQ(host.SaveState(u"old scores"), 0);
    // A 1-byte file-size limit makes the write come up short.
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {1, 1};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(host.SaveState(u"much longer new text") == -2 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadStateBytes(), "old scores");
    EXPECT_EQ(system("test $(ls -A | wc -l) -eq 1"), 0);
}

TEST_F(StateFileTest, LoadStringReadsUtf16WithByteOrderMark) {
    FILE* file = fopen("text.txt", "wb");
    fwrite("\xFF\xFE" "h\0i\0", 1, 6, file);
    fclose(file);
    EXPECT_EQ(host.LoadString(u"./text.txt"), u"hi");
    EXPECT_EQ(host.LoadString(u"./missing.txt"), u"");
    auto bytes = host.LoadData(u"./text.txt");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 6u);
    EXPECT_FALSE(host.LoadData(u"./missing.txt").has_value());
}

TEST(GetDate, FillsAtMostSevenFields) {
    QvGame host;
    int date[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    host.GetDate(date, 9);
    EXPECT_GE(date[0], 2024);
    EXPECT_GE(date[1], 1);
    EXPECT_LE(date[1], 12);
    EXPECT_EQ(date[6], 0);
    EXPECT_EQ(date[7], -1);
    int shortDate[2] = {-1, -1};
    host.GetDate(shortDate, 1);
    EXPECT_EQ(shortDate[1], -1);
}

}  // namespace
