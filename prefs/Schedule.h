#pragma once
// The record through which the user-interface thread and the worker threads agree on the
// schedule. Each flag has one writer at a time and the other side only polls it; the
// flags are atomic so that those polls are well defined.
#include <atomic>
#include <string>

namespace qm {

struct ScheduleState {
    std::string strInterval;               // interval code in force, written only while no interval thread runs
    std::atomic<int> bRunning{0};          // an interval thread is running
    std::atomic<int> bStopAck{0};          // the UI thread has received the stopped message
    std::atomic<int> bStopRequest{0};      // the UI thread asks the interval thread to stop
    std::atomic<int> bQuitAfterStartup{0}; // the start-up run ends the program when its work is done

    void ClearFlags() { bRunning = bStopAck = bStopRequest = bQuitAfterStartup = 0; }
};

extern ScheduleState g_schedule;

// Seconds of an interval code: the number before the last character, times 60 for 'm',
// 3600 for 'h', as is for anything else ("15s" 15, "1m" 60, "24h" 86400).
long long IntervalSeconds(const std::string& code);

}  // namespace qm
