#pragma once
// Rebuilding the pools from the pool file "qmfiles.cfg" and the three registry counters.
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "pools/Pools.h"
#include "pools/ProgramKeys.h"

namespace qm {

extern const char kCounterMismatchMessage[];
extern const char kPoolFileUnreadableMessage[];

struct PoolLoadResult {
    bool counterMismatch = false;  // a pool's count differs from its counter afterwards
    bool fileUnreadable = false;   // the file exists but could not be opened or read
};

// Reads as many leading records of the pool file as the counters add up to. Records whose
// file is gone are skipped; the end of the file ends the read quietly. `schemeCapacity` is
// the number of schemes the main window lists. The counters are never written here.
PoolLoadResult LoadPools(CPools& pools, IRegistry& registry, IFileSystem& files, ISystem& system,
                         const std::string& windowsDir, int schemeCapacity);

}  // namespace qm
