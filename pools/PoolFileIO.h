#pragma once
// Reading every record of the pool file, and replacing the pool file safely: the new file
// is written completely under a temporary name beside the old one and then put in its
// place in one step, so that the pool file is never found missing, cut short or
// half-written, whatever fails on the way.
#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/System.h"
#include "pools/Archive.h"
#include "pools/FileEntry.h"
#include "pools/ProgramKeys.h"

namespace qm {

struct PoolReadResult {
    bool opened = false;                          // false: the file is missing or cannot be opened
    CArchive::State state = CArchive::State::ok;  // endOfFile after a clean end; readError on an I/O error
    long long records = 0;                        // records handed to the visitor
};

// Reads the records of the file at `path` in order, each into a fresh entry, until the end
// of the file or until `visit` returns false (the state is then ok).
PoolReadResult ForEachPoolRecord(IFileSystem& files, ISystem& system, const std::string& path,
                                 const std::function<bool(const CFileEntry&)>& visit);

// Writes a new pool file "qmfiles.cfg" in `folder` from what `produce` stores into the
// archive, then puts it in place of the old one. `produce` returns false to abandon the
// replacement. True when the new file is in place; false leaves the old file as it was and
// no temporary file behind.
bool ReplacePoolFile(IFileSystem& files, const std::string& folder, const std::function<bool(CArchive&)>& produce);

}  // namespace qm
