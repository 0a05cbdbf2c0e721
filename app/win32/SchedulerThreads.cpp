#include "app/win32/SchedulerThreads.h"

#include <ctime>

#include "prefs/Schedule.h"
#include "ui/DialogBase.h"

namespace qm {

namespace {

void DispatchOwnMessage() {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
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
    const std::time_t end = std::time(nullptr) + 90;
    while (std::time(nullptr) < end) {
        DispatchOwnMessage();
        Sleep(500);
    }
    PostMessageA(WindowOf(parameter), UM_STARTUP_DELAY_ELAPSED, 0, 0);
    return 0;
}

DWORD WINAPI IntervalProc(LPVOID parameter) {
    g_schedule.bRunning = 1;
    const std::time_t t0 = std::time(nullptr);
    const long long seconds = IntervalSeconds(g_schedule.strInterval);
    std::time_t now = t0;
    for (;;) {
        if (!(now < t0 + seconds)) {
            PostMessageA(WindowOf(parameter), UM_INTERVAL_ELAPSED, 0, 0);
            break;
        }
        g_schedule.bStopAck = 0;
        DispatchOwnMessage();
        Sleep(1000);
        now = std::time(nullptr);
        if (g_schedule.bStopRequest) {
            PostMessageA(WindowOf(parameter), UM_INTERVAL_ELAPSED, 1, 0);
            break;
        }
    }
    g_schedule.bRunning = 0;
    return 0;
}

bool Start(LPTHREAD_START_ROUTINE proc, HWND mainWindow, int priority) {
    HANDLE thread = CreateThread(nullptr, 0, proc, mainWindow, CREATE_SUSPENDED, nullptr);
    if (!thread) return false;
    SetThreadPriority(thread, priority);
    ResumeThread(thread);
    CloseHandle(thread);
    return true;
}

}  // namespace

void StartStartupSignal(HWND mainWindow, int priority) { Start(StartupSignalProc, mainWindow, priority); }

void StartStartupDelay(HWND mainWindow) { Start(StartupDelayProc, mainWindow, THREAD_PRIORITY_LOWEST); }

void StartIntervalThread(HWND mainWindow) {
    // Marked running before the thread starts, so that a stop asked for at once still waits.
    g_schedule.bRunning = 1;
    g_schedule.bStopRequest = 0;
    if (!Start(IntervalProc, mainWindow, THREAD_PRIORITY_LOWEST)) g_schedule.bRunning = 0;
}

void StopIntervalThread(HWND mainWindow) {
    if (!g_schedule.bRunning) return;
    g_schedule.bStopAck = 0;
    g_schedule.bStopRequest = 1;
    // The thread answers within about a second; the bound keeps a lost answer from hanging
    // the program. A waiting quit request is left in the queue for the modal loop.
    for (int pass = 0; pass < 100 && !g_schedule.bStopAck; ++pass) {
        PumpOneMessage(mainWindow);
        Sleep(50);
    }
}

}  // namespace qm
