#include "prefs/Schedule.h"

#include "pools/RegistryAccess.h"

namespace qm {

ScheduleState g_schedule;

void ScheduleState::ClearFlags() {
    std::lock_guard<std::mutex> guard(m_lock);
    bRunning = bStopAck = bStopRequest = bQuitAfterStartup = bSessionEnding = 0;
    NextGeneration();
}

unsigned ScheduleState::NextGeneration() {
    if (++m_nGeneration == 0) ++m_nGeneration;  // 0 never names a thread
    return m_nGeneration;
}

unsigned ScheduleState::BeginIntervalThread() {
    std::lock_guard<std::mutex> guard(m_lock);
    bRunning = 1;
    return NextGeneration();
}

void ScheduleState::EndIntervalThread(unsigned generation) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (generation == m_nGeneration) bRunning = 0;
}

void ScheduleState::BeginStop() {
    std::lock_guard<std::mutex> guard(m_lock);
    bStopAck = 0;
    bStopRequest = 1;
    NextGeneration();
}

void ScheduleState::EndStop(bool keepRequest) {
    std::lock_guard<std::mutex> guard(m_lock);
    bRunning = 0;
    if (!keepRequest) bStopRequest = 0;
}

long long IntervalSeconds(const std::string& code) {
    if (code.empty()) return 0;
    long long n = TextToInt(code.substr(0, code.size() - 1));
    switch (code.back()) {
    case 'm': return n * 60;
    case 'h': return n * 3600;
    default: return n;
    }
}

}  // namespace qm
