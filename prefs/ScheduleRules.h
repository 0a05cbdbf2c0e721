#pragma once
// The rules of the schedule without threads or windows: how long an interval lasts, what a
// start-up run does, what an interval message does, and how the chain of interval threads
// is started and stopped. The main window supplies the actions through IScheduleHost; the
// clock and the waiting come in as functions, so the rules run against a clock under the
// caller's control.
#include <cstdint>
#include <functional>
#include <string>

#include "prefs/Schedule.h"

namespace qm {

// The whole seconds since 1970, and a wait of up to `ms` milliseconds that answers true
// when a stop was asked for during (or before) it.
using SecondsClock = std::function<long long()>;
using StopWait = std::function<bool(long long ms)>;

enum class WaitEnd { Elapsed, Stopped };
// Waits until the clock has passed `seconds` whole seconds after the second it started in,
// so the wait lasts between `seconds` - 1 and `seconds` + 1 seconds; ends earlier, with
// Stopped, as soon as `waitForStop` reports a stop. Waits in steps of at most a minute,
// reading the clock after each, so that a changed clock is followed.
WaitEnd WaitSeconds(long long seconds, const SecondsClock& now, const StopWait& waitForStop);

// What a start-up run does, by its start-up flag, the sound pool and the interval.
struct StartupCourse {
    bool randomizeDisplay = false;  // the wallpaper, then the screen saver, at once
    bool waitForSounds = false;     // the 90-second wait, then all sound schemes
    bool startInterval = false;     // stays in the notification area, randomizing every interval
    bool quitAfterStartup = false;  // the program ends when the run's work is done
    bool endNow = false;            // nothing is left to wait for: the program ends now
};
// `intervalCode` is the code of the preference string when timed randomization is on,
// and "none" otherwise.
StartupCourse DecideStartupCourse(bool startupRandomize, int soundFiles, const std::string& intervalCode);

// What an interval message does. wParam 1 is the answer to a stop; any other wParam is an
// elapse, which counts only when `generation` (the message's lParam) is current.
struct ElapseAction {
    bool acknowledgeStop = false;
    bool randomizeWallpaper = false;  // always before the sounds; never the screen saver
    bool randomizeSounds = false;
    bool startNext = false;
};
ElapseAction DecideElapse(std::uintptr_t wParam, unsigned generation, unsigned currentGeneration,
                          const std::string& prefs);

enum class ThreadPriority { Lowest, Normal };

// What the schedule asks of the main window.
class IScheduleHost {
public:
    virtual ~IScheduleHost() = default;
    virtual void MinimizeToTray() = 0;
    virtual void RestoreFromTray() = 0;
    virtual void SetUnattended(int on) = 0;
    virtual void RandomizeDisplaySettings() = 0;
    virtual void RandomizeWallpaper() = 0;
    virtual void RandomizeAllSchemes() = 0;
    virtual void StartStartupDelay() = 0;  // lowest priority; posts the delay message after 90 s
    // Posts the quit request when bQuitAfterStartup is set, else the start-up message.
    virtual void StartStartupSignal(ThreadPriority priority) = 0;
    // Starts an interval thread at the lowest priority that waits `seconds` and posts the
    // interval message with `generation` as lParam. False when the thread could not start.
    virtual bool StartIntervalThread(long long seconds, unsigned generation) = 0;
    // Handles the main window's messages until the interval thread asked to stop has
    // ended, for about a second at most.
    virtual void WaitForIntervalStop() = 0;
};

// The start-up run, the interval chain and its stops, over a ScheduleState.
class CScheduler {
public:
    CScheduler(ScheduleState& state, IScheduleHost& host) : m_state(state), m_host(host) {}

    // The start-up message: the course of the run by the start-up table.
    void OnStartupRandomize(int startupRandomize, int intervalRandomize, int soundFiles, const std::string& prefs);
    // The end of the 90-second wait: the sounds, then the end of the run when it is to end.
    void OnStartupDelayElapsed();
    // The interval message with its wParam and lParam.
    void OnIntervalElapsed(std::uintptr_t wParam, std::uintptr_t lParam, const std::string& prefs);
    // Puts `code` in force and, unless it is "none", starts the interval thread.
    void StartInterval(const std::string& code);
    // Stops a running interval thread and waits for its end. `forEnding` leaves the stop
    // request raised, as the program is ending; otherwise it is cleared for a restart.
    void StopInterval(bool forEnding);
    // The options changed the preference string to `prefs` (already stored): the interval
    // restarts from zero when timed randomization is on, and stops otherwise.
    void OnOptionsChanged(const std::string& prefs, int& intervalRandomize);
    // Windows asks whether the session may end (log-off, shutdown): from the yes on, no
    // scheduled randomization starts, so that none is cut off halfway by the end of the
    // process; the schedule itself goes on. The end of the session, or its cancellation
    // (`ending` false, after which everything carries on as before), follows.
    void OnQueryEndSession() { m_state.bSessionEnding = 1; }
    void OnEndSession(bool ending) {
        if (!ending) m_state.bSessionEnding = 0;
    }

private:
    bool Randomizing() const { return m_state.bSessionEnding == 0; }
    ScheduleState& m_state;
    IScheduleHost& m_host;
};

}  // namespace qm
