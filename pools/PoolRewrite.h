#pragma once
// Applying the Manage Files dialog's changes to the pool file and the counters: the counted
// records whose path the dialog still lists are kept in their old order, wallpapers with
// the dialog's tile flags and sounds with its scheme names; every other record goes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace qm {

extern const char kManagePoolFileMissingMessage[];
extern const char kManagePoolFileFailedMessage[];
extern const char kManageCountersFailedMessage[];

// What the dialog still lists, each list with its per-position data beside it.
struct PoolChanges {
    std::vector<std::string> wallpapers;               // full paths
    std::vector<std::int32_t> tileFlags;               // element k: the flag of wallpapers[k]
    std::vector<std::string> screenSavers;
    std::vector<std::string> sounds;
    std::vector<std::vector<std::string>> schemeLists; // element k: the schemes of sounds[k]

    bool Empty() const { return wallpapers.empty() && screenSavers.empty() && sounds.empty(); }
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

// Rewrites "qmfiles.cfg" in `windowsDir` from `changes` and then writes the three counters.
// Only the records the counters add up to are read; records beyond them were never loaded,
// so no list shows them, and they go as well. `loadedEntries` is the number of entries the
// pools hold: counters that now add up to fewer records than that were not read right (or
// were changed behind the program's back), and the file is then left alone.
RewriteResult RewritePools(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir,
                           const PoolChanges& changes, long long loadedEntries);

// The message that tells the user about an outcome, or an empty text when there is none.
std::string RewriteMessage(RewriteOutcome outcome);

}  // namespace qm
