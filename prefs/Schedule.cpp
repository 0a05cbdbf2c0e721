#include "prefs/Schedule.h"

#include "pools/RegistryAccess.h"

namespace qm {

ScheduleState g_schedule;

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
