#pragma once
// Applying the Manage Files dialog's changes to the pool file and the counters. Only what the
// user changed is applied: the records of removed paths go, wallpapers the user set get their
// new flag and sounds whose ticks the user set their new names. Every other record is kept as
// it is, also one the dialog never showed (added while it was open, or lying beyond the
// counted records), unless it names a file that is gone and the dialog did not list it, as
// a load drops such a record.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace qm {

extern const char kManagePoolFileMissingMessage[];
extern const char kManagePoolFileFailedMessage[];
extern const char kManageCountersFailedMessage[];

// What the user did in the dialog. Paths match exactly, letter case included.
struct PoolChanges {
    std::vector<std::string> listed;   // every path the dialog showed when it was filled
    std::vector<std::string> removed;  // listed paths of which no listing is left
    std::map<std::string, std::int32_t> tiles;               // wallpapers whose flag the user set
    std::map<std::string, std::vector<std::string>> schemes; // sounds whose ticks the user set
    std::vector<std::string> shownSchemes;  // the dialog's scheme list: a sound keeps its other names

    bool Empty() const { return listed.empty(); }
};

enum class RewriteOutcome {
    nothingToDo,     // no pool file and nothing listed: nothing was touched
    noPoolFile,      // no pool file although entries were listed: nothing was touched
    fileFailed,      // the old file could not be read in full, or the new one not written:
                     // the old file and the counters are as they were
    countersFailed,  // the new file is in place but a counter could not be written exactly;
                     // the counters still add up to at least its number of records
    rewritten,
};

struct RewriteResult {
    RewriteOutcome outcome = RewriteOutcome::nothingToDo;
    int sounds = 0, wallpapers = 0, screenSavers = 0;  // records of each kind in the new file
};

// Rewrites "qmfiles.cfg" in `windowsDir` from `changes`, reading every whole record of the
// old file, and then sets the three counters to count the new file's records.
RewriteResult RewritePools(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir,
                           const PoolChanges& changes);

// The message that tells the user about an outcome, or an empty text when there is none.
std::string RewriteMessage(RewriteOutcome outcome);

}  // namespace qm
