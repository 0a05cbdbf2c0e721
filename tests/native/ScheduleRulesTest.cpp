// The schedule against a clock under the test's control: interval lengths, the start-up
// table, the interval messages, and one chain of interval threads through stops and restarts.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "prefs/Preferences.h"
#include "prefs/ScheduleRules.h"

namespace qm::test {

// A wait that takes more steps than this never ends by itself: the clock stops it, so that
// the test fails instead of hanging.
const int kMaxWaits = 10000;

// Real time in milliseconds; the program sees only whole seconds of it. A stop may be
// planned for a moment, and a wait that reaches that moment ends there with true.
struct ControlledClock {
    long long ms = 0;
    long long stopAtMs = -1;
    int waits = 0;

    SecondsClock Seconds() {
        return [this] { return ms / 1000; };
    }
    StopWait Waiter() {
        return [this](long long wait) {
            if (++waits > kMaxWaits || wait <= 0) {
                ADD_FAILURE() << "step " << waits << " waits " << wait << " ms";
                return true;
            }
            if (stopAtMs >= 0 && stopAtMs <= ms + wait) {
                ms = std::max(ms, stopAtMs);
                return true;
            }
            ms += wait;
            return false;
        };
    }
};

TEST(IntervalLength, CodesGiveTheirSeconds) {
    EXPECT_EQ(IntervalSeconds("15s"), 15);
    EXPECT_EQ(IntervalSeconds("30s"), 30);
    EXPECT_EQ(IntervalSeconds("1m"), 60);
    EXPECT_EQ(IntervalSeconds("10m"), 600);
    EXPECT_EQ(IntervalSeconds("5h"), 18000);
    EXPECT_EQ(IntervalSeconds("24h"), 86400);
    EXPECT_EQ(IntervalSeconds(""), 0);
}

TEST(IntervalWait, EndsBetweenOneSecondLessAndOneSecondMore) {
    // From the very start and from the very end of a clock second.
    for (long long offset : {0LL, 1LL, 500LL, 999LL}) {
        ControlledClock clock;
        clock.ms = 1700000000000LL + offset;
        const long long start = clock.ms;
        EXPECT_EQ(WaitSeconds(15, clock.Seconds(), clock.Waiter()), WaitEnd::Elapsed);
        const long long took = clock.ms - start;
        EXPECT_GE(took, 14000) << "offset " << offset;
        EXPECT_LE(took, 16000) << "offset " << offset;
    }
}

TEST(IntervalWait, ALongIntervalWakesSeldom) {
    ControlledClock clock;
    clock.ms = 5000;
    EXPECT_EQ(WaitSeconds(86400, clock.Seconds(), clock.Waiter()), WaitEnd::Elapsed);
    EXPECT_GE(clock.ms - 5000, 86399000);
    EXPECT_LE(clock.waits, 86400 / 60 + 1) << "the wait must not poll every second";
}

TEST(IntervalWait, AStopIsAnsweredAtOnce) {
    ControlledClock clock;
    clock.ms = 10000;
    clock.stopAtMs = 13250;
    EXPECT_EQ(WaitSeconds(3600, clock.Seconds(), clock.Waiter()), WaitEnd::Stopped);
    EXPECT_EQ(clock.ms, 13250);
    // A stop raised before the wait began ends it on its first step.
    ControlledClock early;
    early.stopAtMs = 0;
    EXPECT_EQ(WaitSeconds(15, early.Seconds(), early.Waiter()), WaitEnd::Stopped);
    EXPECT_EQ(early.waits, 1);
}

TEST(IntervalWait, AClockThatJumpsBackIsFollowed) {
    long long seconds = 100;
    int waits = 0;
    WaitEnd end = WaitSeconds(
        10, [&] { return seconds; },
        [&](long long ms) {
            if (++waits == 1) seconds = 50;  // the user set the clock back during the first step
            else seconds += ms / 1000;
            return waits > kMaxWaits;
        });
    EXPECT_EQ(end, WaitEnd::Elapsed);
    EXPECT_EQ(seconds, 110) << "the interval ends by the clock, not by the steps taken";
}

// The main window as the schedule sees it: every action in order, and the interval
// threads it was asked to start, whose messages the test posts to a queue of its own.
struct Message {
    std::uintptr_t wParam;
    std::uintptr_t lParam;
};

struct RecordingHost : IScheduleHost {
    std::vector<std::string> actions;
    std::vector<unsigned> startedGenerations;
    std::vector<long long> startedSeconds;
    int unattended = 0;
    std::vector<int> unattendedWhileRandomizing;
    bool threadsStart = true;
    // What the stop wait dispatches, as the main window's queue would.
    std::deque<Message> queue;
    CScheduler* scheduler = nullptr;
    std::string prefs;

