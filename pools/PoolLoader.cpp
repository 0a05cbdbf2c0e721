#include "pools/PoolLoader.h"

#include <algorithm>

#include "pools/Archive.h"
#include "pools/CounterWrites.h"
#include "pools/FileEntry.h"
#include "pools/FileSearch.h"
#include "pools/FolderListing.h"
#include "pools/RegistryAccess.h"

namespace qm {

const char kCounterMismatchMessage[] = "Registry counter doesn't match file counter.";
const char kPoolFileUnreadableMessage[] =
    "Couldn't read the file list qmfiles.cfg. Changes to the file lists can't be saved until Quill Mere is started again.";

namespace {

void TakeEntry(CPools& pools, const CFileEntry& entry) {
    if (entry.IsSound()) {
        // The sound pool has a fixed number of scheme slots; a record beyond them is left
        // in the file and out of memory.
        if (pools.m_nSoundFiles >= CPools::kSoundSlots) return;
        SchemeList list = pools.NewSchemeList();
        for (int slot = 0; slot < CFileEntry::kMaxSchemes; ++slot) {
            const std::string& name = entry.GetScheme(slot);
            if (name.empty() || static_cast<int>(list.names.size()) >= list.capacity) break;
            list.names.push_back(name);
        }
        pools.m_soundSchemes.push_back(std::move(list));
        pools.m_soundFiles.push_back(entry.GetFullPath());
        ++pools.m_nSoundFiles;
    } else if (entry.IsWallpaper()) {
        pools.m_wallpaperFiles.push_back(entry.GetFullPath());
        pools.m_wallpaperTile.push_back(entry.GetTile());
        ++pools.m_nWallpaperFiles;
    } else {
        pools.m_screenSaverFiles.push_back(entry.GetFullPath());
        ++pools.m_nScreenSaverFiles;
    }
}

// Room for as many entries as a counter promises, but never more than the sound pool's
// capacity up front: a corrupt counter must not cause a giant allocation. A pool that
// holds more entries than its counter (a file missing at an earlier load is back) grows.
std::size_t Room(int counter) { return static_cast<std::size_t>(std::clamp(counter, 0, CPools::kSoundSlots)); }

}  // namespace

PoolLoadResult LoadPools(CPools& pools, IRegistry& registry, IFileSystem& files, ISystem& system,
                         const std::string& windowsDir, int schemeCapacity) {
    PoolLoadResult result;
    pools.Reset(std::clamp(schemeCapacity, 0, CFileEntry::kMaxSchemes));
    pools.m_bPoolFileUnreadable = false;
    const PoolCounts counters = StoredPoolCounters(registry);
    const int sounds = counters[kindSound], wallpapers = counters[kindWallpaper],
              screenSavers = counters[kindScreenSaver];
    pools.m_soundFiles.reserve(Room(sounds));
    pools.m_soundSchemes.reserve(Room(sounds));
    pools.m_wallpaperFiles.reserve(Room(wallpapers));
    pools.m_wallpaperTile.reserve(Room(wallpapers));
    pools.m_screenSaverFiles.reserve(Room(screenSavers));

    // Without a Windows directory there is no place to look for the file.
    if (windowsDir.empty() || !FindFileInFolder(files, windowsDir, kPoolFileName)) return result;

    long long records = 0;
    for (int counter : counters) records += std::max(counter, 0);  // a counter below 0 counts no record
    std::unique_ptr<IReadStream> in = files.OpenRead(windowsDir + kPoolFileName);
    if (!in) {
        result.fileUnreadable = true;
    } else {
        CArchive archive(*in, [&system](const std::u16string& text) { return system.WideToAnsi(text); });
        CFileEntry entry;
        // Each folder the records name is read once for this load, not once per record.
        CFolderListing folders(files);
        for (long long i = 0; i < records; ++i) {
            entry.ClearSchemes();
            if (!entry.Serialize(archive)) break;
            if (!folders.Contains(entry.GetFolder(), entry.GetName())) continue;
            TakeEntry(pools, entry);
        }
        result.fileUnreadable = archive.GetState() == CArchive::State::readError;
    }
    pools.m_bPoolFileUnreadable = result.fileUnreadable;

    // Read again: the counters may have changed while the file was read.
    const PoolCounts after = StoredPoolCounters(registry);
    result.counterMismatch = pools.m_nSoundFiles != after[kindSound] ||
                             pools.m_nWallpaperFiles != after[kindWallpaper] ||
                             pools.m_nScreenSaverFiles != after[kindScreenSaver];
    return result;
}

}  // namespace qm
