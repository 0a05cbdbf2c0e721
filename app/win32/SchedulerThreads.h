#pragma once
// The worker threads of the schedule. They only wait and post messages to the main
// window; all randomizing happens on the user-interface thread. Their waits are waits on a
// stop event with a time-out, so a waiting thread costs nothing until it is due.
#include <windows.h>

#include "app/win32/WindowMessages.h"

namespace qm {

// Posts the quit request when the start-up run is to end, else UM_STARTUP_RANDOMIZE.
void StartStartupSignal(HWND mainWindow, int priority);
// Waits 90 seconds, then posts UM_STARTUP_DELAY_ELAPSED.
void StartStartupDelay(HWND mainWindow);
// Waits `seconds`, then posts UM_INTERVAL_ELAPSED with wParam 0 (elapsed) or 1 (stopped on
// request) and lParam `generation`. A thread started before is waited for first (it has
// posted its last message and is ending), so at most one interval thread is alive.
bool StartIntervalThread(HWND mainWindow, long long seconds, unsigned generation);
// Wakes the running interval thread for its stop and dispatches the main window's
// messages until the thread has ended (about a second at most).
void WaitForIntervalStop(HWND mainWindow);

}  // namespace qm
