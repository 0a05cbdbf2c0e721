#pragma once
// The worker threads of the schedule. They only wait and post messages to the main
// window; all randomizing happens on the user-interface thread.
#include <windows.h>

#include "app/win32/WindowMessages.h"

namespace qm {

// Posts the quit request when the start-up run is to end, else UM_STARTUP_RANDOMIZE.
void StartStartupSignal(HWND mainWindow, int priority);
// Waits 90 seconds, then posts UM_STARTUP_DELAY_ELAPSED.
void StartStartupDelay(HWND mainWindow);
// Waits one interval of g_schedule.strInterval, then posts UM_INTERVAL_ELAPSED with 0
// (elapsed) or 1 (stopped on request).
void StartIntervalThread(HWND mainWindow);
// Asks a running interval thread to stop and dispatches messages until the stopped message
// has been handled. Leaves the stop request set.
void StopIntervalThread(HWND mainWindow);

}  // namespace qm
