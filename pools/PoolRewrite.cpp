#include "pools/PoolRewrite.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "pools/FileEntry.h"
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

int ReadCounter(IRegistry& registry, const char* key) {
    return std::max(0, TextToInt(ReadRegistryString(registry, RegistryRoot::LocalMachine, key)));
}

bool WriteCounter(IRegistry& registry, const char* key, int count) {
    return WriteRegistryString(registry, key, std::to_string(count), RegistryRoot::LocalMachine);
}

// Sets the three counters to `target` (sound, wallpaper, screen saver). The counters tell a
// load how many records to read, so their sum must never fall below the records of the new
// file: counters that rise are written before those that fall, and a failed write, which
// leaves its counter at the old value or at none (0), has its shortfall added to another
// counter. True when every counter holds its own count.
bool WriteCounters(IRegistry& registry, const int target[3]) {
    const char* const keys[3] = {kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey};
    int want[3] = {target[0], target[1], target[2]};
    int order[3], n = 0;
    const int old[3] = {ReadCounter(registry, keys[0]), ReadCounter(registry, keys[1]), ReadCounter(registry, keys[2])};
    for (int i = 0; i < 3; ++i)
        if (want[i] >= old[i]) order[n++] = i;
    for (int i = 0; i < 3; ++i)
        if (want[i] < old[i]) order[n++] = i;

    bool exact = true;
    for (int step = 0; step < 3; ++step) {
        const int i = order[step];
        if (WriteCounter(registry, keys[i], want[i])) continue;
        const int now = ReadCounter(registry, keys[i]);
        if (now == want[i]) continue;  // it held that count already
        exact = false;
        int shortfall = want[i] - now;
        if (shortfall <= 0) continue;
        if (step + 1 < 3) {
            want[order[step + 1]] += shortfall;  // still to be written
            continue;
        }
        for (int back = step - 1; back >= 0 && shortfall > 0; --back) {
            const int j = order[back];
            if (WriteCounter(registry, keys[j], want[j] + shortfall)) shortfall = 0;
        }
    }
    return exact;
}

}  // namespace

RewriteResult RewritePools(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir,
                           const PoolChanges& changes, long long loadedEntries) {
    RewriteResult result;
    if (windowsDir.empty() || !FindFileInFolder(files, windowsDir, kPoolFileName)) {
        result.outcome = changes.Empty() ? RewriteOutcome::nothingToDo : RewriteOutcome::noPoolFile;
        return result;
    }
    const long long records = static_cast<long long>(ReadCounter(registry, kSoundCounterKey)) +
                              ReadCounter(registry, kWallpaperCounterKey) + ReadCounter(registry, kScreenSaverCounterKey);
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
    const int target[3] = {counts.sounds, counts.wallpapers, counts.screenSavers};
    result.outcome = WriteCounters(registry, target) ? RewriteOutcome::rewritten : RewriteOutcome::countersFailed;
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
