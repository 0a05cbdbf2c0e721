#include "app/win32/SchedulerThreads.h"

#include <ctime>
#include <memory>

#include "prefs/Schedule.h"
#include "prefs/ScheduleRules.h"
#include "ui/DialogBase.h"

namespace qm {

namespace {

// Raised by a stop; the interval thread waits on it, so a stop is answered at once.
HANDLE StopEvent() {
    static HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return event;
}

// The newest interval thread; only the user-interface thread touches it.
HANDLE g_intervalThread = nullptr;

long long NowSeconds() { return static_cast<long long>(std::time(nullptr)); }

bool StopRaised(long long ms) {
    return WaitForSingleObject(StopEvent(), static_cast<DWORD>(ms)) == WAIT_OBJECT_0 || g_schedule.bStopRequest;
}

HWND WindowOf(LPVOID parameter) { return static_cast<HWND>(parameter); }

DWORD WINAPI StartupSignalProc(LPVOID parameter) {
    if (g_schedule.bQuitAfterStartup)
        PostMessageA(WindowOf(parameter), WM_QUIT, 0, 0);
    else
        PostMessageA(WindowOf(parameter), UM_STARTUP_RANDOMIZE, 0, 0);
    return 0;
}

DWORD WINAPI StartupDelayProc(LPVOID parameter) {
    WaitSeconds(90, NowSeconds, [](long long ms) {
        Sleep(static_cast<DWORD>(ms));
        return false;
    });
    PostMessageA(WindowOf(parameter), UM_STARTUP_DELAY_ELAPSED, 0, 0);
    return 0;
}

// What an interval thread is given at its start; it owns it.
struct IntervalStart {
    HWND window;
    long long seconds;
    unsigned generation;
};

DWORD WINAPI IntervalProc(LPVOID parameter) {
    std::unique_ptr<IntervalStart> start(static_cast<IntervalStart*>(parameter));
    const WaitEnd end = WaitSeconds(start->seconds, NowSeconds, StopRaised);
    PostMessageA(start->window, UM_INTERVAL_ELAPSED, end == WaitEnd::Stopped ? 1 : 0,
                 static_cast<LPARAM>(start->generation));
    g_schedule.EndIntervalThread(start->generation);
    return 0;
}

HANDLE Start(LPTHREAD_START_ROUTINE proc, LPVOID parameter, int priority) {
    HANDLE thread = CreateThread(nullptr, 0, proc, parameter, CREATE_SUSPENDED, nullptr);
    if (!thread) return nullptr;
    SetThreadPriority(thread, priority);
    ResumeThread(thread);
    return thread;
}

void StartAndForget(LPTHREAD_START_ROUTINE proc, HWND mainWindow, int priority) {
    if (HANDLE thread = Start(proc, mainWindow, priority)) CloseHandle(thread);
}

void ForgetIntervalThread(DWORD waitMs) {
    if (!g_intervalThread) return;
    WaitForSingleObject(g_intervalThread, waitMs);
    CloseHandle(g_intervalThread);
    g_intervalThread = nullptr;
}

}  // namespace

void StartStartupSignal(HWND mainWindow, int priority) { StartAndForget(StartupSignalProc, mainWindow, priority); }

void StartStartupDelay(HWND mainWindow) { StartAndForget(StartupDelayProc, mainWindow, THREAD_PRIORITY_LOWEST); }

bool StartIntervalThread(HWND mainWindow, long long seconds, unsigned generation) {
    // The previous thread posted its elapse and has at most its return left to run.
    ForgetIntervalThread(1000);
    ResetEvent(StopEvent());
    auto* start = new IntervalStart{mainWindow, seconds, generation};
    g_intervalThread = Start(IntervalProc, start, THREAD_PRIORITY_LOWEST);
    if (!g_intervalThread) delete start;
    return g_intervalThread != nullptr;
}

void WaitForIntervalStop(HWND mainWindow) {
    SetEvent(StopEvent());
    if (!g_intervalThread) return;
    // Messages are handled meanwhile, one at a time, as the stopped message must be; a
    // message dispatched here can no longer start a thread, as its generation is stale.
    const DWORD started = GetTickCount();
    bool pumping = true;
    while (GetTickCount() - started < 1500) {
        DWORD woke = MsgWaitForMultipleObjects(1, &g_intervalThread, FALSE, 50, pumping ? QS_ALLINPUT : 0);
        if (woke == WAIT_OBJECT_0) break;
        // A quit request stays in the queue for the modal loop; from then on only the thread is waited for.
        if (pumping) pumping = PumpOneMessage(mainWindow);
    }
    ForgetIntervalThread(0);
}

}  // namespace qm
