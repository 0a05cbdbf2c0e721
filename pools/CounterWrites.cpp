#include "pools/CounterWrites.h"

#include <algorithm>
#include <string>

#include "pools/RegistryAccess.h"

namespace qm {

namespace {

const char* const kCounterKeys[kEntryKindCount] = {kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey};

int ReadCounter(IRegistry& registry, int pool) { return std::max(0, StoredPoolCounters(registry)[pool]); }

}  // namespace

PoolCounts StoredPoolCounters(IRegistry& registry) {
    return {GetSoundFileCount(registry), GetWallpaperFileCount(registry), GetScreenSaverFileCount(registry)};
}

PoolCounts ReadPoolCounters(IRegistry& registry) {
    PoolCounts counts = StoredPoolCounters(registry);
    for (int& count : counts) count = std::max(0, count);
    return counts;
}

bool WritePoolCounters(IRegistry& registry, const PoolCounts& targets) {
    const PoolCounts old = ReadPoolCounters(registry);
    std::array<int, kEntryKindCount> order{};
    int n = 0;
    for (int pool = 0; pool < kEntryKindCount; ++pool)
        if (targets[pool] >= old[pool]) order[n++] = pool;
    for (int pool = 0; pool < kEntryKindCount; ++pool)
        if (targets[pool] < old[pool]) order[n++] = pool;

    PoolCounts stored = old;
    std::array<bool, kEntryKindCount> written{};
    long long owed = 0;  // records the counters written so far fail to cover
    auto put = [&](int pool, long long wanted) {
        const int count = static_cast<int>(std::clamp<long long>(wanted, 0, kMaxPoolEntries));
        if (WriteRegistryString(registry, kCounterKeys[pool], std::to_string(count), RegistryRoot::LocalMachine)) {
            stored[pool] = count;
            written[pool] = true;
        } else {
            stored[pool] = ReadCounter(registry, pool);
        }
        return std::max<long long>(0, wanted - stored[pool]);
    };
    for (int pool : order) owed = put(pool, targets[pool] + owed);
    // What is still owed goes back to counters that took their writes.
    for (int step = kEntryKindCount - 1; step >= 0 && owed > 0; --step) {
        const int pool = order[step];
        if (written[pool]) owed = put(pool, stored[pool] + owed);
    }
    return stored == targets;
}

}  // namespace qm
