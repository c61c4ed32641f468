// Crash safety of the state file: a child process saves over and over through
// the game's Save and the host's SaveState, alternating two different
// records, and is killed with SIGKILL at a random moment; after every kill
// the file must hold exactly one of the two saved texts, and the game's Load
// must read it back with every checksum valid.
//
//   build/tests/test_save_kill                       # 200 kills (CTest)
//   ZT_SAVE_KILLS=1000 build/tests/test_save_kill    # the long run
//
// It also counts the kills that landed inside a save (they leave the
// unfinished temporary file behind; a later save removes it once it is a
// minute old).
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/saved_text.h"
#include "tests/support/fake_host.h"

namespace {

int EnvInt(const char* name, int fallback) {
    const char* value = getenv(name);
    return value && *value ? atoi(value) : fallback;
}

struct Records {
    int settings[kSettingCount] = {};
    int highscores[kHighscoreCount] = {};
    bool badges[kBadgeCount] = {};
};

// Two records that differ in every section: fresh start values, and a
// played game with changed options, scores in all three lists and badges
// (bit 31 of a word included, which is written as a negative number).
Records FreshRecords() {
    Records r;
    r.settings[5] = 1;
    r.settings[10] = r.settings[11] = 64;
    r.settings[12] = 10;
    r.settings[14] = 1;
    return r;
}

Records PlayedRecords() {
    Records r = FreshRecords();
    r.settings[6] = 2, r.settings[7] = 1, r.settings[15] = 1;
    for (int list = 0; list < 3; ++list) {
        for (int k = 0; k < 10; ++k) r.highscores[10 * list + k] = 5000 - 450 * k + list;
        for (int k = 0; k < 10; ++k) r.highscores[30 + 10 * list + k] = 100 * (k + 1) + list;
    }
    for (int id : {0, 5, 31, 64, 200, 255}) r.badges[id] = true;
    return r;
}

void PutInto(MyApp& game, const Records& r) {
    std::copy(std::begin(r.settings), std::end(r.settings), game.settings);
    std::copy(std::begin(r.highscores), std::end(r.highscores), game.highscores);
    std::copy(std::begin(r.badges), std::end(r.badges), game.badges);
}

bool SameAs(const MyApp& game, const Records& r) {
    // Entries 60.. of the store are never read back.
    return std::equal(std::begin(r.settings), std::end(r.settings), game.settings) &&
           std::equal(r.highscores, r.highscores + 60, game.highscores) &&
           std::equal(std::begin(r.badges), std::end(r.badges), game.badges);
}

std::string SavedBytes(Records r) { return ToUtf8(WriteSavedText({r.settings, r.highscores, r.badges})); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The game's Load, with what it prints to standard output.
std::string LoadAndLog(MyApp& game, const std::string& logPath) {
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    FILE* log = fopen(logPath.c_str(), "w");
    dup2(fileno(log), STDOUT_FILENO);
    game.Load();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    fclose(log);
    return ReadFile(logPath);
}

// Leftover temporary files of interrupted saves; removes them.
int SweepUnfinishedSaves(const std::string& folder) {
    int found = 0;
    DIR* dir = opendir(folder.c_str());
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.rfind(".tarvikstate.", 0) != 0) continue;
        found += 1;
        unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
    return found;
}

// The child: saves the two records in turn until it is killed. It tells the
// parent once the first save is done, so the file exists from then on.
[[noreturn]] void SaveForever(MyApp& game, int readyFd) {
    const Records records[2] = {FreshRecords(), PlayedRecords()};
    for (long i = 0;; ++i) {
        PutInto(game, records[i % 2]);
        game.Save();
        if (i == 0) {
            char ready = 1;
            if (write(readyFd, &ready, 1) != 1) _exit(2);
            close(readyFd);
        }
    }
}

}  // namespace

TEST(SaveKill, StateFileSurvivesAKillAtAnyMomentOfASave) {
    const int kills = EnvInt("ZT_SAVE_KILLS", 200);
    FakeHost host;
    MyApp* game = host.CreateApp<MyApp>();
    DebugMode = 0;

    char folderTemplate[] = "/tmp/zt-save-kill-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string folder = folderTemplate;
    host.stateFile = folder + "/.tarvikstate";
    const std::string logPath = folder + "/load.log";
    const std::string texts[2] = {SavedBytes(FreshRecords()), SavedBytes(PlayedRecords())};
    const Records expected[2] = {FreshRecords(), PlayedRecords()};
    ASSERT_NE(texts[0], texts[1]);

    std::mt19937 rng(EnvInt("ZT_SAVE_KILL_SEED", 1));
    // One save takes a few milliseconds (most of it waiting for the disk);
    // the kill falls anywhere within the next dozen or so.
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int seen[2] = {}, interrupted = 0;
    auto started = std::chrono::steady_clock::now();

    for (int kill = 0; kill < kills; ++kill) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        fflush(stdout);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            SaveForever(*game, ready[1]);
        }
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the saving child died before its first save";
        close(ready[0]);
        usleep(static_cast<useconds_t>(delayUs(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended on its own";

        std::string onDisk = ReadFile(host.stateFile);
        int which = onDisk == texts[0] ? 0 : onDisk == texts[1] ? 1 : -1;
        ASSERT_NE(which, -1) << "kill " << kill << " left a state file that is neither text (" << onDisk.size()
                             << " bytes): " << onDisk.substr(0, 80);
        seen[which] += 1;

        PutInto(*game, Records());  // nothing left over from the last load
        std::string log = LoadAndLog(*game, logPath);
        ASSERT_EQ(log, "Settings Loaded\nBadges Loaded\nHighscores Loaded\n") << "after kill " << kill;
        ASSERT_TRUE(SameAs(*game, expected[which])) << "Load read other records than were saved, kill " << kill;
        interrupted += SweepUnfinishedSaves(folder);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printf("save-kill: %d kills in %.1f s; the file held the fresh records %d times and the played ones %d times; "
           "%d kills landed inside a save\n",
           kills, seconds, seen[0], seen[1], interrupted);

    unlink(host.stateFile.c_str());
    unlink(logPath.c_str());
    rmdir(folder.c_str());
    delete game;
}
