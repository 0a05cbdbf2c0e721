#include "prefs/ScheduleRules.h"

#include <algorithm>

#include "prefs/Preferences.h"

namespace qm {

namespace {
constexpr long long kLongestWaitStepMs = 60 * 1000;
}

WaitEnd WaitSeconds(long long seconds, const SecondsClock& now, const StopWait& waitForStop) {
    const long long end = now() + seconds;
    for (long long current = end - seconds; current < end; current = now()) {
        // Up to the start of the last second, read in whole seconds; the clock is read again
        // after every step, so a step that ends early only costs another step.
        const long long step = std::min((end - current) * 1000, kLongestWaitStepMs);
        if (waitForStop(step)) return WaitEnd::Stopped;
    }
    return WaitEnd::Elapsed;
}

StartupCourse DecideStartupCourse(bool startupRandomize, int soundFiles, const std::string& intervalCode) {
    StartupCourse course;
    course.randomizeDisplay = startupRandomize;
    course.waitForSounds = startupRandomize && soundFiles > 0;
    course.startInterval = intervalCode != kNoInterval;
    course.quitAfterStartup = !course.startInterval;
    course.endNow = course.quitAfterStartup && !course.waitForSounds;
    return course;
}

ElapseAction DecideElapse(std::uintptr_t wParam, unsigned generation, unsigned currentGeneration,
                          const std::string& prefs) {
    ElapseAction action;
    if (wParam == 1) {
        action.acknowledgeStop = true;
        return action;
    }
    if (generation != currentGeneration) return action;  // a stopped or replaced thread's elapse
    action.randomizeWallpaper = WallpaperOnInterval(prefs);
    action.randomizeSounds = SoundsOnInterval(prefs);
    action.startNext = true;
    return action;
}

void CScheduler::OnStartupRandomize(int startupRandomize, int intervalRandomize, int soundFiles,
                                    const std::string& prefs) {
    m_host.MinimizeToTray();
    std::string code = kNoInterval;
    if (intervalRandomize) {
        code = IntervalCodeFromPrefs(prefs);
        m_state.strInterval = code;
    }
    const StartupCourse course = DecideStartupCourse(startupRandomize != 0, soundFiles, code);
    if (course.randomizeDisplay && Randomizing()) {
        m_host.SetUnattended(1);
        m_host.RandomizeDisplaySettings();
        m_host.SetUnattended(0);
    }
    if (course.waitForSounds) m_host.StartStartupDelay();
    if (course.startInterval) StartInterval(code);
    if (course.quitAfterStartup) m_state.bQuitAfterStartup = 1;
    if (course.endNow) {
        m_host.RestoreFromTray();
        m_host.StartStartupSignal(ThreadPriority::Lowest);
    }
}

void CScheduler::OnStartupDelayElapsed() {
    if (Randomizing()) m_host.RandomizeAllSchemes();  // attended: an empty pool is reported
    if (m_state.bQuitAfterStartup) {
        m_host.RestoreFromTray();
        m_host.StartStartupSignal(ThreadPriority::Normal);
    }
}

void CScheduler::OnIntervalElapsed(std::uintptr_t wParam, std::uintptr_t lParam, const std::string& prefs) {
    const ElapseAction action =
        DecideElapse(wParam, static_cast<unsigned>(lParam), m_state.CurrentGeneration(), prefs);
    if (action.acknowledgeStop) m_state.bStopAck = 1;
    if (!action.startNext) return;
    m_host.SetUnattended(1);
    if (action.randomizeWallpaper && Randomizing()) m_host.RandomizeWallpaper();
    if (action.randomizeSounds && Randomizing()) m_host.RandomizeAllSchemes();
    m_host.SetUnattended(0);
    // A stop that began while the randomizers ran made this thread stale; no new one then.
    if (m_state.CurrentGeneration() == static_cast<unsigned>(lParam)) StartInterval(m_state.strInterval);
}

void CScheduler::StartInterval(const std::string& code) {
    m_state.strInterval = code;
    if (code == kNoInterval) return;
    const unsigned generation = m_state.BeginIntervalThread();
    if (!m_host.StartIntervalThread(IntervalSeconds(code), generation)) m_state.EndIntervalThread(generation);
}

void CScheduler::StopInterval(bool forEnding) {
    const bool running = m_state.bRunning != 0;
    // Even when no thread runs, an elapse may still wait in the queue: it becomes stale.
    m_state.BeginStop();
    if (running) m_host.WaitForIntervalStop();
    m_state.EndStop(forEnding);
}

void CScheduler::OnOptionsChanged(const std::string& prefs, int& intervalRandomize) {
    const bool timed = TimedRandomizationOn(prefs);
    if (timed) intervalRandomize = 1;
    StopInterval(false);
    if (timed) StartInterval(IntervalCodeFromPrefs(prefs));
}

}  // namespace qm