    void MinimizeToTray() override { actions.push_back("tray"); }
    void RestoreFromTray() override { actions.push_back("restore"); }
    void SetUnattended(int on) override { unattended = on; }
    void RandomizeDisplaySettings() override { Randomized("display"); }
    void RandomizeWallpaper() override { Randomized("wallpaper"); }
    void RandomizeAllSchemes() override { Randomized("sounds"); }
    void StartStartupDelay() override { actions.push_back("delay"); }
    void StartStartupSignal(ThreadPriority priority) override {
        actions.push_back(priority == ThreadPriority::Normal ? "signal normal" : "signal lowest");
    }
    bool StartIntervalThread(long long seconds, unsigned generation) override {
        actions.push_back("interval");
        startedSeconds.push_back(seconds);
        startedGenerations.push_back(generation);
        return threadsStart;
    }
    void WaitForIntervalStop() override {
        actions.push_back("wait");
        while (!queue.empty()) {
            Message m = queue.front();
            queue.pop_front();
            scheduler->OnIntervalElapsed(m.wParam, m.lParam, prefs);
        }
    }
    void Randomized(const char* what) {
        actions.push_back(what);
        unattendedWhileRandomizing.push_back(unattended);
    }
};

using Actions = std::vector<std::string>;

struct StartupRow {
    int startupFlag;
    int soundFiles;
    const char* prefs;
    Actions actions;
    int quitAfterStartup;
    int intervalRunning;
};

TEST(StartupRun, EachRowOfTheTable) {
    const StartupRow rows[] = {
        // flag off, no interval: icon removed, window shown, ends at once
        {0, 3, "nnn|", {"tray", "restore", "signal lowest"}, 1, 0},
        // flag off, interval: stays, randomizing every interval
        {0, 0, "nyn2", {"tray", "interval"}, 0, 1},
        // flag on, empty sound pool, no interval: display, then ends at once
        {1, 0, "ynn|", {"tray", "display", "restore", "signal lowest"}, 1, 0},
        // flag on, empty sound pool, interval: display, stays
        {1, 0, "yny12", {"tray", "display", "interval"}, 0, 1},
        // flag on, sounds, no interval: display, the 90-second wait, then ends
        {1, 2, "ynn|", {"tray", "display", "delay"}, 1, 0},
        // flag on, sounds, interval: display, the wait, and the interval
        {1, 2, "yyn0", {"tray", "display", "delay", "interval"}, 0, 1},
    };
    for (const StartupRow& row : rows) {
        SCOPED_TRACE(row.prefs + std::string(" sounds ") + std::to_string(row.soundFiles));
        ScheduleState state;
        RecordingHost host;
        CScheduler scheduler(state, host);
        const std::string prefs = row.prefs;
        scheduler.OnStartupRandomize(row.startupFlag, TimedRandomizationOn(prefs), row.soundFiles, prefs);
        EXPECT_EQ(host.actions, row.actions);
        EXPECT_EQ(state.bQuitAfterStartup, row.quitAfterStartup);
        EXPECT_EQ(state.bRunning, row.intervalRunning);
        for (int on : host.unattendedWhileRandomizing) EXPECT_EQ(on, 1) << "no message box at start-up";
        EXPECT_EQ(host.unattended, 0);
    }
}

TEST(StartupRun, AnIntervalIndexOutsideTheTableCountsAsNoInterval) {
    ScheduleState state;
    RecordingHost host;
    CScheduler scheduler(state, host);
    scheduler.OnStartupRandomize(0, 1, 0, "nyn13");
    EXPECT_EQ(host.actions, (Actions{"tray", "restore", "signal lowest"}));
    EXPECT_EQ(state.strInterval, "none");
}

TEST(StartupRun, TheSoundWaitEndsTheRunOnlyWhenItIsToEnd) {
    for (int quit : {1, 0}) {
        ScheduleState state;
        RecordingHost host;
        CScheduler scheduler(state, host);
        state.bQuitAfterStartup = quit;
        scheduler.OnStartupDelayElapsed();
        const Actions expected = quit ? Actions{"sounds", "restore", "signal normal"} : Actions{"sounds"};
        EXPECT_EQ(host.actions, expected);
        ASSERT_EQ(host.unattendedWhileRandomizing.size(), 1u);
        EXPECT_EQ(host.unattendedWhileRandomizing[0], 0);
    }
}

class IntervalChain : public ::testing::Test {
protected:
    IntervalChain() : scheduler(state, host) { host.scheduler = &scheduler; }
    void Post(std::uintptr_t wParam, unsigned generation) { host.queue.push_back({wParam, generation}); }
    void DispatchAll() {
        while (!host.queue.empty()) {
            Message m = host.queue.front();
            host.queue.pop_front();
            scheduler.OnIntervalElapsed(m.wParam, m.lParam, host.prefs);
        }
    }
    unsigned Newest() const { return host.startedGenerations.back(); }
    // The thread posted its elapse and ended before the options were confirmed with `prefs`:
    // the options path finds nothing running, so it waits for nothing, and the elapse is
    // dispatched after it.
    void ConfirmOptionsWithAnElapseQueued(const std::string& prefs) {
        host.prefs = "nyn0";
        scheduler.StartInterval("15s");
        Post(0, Newest());
        state.EndIntervalThread(Newest());
        const std::deque<Message> queued = host.queue;
        host.queue.clear();
        host.prefs = prefs;
        int intervalRandomize = 1;
        scheduler.OnOptionsChanged(host.prefs, intervalRandomize);
        host.queue = queued;
        DispatchAll();
    }
    int Count(const std::string& action) const {
        return static_cast<int>(std::count(host.actions.begin(), host.actions.end(), action));
    }

