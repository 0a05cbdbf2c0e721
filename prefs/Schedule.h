#pragma once
// The record through which the user-interface thread and the worker threads agree on the
// schedule. Each flag has one writer at a time and the other side only polls it; the
// flags are atomic so that those polls are well defined.
//
// Interval threads form a chain: the elapsed handler starts the next thread. Every thread
// is started with a generation number of its own and hands it back with its message; only
// the message of the newest generation counts. A stop starts a new generation as well, so
// a message of a stopped thread that still waits in the queue is recognised as stale and
// cannot start a second chain.
#include <atomic>
#include <mutex>
#include <string>

namespace qm {

struct ScheduleState {
    // The interval code in force. Only the user-interface thread reads and writes it; an
    // interval thread receives its length in seconds when it is started.
    std::string strInterval;
    std::atomic<int> bRunning{0};          // a thread of the current chain is running
    std::atomic<int> bStopAck{0};          // the UI thread has received a stopped message
    std::atomic<int> bStopRequest{0};      // the UI thread asks the interval thread to stop
    std::atomic<int> bQuitAfterStartup{0}; // the start-up run ends the program when its work is done
    std::atomic<int> bSessionEnding{0};    // Windows asked to end the session: no randomization starts

    void ClearFlags();
    // The generation whose messages count; every other generation's messages are stale.
    unsigned CurrentGeneration() const { return m_nGeneration.load(); }
    // An interval thread is about to start: marks it running and returns its generation.
    unsigned BeginIntervalThread();
    // The thread of `generation` has posted its last message. Clears bRunning only while
    // that generation is current, so a late end of an old thread never hides a newer one.
    void EndIntervalThread(unsigned generation);
    // A stop begins: the acknowledgement is cleared, the request raised, and the running
    // thread's generation becomes stale.
    void BeginStop();
    // The stopped thread has ended: nothing runs any more. `keepRequest` leaves the request
    // raised (the program is ending); otherwise it is cleared for a later start.
    void EndStop(bool keepRequest);

private:
    unsigned NextGeneration();  // with m_lock held
    std::mutex m_lock;          // orders a thread's end against the start of the next one
    std::atomic<unsigned> m_nGeneration{0};
};

extern ScheduleState g_schedule;

// Seconds of an interval code: the number before the last character, times 60 for 'm',
// 3600 for 'h', as is for anything else ("15s" 15, "1m" 60, "24h" 86400).
long long IntervalSeconds(const std::string& code);

}  // namespace qm
