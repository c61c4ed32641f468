// A tick of play and its frame allocate nothing on the heap, even at their
// busiest: operator new is counted while a test holds an AllocationCount.
#include <gtest/gtest.h>

#include <memory>

#include "tests/game/busy_game.h"
#include "tests/support/allocation_count.h"

namespace {

// The heap allocations made by a run of ticks, each with its frame.
long AllocationsOver(FakeHost& host, int ticks) {
    AllocationCount count;
    for (int i = 0; i < ticks; ++i) {
        host.clockMs += 16;
        host.Tick();
        host.Frame();
    }
    return count.Made();
}

}  // namespace


TEST(NoAllocationInPlay, BusyTicksAndTheirFramesAllocateNothing) {
    FakeHost host;
    std::unique_ptr<MyApp> game(host.CreateApp<MyApp>());
    BusyGame busy(host, *game);
    busy.Restore();
    host.Tick();  // the first plays fill the channels' sources
    busy.Restore();
    EXPECT_EQ(AllocationsOver(host, 30), 0);
}

TEST(NoAllocationInPlay, ThePauseMenuAndTheBannerAllocateNothing) {
    FakeHost host;
    std::unique_ptr<MyApp> game(host.CreateApp<MyApp>());
    BusyGame busy(host, *game);
    busy.Restore();
    host.PressKey(27);  // pause
    host.Tick();
    host.ReleaseKey(27);
    EXPECT_EQ(AllocationsOver(host, 20), 0) << "pause menu";
    game->paused = 0;
    game->gameEnded = 1;
    game->score = 1000;  // a new highscore: its line is drawn too
    host.Tick();
    EXPECT_EQ(AllocationsOver(host, 60), 0) << "game-over banner";
}