    ScheduleState state;
    RecordingHost host;
    CScheduler scheduler;
};

TEST_F(IntervalChain, AnElapseRandomizesTheWallpaperThenTheSoundsAndStartsTheNextThread) {
    host.prefs = "yyy3";
    scheduler.StartInterval("5m");
    ASSERT_EQ(host.startedSeconds, (std::vector<long long>{300}));
    Post(0, Newest());
    DispatchAll();
    EXPECT_EQ(host.actions, (Actions{"interval", "wallpaper", "sounds", "interval"}));
    EXPECT_EQ(host.unattendedWhileRandomizing, (std::vector<int>{1, 1}));
    EXPECT_EQ(host.unattended, 0);
    EXPECT_EQ(host.startedSeconds.back(), 300) << "the next thread keeps the interval";
    EXPECT_NE(host.startedGenerations[0], host.startedGenerations[1]);
}

TEST_F(IntervalChain, OnlyTheSwitchedOnPartsChangeAndNeverTheScreenSaver) {
    host.prefs = "nny0";
    scheduler.StartInterval("15s");
    Post(0, Newest());
    DispatchAll();
    EXPECT_EQ(host.actions, (Actions{"interval", "sounds", "interval"}));
    host.prefs = "yyn0";
    Post(0, Newest());
    DispatchAll();
    EXPECT_EQ(Count("wallpaper"), 1);
    EXPECT_EQ(Count("display"), 0);
}

// Between the session's end being asked for and its cancellation an elapse randomizes
// nothing, and the chain goes on so that a cancelled log-off keeps the schedule.
TEST_F(IntervalChain, WhileTheSessionEndsNoElapseRandomizesAndACancelCarriesOn) {
    host.prefs = "yyy0";
    scheduler.StartInterval("15s");
    scheduler.OnQueryEndSession();
    Post(0, Newest());
    DispatchAll();
    scheduler.OnStartupDelayElapsed();
    EXPECT_EQ(host.actions, (Actions{"interval", "interval"}));
    scheduler.OnEndSession(false);
    Post(0, Newest());
    DispatchAll();
    EXPECT_EQ(host.actions, (Actions{"interval", "interval", "wallpaper", "sounds", "interval"}));
}

TEST_F(IntervalChain, AnyWParamButOneIsAnElapse) {
    host.prefs = "nyn0";
    scheduler.StartInterval("15s");
    Post(2, Newest());
    DispatchAll();
    EXPECT_EQ(host.actions, (Actions{"interval", "wallpaper", "interval"}));
}

TEST_F(IntervalChain, AStopIsAnsweredWithWParamOneAndRandomizesNothing) {
    host.prefs = "yyy0";
    scheduler.StartInterval("15s");
    Post(1, Newest());  // the thread's answer to the stop
    scheduler.StopInterval(false);
    EXPECT_EQ(host.actions, (Actions{"interval", "wait"}));
    EXPECT_EQ(state.bStopAck, 1);
    EXPECT_EQ(state.bRunning, 0);
    EXPECT_EQ(state.bStopRequest, 0) << "the options path clears the request for its restart";
}

TEST_F(IntervalChain, AnElapseStillQueuedWhenTheOptionsRestartIsStale) {
    ConfirmOptionsWithAnElapseQueued("yyn0");
    EXPECT_EQ(Count("interval"), 2) << "one chain: the queued elapse must not start a second thread";
    EXPECT_EQ(Count("wallpaper"), 0);
    EXPECT_EQ(state.bRunning, 1);
    // The new thread's own elapse still counts.
    Post(0, Newest());
    DispatchAll();
    EXPECT_EQ(Count("interval"), 3);
    EXPECT_EQ(Count("wallpaper"), 1);
}

TEST_F(IntervalChain, AnElapseDispatchedDuringTheOptionsStopIsStale) {
    host.prefs = "nyn0";
    int intervalRandomize = 1;
    scheduler.StartInterval("15s");
    Post(0, Newest());  // posted just before the stop request; the thread has not ended yet
    scheduler.OnOptionsChanged("nyn2", intervalRandomize);
    EXPECT_EQ(host.actions, (Actions{"interval", "wait", "interval"}));
    EXPECT_EQ(host.startedSeconds.back(), 60);
    EXPECT_EQ(state.strInterval, "1m");
}

TEST_F(IntervalChain, TurningTimedRandomizationOffStopsAndStartsNoneEvenWithAQueuedElapse) {
    ConfirmOptionsWithAnElapseQueued("nnn|");
    EXPECT_EQ(Count("interval"), 1);
    EXPECT_EQ(state.bRunning, 0);
}

TEST_F(IntervalChain, DestroyWhileAnElapseIsDispatchedByTheStopLeavesNoThread) {
    // The elapse was posted just before the destroy; the stop's wait dispatches it.
    host.prefs = "nyn0";
    scheduler.StartInterval("15s");
    Post(0, Newest());
    scheduler.StopInterval(true);
    EXPECT_EQ(host.actions, (Actions{"interval", "wait"}));
    EXPECT_EQ(state.bRunning, 0);
    EXPECT_EQ(state.bStopRequest, 1) << "the ending leaves the request raised";
}

TEST_F(IntervalChain, DestroyAfterTheThreadEndedStillMakesAQueuedElapseStale) {
    host.prefs = "nyn0";
    scheduler.StartInterval("15s");
    const unsigned generation = Newest();
    state.EndIntervalThread(generation);
    scheduler.StopInterval(true);
    Post(0, generation);
    DispatchAll();
    EXPECT_EQ(Count("interval"), 1);
    EXPECT_EQ(Count("wallpaper"), 0);
}

TEST_F(IntervalChain, ALateEndOfAnOldThreadDoesNotHideTheRunningOne) {
    host.prefs = "nyn0";
    scheduler.StartInterval("15s");
    const unsigned first = Newest();
    Post(0, first);
    DispatchAll();  // the elapse starts the next thread before the first one has ended
    state.EndIntervalThread(first);
    EXPECT_EQ(state.bRunning, 1);
    // So a stop still waits for the running thread.
    scheduler.StopInterval(true);
    EXPECT_EQ(Count("wait"), 1);
}

TEST_F(IntervalChain, AStopDuringTheRandomizingStartsNoNewThread) {
    // A randomizer that lets the stop in (as a message box loop would).
    struct StoppingHost : RecordingHost {
        ScheduleState* state = nullptr;
        void RandomizeWallpaper() override {
            RecordingHost::RandomizeWallpaper();
            state->BeginStop();
        }
    } stopping;
    stopping.state = &state;
    CScheduler local(state, stopping);
    local.StartInterval("15s");
    local.OnIntervalElapsed(0, stopping.startedGenerations.back(), "nyn0");
    EXPECT_EQ(stopping.actions, (Actions{"interval", "wallpaper"}));
}

TEST_F(IntervalChain, NoneStartsNoThreadAndAFailedStartLeavesNothingRunning) {
    scheduler.StartInterval("none");
    EXPECT_TRUE(host.actions.empty());
    EXPECT_EQ(state.strInterval, "none");
    host.threadsStart = false;
    scheduler.StartInterval("15s");
    EXPECT_EQ(state.bRunning, 0);
    scheduler.StopInterval(true);
    EXPECT_EQ(Count("wait"), 0) << "nothing runs, so nothing is waited for";
}

}  // namespace qm::test
