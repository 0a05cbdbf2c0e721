#pragma once
// Adding a batch of chosen files to the pools: duplicates are skipped, each file goes to the
// pool its ending names, one record per new entry goes to the pool file and the three
// counters are written.
//
// Every file added here is still in its pool at the next start. When the pool file holds
// exactly the records the counters count, the new records are appended; otherwise (records
// of files missing at the last load, records beyond the counters, a torn record at the end)
// the file is replaced in one step by the counted records followed by the new ones, and the
// counters are set to cover them all. The writes come in an order that keeps every record
// that was readable before readable, whatever fails between two of them.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PathParts.h"  // kLongestPath: a longer path is not added
#include "platform/Registry.h"
#include "platform/System.h"
#include "pools/CounterWrites.h"
#include "pools/Pools.h"

namespace qm {

extern const char kPoolsAtMaximumMessage[];
extern const char kPoolFileWriteFailedMessage[];
extern const char kCounterWriteFailedMessage[];
extern const char kPoolsFullMessage[];
extern const char kPathTooLongMessage[];

// What the chooser hands over.
struct ChosenFiles {
    std::string folder;                // the folder the names were chosen in, ending in a backslash
    std::vector<std::string> names;    // file names in the order of the chooser's file list
    std::vector<std::string> schemes;  // the ticked scheme rows, in list order, for every sound
    bool tile = false;                 // every wallpaper of the batch is tiled
};

struct AdditionOutcome {
    int added = 0;
    int duplicates = 0;      // already in a pool, or chosen twice
    int refusedFull = 0;     // no room left in their pool
    int refusedTooLong = 0;  // the full path is too long to be stored
    bool rewritten = false;  // the pool file was replaced rather than appended to
    bool fileFailed = false; // nothing was added: the pool file could not be read or written
    bool countersFailed = false;
    std::vector<std::string> messages;  // for the user, in the order to show them
};

// The add command is refused when the counters together exceed 9,500.
bool PoolsAreFull(IRegistry& registry);

AdditionOutcome AddChosenFiles(CPools& pools, IRegistry& registry, IFileSystem& files, ISystem& system,
                               const std::string& windowsDir, const ChosenFiles& chosen);

}  // namespace qm
