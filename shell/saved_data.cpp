// Saved settings, high scores and badge flags: Save writes the three records
// as the saved text (shell/saved_text.h) into the host's persisted state,
// Load reads them back once at start-up, LoadMenu enters a finished game's
// score and saves.
//
//   game->Load();        // OnCreate, after the records hold their start values
//   game->Save();        // whenever saved data changed, and on suspension
//   game->LoadMenu();    // a game just ended: score into the lists, then Save
//
// Nothing is saved at exit, so every change that matters is followed by Save.
#include <algorithm>

#include "host/app.h"
#include "host/qv.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/saved_text.h"

namespace {

constexpr int kListLength = 10;
constexpr int kLastTenOffset = 30;

SavedRecords RecordsOf(MyApp& game) { return {game.settings, game.highscores, game.badges}; }

// Shifts list[from..8] one place down (the last entry drops out) and puts value at from.
void InsertIntoList(int* list, int from, int value) {
    std::copy_backward(list + from, list + kListLength - 1, list + kListLength);
    list[from] = value;
}

}  // namespace

int MyApp::Save() {
    String text = WriteSavedText(RecordsOf(*this));
    if (DebugMode == 1) qvPrint(text);
    app::SaveState(text);
    return 0;
}

int MyApp::Load() {
    String text = app::LoadState();
    if (DebugMode == 1) qvPrint(text);
    SavedTextReport report = ReadSavedText(text, RecordsOf(*this));
    overscan = 0.0f;
    if (report.settings != SavedSection::absent) {
        qvPrint(report.settings == SavedSection::loaded ? u"Settings Loaded" : u"Settings Checksum Invalid");
    }
    if (report.badges != SavedSection::absent) {
        qvPrint(report.badges == SavedSection::loaded ? u"Badges Loaded" : u"Badge Checksum Invalid");
    }
    qvPrint(u"Highscores Loaded");
    return 0;
}

int MyApp::LoadMenu() {
    // The menu keeps difficulty in 1..3; any other value has no list to enter.
    if (difficulty >= 1 && difficulty <= 3) {
        int* top = highscores + (difficulty - 1) * kListLength;
        // A score equal to an entry goes below it, so 0 never enters a list of zeros.
        int* rank = std::find_if(top, top + kListLength, [&](int entry) { return entry < score; });
        if (rank != top + kListLength) InsertIntoList(top, static_cast<int>(rank - top), score);
        InsertIntoList(top + kLastTenOffset, 0, score);
    }
    Save();
    return 0;
}
