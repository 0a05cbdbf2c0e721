#include "e2e/ThreadWatch.h"

#include <tlhelp32.h>

#include "e2e/ProgramDriver.h"

namespace qm::e2e {

namespace {
long long Ticks(const FILETIME& time) {
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
}  // namespace

ThreadWatch::ThreadWatch(HANDLE process) : m_pid(GetProcessId(process)) {
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user)) m_processCreated = Ticks(created);
}

std::vector<ThreadSeen> ThreadWatch::Threads() const {
    std::vector<ThreadSeen> seen;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return seen;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != m_pid) continue;
        ThreadSeen thread;
        thread.id = entry.th32ThreadID;
        if (HANDLE handle = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID)) {
            FILETIME created, exited, kernel, user;
            if (GetThreadTimes(handle, &created, &exited, &kernel, &user))
                thread.createdMs = (Ticks(created) - m_processCreated) / 10000;
            CloseHandle(handle);
        }
        seen.push_back(thread);
    }
    CloseHandle(snapshot);
    return seen;
}

ThreadSeen ThreadWatch::Newest() const {
    ThreadSeen newest;
    for (const ThreadSeen& thread : Threads())
        if (newest.id == 0 || thread.createdMs > newest.createdMs) newest = thread;
    return newest;
}

bool ThreadWatch::WaitForCount(int count, DWORD ms) const {
    return WaitUntil([&] { return Count() == count; }, ms);
}

}  // namespace qm::e2e
