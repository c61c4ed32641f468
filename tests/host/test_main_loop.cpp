// The main loop's schedule, driven by a scripted clock: how many updates a
// pass runs, when it sleeps, and how suspension and rate changes reset it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/qvglfwgame.h"

namespace {

class ScriptedPlatform : public LoopPlatform {
public:
    double Time() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        now += seconds;
    }
    void PollEvents() override { log->push_back("poll"); }
    void WaitEvents() override { log->push_back("wait"); }
    bool WindowOpen() override { return true; }
    bool WindowActive() override { return active; }
    void SwapBuffers() override { log->push_back("swap"); }

    double now = 100.0;
    bool active = true;
    std::vector<double> sleeps;
    std::vector<std::string>* log = nullptr;
};

class RecordingDelegate : public QvGameDelegate {
public:
    void StartGame() override { log->push_back("start"); }
    void SuspendGame() override { log->push_back("suspend"); }
    void ResumeGame() override { log->push_back("resume"); }
    void UpdateGame() override {
        log->push_back("update");
        updates += 1;
        if (onUpdate) onUpdate();
    }
    void RenderGame() override { log->push_back("render"); }

    int updates = 0;
    std::function<void()> onUpdate;
    std::vector<std::string>* log = nullptr;
};

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.log = &log;
        delegate.log = &log;
        host.SetLoopPlatform(&platform);
        host.SetDelegate(&delegate);
        host.StartGame();
        log.clear();
    }

    // Runs one pass and returns the updates it ran.
    int Pass() {
        int before = delegate.updates;
        host.RunPass();
        return delegate.updates - before;
    }

    ScriptedPlatform platform;
    RecordingDelegate delegate;
    QvGlfwGame host;
    std::vector<std::string> log;
};

TEST_F(MainLoopTest, RateZeroRunsOneUpdatePerPassWithoutSleeping) {
    host.SetUpdateRate(0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Pass(), 1);
    EXPECT_TRUE(platform.sleeps.empty());
}

TEST_F(MainLoopTest, SteadyClockGivesOneUpdatePerPeriod) {
    host.SetUpdateRate(60);
    EXPECT_EQ(Pass(), 1);  // the first pass schedules from the clock and runs one update
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Pass(), 1);
    // Every pass after the first slept until its update was due.
    ASSERT_EQ(platform.sleeps.size(), 10u);
    for (double slept : platform.sleeps) EXPECT_NEAR(slept, 1.0 / 60, 1e-9);
}

TEST_F(MainLoopTest, RenderingComesBeforeTheUpdatesOfAPass) {
    host.SetUpdateRate(60);
    Pass();
    std::vector<std::string> expected = {"render", "swap", "poll", "update"};
    EXPECT_EQ(log, expected);
}

TEST_F(MainLoopTest, LongStallRunsAtMostFourUpdatesThenDropsTheBacklog) {
    host.SetUpdateRate(60);
    Pass();
    delegate.onUpdate = [&] {
        platform.now += 2.0;  // one update stalls for two seconds
        delegate.onUpdate = nullptr;
    };
    EXPECT_EQ(Pass(), 4);
    EXPECT_EQ(host.NextUpdate(), 0.0);  // the schedule restarts from the clock
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(Pass(), 1);
}

TEST_F(MainLoopTest, SlowMachineCatchesUpInBoundedSteps) {
    host.SetUpdateRate(60);
    Pass();
    platform.now += 3.5 / 60;  // a slow frame: three and a half periods late
    int updates = Pass();
    EXPECT_GE(updates, 3);
    EXPECT_LE(updates, 4);
}

TEST_F(MainLoopTest, RateChangeInsideAnUpdateEndsTheCatchUp) {
    host.SetUpdateRate(60);
    Pass();
    platform.now += 1.0;  // far behind: would run four updates
    delegate.onUpdate = [&] {
        host.SetUpdateRate(30);
        delegate.onUpdate = nullptr;
    };
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(host.NextUpdate(), 0.0);
}

TEST_F(MainLoopTest, SuspendedHostRendersButDoesNotUpdate) {
    host.SetUpdateRate(60);
    Pass();
    platform.active = false;
    log.clear();
    EXPECT_EQ(Pass(), 0);
    EXPECT_TRUE(host.Suspended());
    std::vector<std::string> firstPass = {"render", "swap", "poll", "suspend"};
    EXPECT_EQ(log, firstPass);
    log.clear();
    EXPECT_EQ(Pass(), 0);
    std::vector<std::string> whileSuspended = {"render", "swap", "wait"};  // blocks for events, no sleep
    EXPECT_EQ(log, whileSuspended);
}

TEST_F(MainLoopTest, ResumeRestartsTheScheduleAndUpdatesInTheSamePass) {
    host.SetUpdateRate(60);
    Pass();
    platform.active = false;
    Pass();
    platform.now += 30.0;  // a long time away
    platform.active = true;
    log.clear();
    EXPECT_EQ(Pass(), 1);  // no catch-up for the time spent suspended
    std::vector<std::string> expected = {"render", "swap", "wait", "resume", "update"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(host.Suspended());
}

TEST_F(MainLoopTest, MillisecsTruncatesTheClock) {
    platform.now = 12.3456;
    EXPECT_EQ(host.Millisecs(), 12345);
}

}  // namespace
