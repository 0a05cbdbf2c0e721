#pragma once
// Writing the three pool counters after the pool file has changed. A load reads as many
// leading records as the counters add up to, so whatever fails, their sum must never fall
// below the records the file holds.
#include <array>

#include "platform/Registry.h"
#include "pools/FileEntry.h"

namespace qm {

// The most entries a counter records: it holds at most four digits.
constexpr int kMaxPoolEntries = 9999;

using PoolCounts = std::array<int, kEntryKindCount>;  // by EntryKind: sound, wallpaper, screen saver

// The counters as stored (a counter of -1 reads as -1, so that a load still sees it differ
// from its pool), and clamped at 0 for adding them up and for writing.
PoolCounts StoredPoolCounters(IRegistry& registry);
PoolCounts ReadPoolCounters(IRegistry& registry);

// Sets the counters to `targets`. Counters that rise are written before those that fall, and
// a counter that cannot be written (it keeps its old count, or none) passes what it lacks on
// to the others, none above kMaxPoolEntries, so that their sum still covers every record.
// True when every counter holds its own target.
bool WritePoolCounters(IRegistry& registry, const PoolCounts& targets);

}  // namespace qm
