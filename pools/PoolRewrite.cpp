#include "pools/PoolRewrite.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "pools/FileEntry.h"
#include "pools/CounterWrites.h"
#include "pools/FileSearch.h"
#include "pools/PoolFileIO.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm {

const char kManagePoolFileMissingMessage[] =
    "Couldn't find the file list qmfiles.cfg, so the changes to the file lists weren't made.";
const char kManagePoolFileFailedMessage[] =
    "Couldn't write the file list qmfiles.cfg. The file lists are as they were.";
const char kManageCountersFailedMessage[] =
    "The file lists were changed, but the registry counters couldn't be written. Quill Mere may report that "
    "they don't match when it starts again.";

namespace {

// Where each listed path stands, found once instead of searching the lists per record.
// Paths match exactly, letter case included.
class ListedPaths {
public:
    explicit ListedPaths(const PoolChanges& changes) : m_changes(changes) {
        for (std::size_t k = 0; k < changes.wallpapers.size(); ++k) m_wallpapers.emplace(changes.wallpapers[k], k);
        m_screenSavers.insert(changes.screenSavers.begin(), changes.screenSavers.end());
        for (std::size_t k = 0; k < changes.sounds.size(); ++k) m_sounds[changes.sounds[k]].push_back(k);
    }

    // Gives a record the dialog's data; false when the dialog no longer lists it. A record
    // is told apart the way the load tells it: sound first, then wallpaper, else screen saver.
    bool Apply(CFileEntry& entry) const {
        const std::string path = entry.GetFullPath();
        if (entry.IsSound()) {
            auto found = m_sounds.find(path);
            if (found == m_sounds.end()) return false;
            // Every listed copy of the path gives its names, in list order.
            entry.ClearSchemes();
            for (std::size_t k : found->second) {
                if (k >= m_changes.schemeLists.size()) continue;
                for (const std::string& name : m_changes.schemeLists[k])
                    if (!entry.AppendScheme(name)) break;  // an empty name ends a list; 100 names fill the entry
            }
            return true;
        }
        if (entry.IsWallpaper()) {
            auto found = m_wallpapers.find(path);  // the first listed copy
            if (found == m_wallpapers.end()) return false;
            if (found->second < m_changes.tileFlags.size()) entry.SetTile(m_changes.tileFlags[found->second]);
            return true;
        }
        return m_screenSavers.count(path) != 0;
    }

private:
    const PoolChanges& m_changes;
    std::unordered_map<std::string, std::size_t> m_wallpapers;
    std::unordered_set<std::string> m_screenSavers;
    std::unordered_map<std::string, std::vector<std::size_t>> m_sounds;
};

}  // namespace

RewriteResult RewritePools(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir,
                           const PoolChanges& changes, long long loadedEntries) {
    RewriteResult result;
    if (windowsDir.empty() || !FindFileInFolder(files, windowsDir, kPoolFileName)) {
        result.outcome = changes.Empty() ? RewriteOutcome::nothingToDo : RewriteOutcome::noPoolFile;
        return result;
    }
    const PoolCounts counters = ReadPoolCounters(registry);
    const long long records = static_cast<long long>(counters[0]) + counters[1] + counters[2];
    if (records < loadedEntries) {
        result.outcome = RewriteOutcome::fileFailed;
        return result;
    }

    const ListedPaths listed(changes);
    RewriteResult counts;
    bool replaced = ReplacePoolFile(files, windowsDir, [&](CArchive& out) {
        counts = RewriteResult();
        if (records == 0) return true;
        long long seen = 0;
        bool written = true;
        PoolReadResult read = ForEachPoolRecord(files, system, windowsDir + kPoolFileName, [&](const CFileEntry& record) {
            CFileEntry entry = record;
            if (listed.Apply(entry)) {
                written = entry.Serialize(out);
                if (entry.IsSound()) ++counts.sounds;
                else if (entry.IsWallpaper()) ++counts.wallpapers;
                else ++counts.screenSavers;
            }
            return written && ++seen < records;
        });
        // The end of the file before the counted records is where the copy ends; a read
        // error is not, since the records after it would be lost.
        return read.opened && written && read.state != CArchive::State::readError;
    });
    if (!replaced) {
        result.outcome = RewriteOutcome::fileFailed;
        return result;
    }
    result = counts;
    const PoolCounts targets = {counts.sounds, counts.wallpapers, counts.screenSavers};
    result.outcome = WritePoolCounters(registry, targets) ? RewriteOutcome::rewritten : RewriteOutcome::countersFailed;
    return result;
}

std::string RewriteMessage(RewriteOutcome outcome) {
    switch (outcome) {
    case RewriteOutcome::noPoolFile: return kManagePoolFileMissingMessage;
    case RewriteOutcome::fileFailed: return kManagePoolFileFailedMessage;
    case RewriteOutcome::countersFailed: return kManageCountersFailedMessage;
    default: return std::string();
    }
}

}  // namespace qm
