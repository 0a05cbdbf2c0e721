#include "pools/PoolRewrite.h"

#include <unordered_set>

#include "pools/FileEntry.h"
#include "pools/CounterWrites.h"
#include "pools/FileSearch.h"
#include "pools/FolderListing.h"
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

// The changes, looked up by path instead of searched per record.
class Edits {
public:
    explicit Edits(const PoolChanges& changes)
        : m_changes(changes), m_listed(changes.listed.begin(), changes.listed.end()),
          m_removed(changes.removed.begin(), changes.removed.end()),
          m_shown(changes.shownSchemes.begin(), changes.shownSchemes.end()) {}

    // Gives a record what the user changed; false when the record goes.
    bool Apply(CFileEntry& entry, CFolderListing& folders) const {
        const std::string path = entry.GetFullPath();
        if (m_removed.count(path)) return false;
        if (!m_listed.count(path) && !folders.Contains(entry.GetFolder(), entry.GetName())) return false;
        // Told apart the way the load tells a record: sound first, then wallpaper.
        if (entry.IsSound()) {
            auto found = m_changes.schemes.find(path);
            if (found != m_changes.schemes.end()) SetSchemes(entry, found->second);
        } else if (entry.IsWallpaper()) {
            auto found = m_changes.tiles.find(path);
            if (found != m_changes.tiles.end()) entry.SetTile(found->second);
        }
        return true;
    }

private:
    // The ticked names, then the stored names of schemes the dialog did not show, which the
    // user could neither see nor untick (an application missing for one run, say).
    void SetSchemes(CFileEntry& entry, const std::vector<std::string>& ticked) const {
        std::vector<std::string> names = ticked;
        for (int slot = 0; slot < CFileEntry::kMaxSchemes; ++slot) {
            const std::string& name = entry.GetScheme(slot);
            if (name.empty()) break;
            if (!m_shown.count(name)) names.push_back(name);
        }
        entry.ClearSchemes();
        for (const std::string& name : names)
            if (!entry.AppendScheme(name)) break;  // an empty name ends a list; 100 names fill the entry
    }

    const PoolChanges& m_changes;
    std::unordered_set<std::string> m_listed, m_removed, m_shown;
};

}  // namespace

RewriteResult RewritePools(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir,
                           const PoolChanges& changes) {
    RewriteResult result;
    if (windowsDir.empty() || !FindFileInFolder(files, windowsDir, kPoolFileName)) {
        result.outcome = changes.Empty() ? RewriteOutcome::nothingToDo : RewriteOutcome::noPoolFile;
        return result;
    }
    const Edits edits(changes);
    PoolCounts counts{};
    bool replaced = ReplacePoolFile(files, windowsDir, [&](CArchive& out) {
        counts = {};
        CFolderListing folders(files);
        bool written = true;
        PoolReadResult read = ForEachPoolRecord(files, system, windowsDir + kPoolFileName, [&](const CFileEntry& record) {
            CFileEntry entry = record;
            if (!edits.Apply(entry, folders)) return true;
            int& count = counts[entry.Kind()];
            if (count >= kMaxPoolEntries) return true;  // beyond what a counter can count
            written = entry.Serialize(out);
            ++count;
            return written;
        });
        // A torn last record is where the file ends; a read error is not, since the records
        // after it would be lost.
        return read.opened && written && read.state != CArchive::State::readError;
    });
    if (!replaced) {
        result.outcome = RewriteOutcome::fileFailed;
        return result;
    }
    result.sounds = counts[kindSound];
    result.wallpapers = counts[kindWallpaper];
    result.screenSavers = counts[kindScreenSaver];
    result.outcome = WritePoolCounters(registry, counts) ? RewriteOutcome::rewritten : RewriteOutcome::countersFailed;
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
