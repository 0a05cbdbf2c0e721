#pragma once
// The threads of another process, with the moments they were created: the interval thread
// of the program under test shows itself this way, and every elapse starts a new one.
#include <windows.h>

#include <vector>

namespace qm::e2e {

struct ThreadSeen {
    DWORD id = 0;
    long long createdMs = 0;  // after the process was created
};

class ThreadWatch {
public:
    explicit ThreadWatch(HANDLE process);
    std::vector<ThreadSeen> Threads() const;
    int Count() const { return static_cast<int>(Threads().size()); }
    // The most recently created thread (id 0 when none could be read).
    ThreadSeen Newest() const;
    // Polls until the process has `count` threads.
    bool WaitForCount(int count, DWORD ms) const;

private:
    DWORD m_pid;
    long long m_processCreated = 0;  // 100-ns units
};

}  // namespace qm::e2e
