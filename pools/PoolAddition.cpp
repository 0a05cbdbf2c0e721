#include "pools/PoolAddition.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/LetterCase.h"
#include "pools/Archive.h"
#include "pools/FileEntry.h"
#include "pools/FileKinds.h"
#include "pools/CounterWrites.h"
#include "pools/FileSearch.h"
#include "pools/PoolFileIO.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm {

const char kPoolsAtMaximumMessage[] =
    "You have already selected the maximum amount of files that can be randomized.";
const char kPoolFileWriteFailedMessage[] =
    "Couldn't save the file list qmfiles.cfg. The chosen files were not added.";
const char kCounterWriteFailedMessage[] =
    "Couldn't save the file counts in the registry. The files just added may be missing when Quill Mere is started again.";
const char kPoolsFullMessage[] = "The file lists are full. Some of the chosen files were not added.";
const char kPathTooLongMessage[] = "Some of the chosen files have a path too long to be stored and were not added.";

namespace {

using Counts = PoolCounts;

// The kind is decided by the name's whole ending (a rule by the last three characters would
// make ".jpeg" and ".tiff" sounds); a name of no kind is a sound, as it always was.
EntryKind EntryKindOfName(const std::string& name) {
    switch (KindOfName(name, true)) {
    case FileKind::screenSaver: return kindScreenSaver;
    case FileKind::wallpaper: return kindWallpaper;
    default: return kindSound;
    }
}

// Counts what an archive would store, to tell a file of whole records from one with a torn end.
class CountingStream : public IWriteStream {
public:
    bool Write(const void*, std::size_t count) override {
        bytes += count;
        return true;
    }
    bool FlushToDisk() override { return true; }
    bool Close() override { return true; }
    std::uint64_t bytes = 0;
};


// What the pool file holds now, against what the counters and the pools say.
struct Survey {
    bool readable = true;    // false: the file is there but cannot be read to its end
    bool appendable = false; // exactly the counted records, whole, and all of them in memory
    long long records = 0;   // whole records in the file
    Counts perPool{};        // whole records of each pool
    std::vector<std::string> paths;  // of every whole record, in file order
    std::vector<EntryKind> pools;         // the pool of each of them
};

Survey SurveyPoolFile(const CPools& pools, IRegistry& registry, IFileSystem& files, ISystem& system,
                      const std::string& windowsDir) {
    Survey survey;
    const Counts counters = ReadPoolCounters(registry);
    const Counts memory = {pools.m_nSoundFiles, pools.m_nWallpaperFiles, pools.m_nScreenSaverFiles};
    long long promised = 0;
    for (int counter : counters) promised += std::max(counter, 0);
    CountingStream sink;
    bool measured = true;
    {
        CArchive measure(sink);
        PoolReadResult read = ForEachPoolRecord(files, system, windowsDir + kPoolFileName,
                                                [&](const CFileEntry& record) {
                                                    ++survey.perPool[record.Kind()];
                                                    survey.paths.push_back(record.GetFullPath());
                                                    survey.pools.push_back(record.Kind());
                                                    CFileEntry copy = record;
                                                    measured = copy.Serialize(measure) && measured;
                                                    return true;
                                                });
        survey.records = read.records;
        measured = measure.Flush() && measured;
        if (!read.opened) {
            // A file that is there but cannot be opened must not be replaced; a missing one
            // is created by appending, which never destroys a file that a search overlooked.
            survey.readable = !FindFileInFolder(files, windowsDir, kPoolFileName);
            survey.appendable = survey.readable;
            return survey;
        }
        survey.readable = read.state != CArchive::State::readError;
    }
    survey.appendable = survey.readable && measured && survey.records == promised && memory == counters &&
                        sink.bytes == FileSizeOf(files, windowsDir + kPoolFileName);
    return survey;
}

struct NewEntry {
    std::string name;
    std::string path;      // as the pools will hold it: a revived record's own spelling
    EntryKind pool;
    bool revived = false;  // its record is in the file already (its file was missing at the load)
};

// What a batch gives each of its entries: the ticked schemes to a sound, the tile flag to a
// wallpaper. A revived record gets them too, as a new entry would.
void GiveBatchData(CFileEntry& entry, EntryKind pool, const ChosenFiles& chosen) {
    if (pool == kindSound) {
        entry.ClearSchemes();
        for (const std::string& scheme : chosen.schemes) entry.AppendScheme(scheme);
    }
    if (pool == kindWallpaper) entry.SetTile(chosen.tile ? 1 : 0);
}

bool StoreNewEntries(CArchive& archive, const std::vector<NewEntry>& batch, const ChosenFiles& chosen) {
    CFileEntry work;
    for (const NewEntry& item : batch) {
        if (item.revived) continue;
        work.SetFile(item.name, chosen.folder, item.pool);
        GiveBatchData(work, item.pool, chosen);
        if (!work.Serialize(archive)) return false;
    }
    return true;
}

bool AppendRecords(IFileSystem& files, const std::string& path, const std::vector<NewEntry>& batch,
                   const ChosenFiles& chosen) {
    std::unique_ptr<IWriteStream> out = files.OpenWrite(path, WriteMode::Append);
    if (!out) return false;
    bool written;
    {
        CArchive archive(*out);
        written = StoreNewEntries(archive, batch, chosen) && archive.Flush();
    }
    // On the disk before the counters count them: a power loss must not leave counted
    // records that never reached it.
    written = written && out->FlushToDisk();
    return out->Close() && written;
}

// The whole records of the old file, in order (revived ones with the batch's data), then the
// new ones.
bool RewriteWithRecords(IFileSystem& files, ISystem& system, const std::string& windowsDir, long long records,
                        const std::vector<NewEntry>& batch, const ChosenFiles& chosen) {
    std::unordered_set<std::string> revived;
    for (const NewEntry& item : batch)
        if (item.revived) revived.insert(FoldPath(item.path));
    return ReplacePoolFile(files, windowsDir, [&](CArchive& archive) {
        long long copied = 0;
        bool stored = true;
        if (records > 0) {
            ForEachPoolRecord(files, system, windowsDir + kPoolFileName, [&](const CFileEntry& record) {
                CFileEntry copy = record;
                if (!revived.empty() && revived.count(FoldPath(copy.GetFullPath())))
                    GiveBatchData(copy, copy.Kind(), chosen);
                stored = copy.Serialize(archive);
                return stored && ++copied < records;
            });
        }
        return stored && copied == records && StoreNewEntries(archive, batch, chosen);
    });
}

void TakeIntoPools(CPools& pools, const std::vector<NewEntry>& batch, const ChosenFiles& chosen) {
    for (const NewEntry& item : batch) {
        const std::string& path = item.path;
        if (item.pool == kindSound) {
            if (pools.m_nSoundFiles >= CPools::kSoundSlots) continue;  // a revived sound past the last slot
            SchemeList list = pools.NewSchemeList();
            for (const std::string& scheme : chosen.schemes) {
                if (scheme.empty() || static_cast<int>(list.names.size()) >= std::min(list.capacity, CFileEntry::kMaxSchemes))
                    break;
                list.names.push_back(scheme);
            }
            pools.m_soundFiles.push_back(path);
            pools.m_soundSchemes.push_back(std::move(list));
            ++pools.m_nSoundFiles;
        } else if (item.pool == kindWallpaper) {
            pools.m_wallpaperFiles.push_back(path);
            pools.m_wallpaperTile.push_back(chosen.tile ? 1 : 0);
            ++pools.m_nWallpaperFiles;
        } else {
            pools.m_screenSaverFiles.push_back(path);
            ++pools.m_nScreenSaverFiles;
        }
    }
}

}  // namespace

bool PoolsAreFull(IRegistry& registry) {
    long long sum = 0;
    for (int counter : ReadPoolCounters(registry)) sum += counter;
    return sum > 9500;
}

AdditionOutcome AddChosenFiles(CPools& pools, IRegistry& registry, IFileSystem& files, ISystem& system,
                               const std::string& windowsDir, const ChosenFiles& chosen) {
    AdditionOutcome outcome;
    if (pools.m_bPoolFileUnreadable) {
        outcome.fileFailed = true;
        outcome.messages.push_back(kPoolFileUnreadableMessage);
        return outcome;
    }
    Survey survey = SurveyPoolFile(pools, registry, files, system, windowsDir);
    if (!survey.readable) {
        outcome.fileFailed = true;
        outcome.messages.push_back(kPoolFileWriteFailedMessage);
        return outcome;
    }

    // What each pool holds before the batch: in memory when appending; every record of the
    // file when it is rewritten, since the counters will then count them all.
    const Counts memory = {pools.m_nSoundFiles, pools.m_nWallpaperFiles, pools.m_nScreenSaverFiles};
    Counts base = memory;
    if (!survey.appendable)
        for (int pool = 0; pool < kEntryKindCount; ++pool) base[pool] = std::max(memory[pool], survey.perPool[pool]);

    // A path in memory is a duplicate. A path only the file holds (its file was missing at the
    // load, or its record lies beyond the counters) is taken again from its record, which gets
    // this batch's data, so that it is neither added twice nor left out.
    std::unordered_set<std::string> known;
    known.reserve(pools.m_soundFiles.size() + pools.m_wallpaperFiles.size() + pools.m_screenSaverFiles.size() +
                  chosen.names.size());
    for (const auto* pool : {&pools.m_soundFiles, &pools.m_wallpaperFiles, &pools.m_screenSaverFiles})
        for (const std::string& path : *pool) known.insert(FoldPath(path));
    std::unordered_map<std::string, std::size_t> inFileOnly;  // folded path -> its record
    for (std::size_t i = 0; i < survey.paths.size(); ++i)
        if (!known.count(FoldPath(survey.paths[i]))) inFileOnly.emplace(FoldPath(survey.paths[i]), i);

    std::vector<NewEntry> batch;
    Counts added{};
    for (const std::string& name : chosen.names) {
        const std::string path = chosen.folder + name;
        const std::string folded = FoldPath(path);
        if (!known.insert(folded).second) {
            ++outcome.duplicates;
            continue;
        }
        auto record = inFileOnly.find(folded);
        if (record != inFileOnly.end()) {
            batch.push_back(NewEntry{name, survey.paths[record->second], survey.pools[record->second], true});
            continue;
        }
        if (path.size() > kLongestPath || name.empty()) {
            ++outcome.refusedTooLong;
            continue;
        }
        const EntryKind pool = EntryKindOfName(name);
        if (base[pool] + added[pool] >= kMaxPoolEntries) {
            ++outcome.refusedFull;
            continue;
        }
        ++added[pool];
        batch.push_back(NewEntry{name, path, pool});
    }
    if (outcome.refusedFull > 0) outcome.messages.push_back(kPoolsFullMessage);
    if (outcome.refusedTooLong > 0) outcome.messages.push_back(kPathTooLongMessage);
    if (batch.empty()) return outcome;

    // The records first: until the counters grow, the old counted records are all a load
    // reads, so a failure here loses nothing and counts nothing half-written.
    // A revived record takes the batch's data in place, which only a rewrite can give it.
    outcome.rewritten = !survey.appendable ||
                        std::any_of(batch.begin(), batch.end(), [](const NewEntry& item) { return item.revived; });
    const bool stored = outcome.rewritten
                            ? RewriteWithRecords(files, system, windowsDir, survey.records, batch, chosen)
                            : AppendRecords(files, windowsDir + kPoolFileName, batch, chosen);
    if (!stored) {
        outcome.fileFailed = true;
        outcome.messages.push_back(kPoolFileWriteFailedMessage);
        return outcome;
    }
    TakeIntoPools(pools, batch, chosen);
    outcome.added = static_cast<int>(batch.size());

    Counts targets{};
    for (int pool = 0; pool < kEntryKindCount; ++pool)
        targets[pool] = (outcome.rewritten ? survey.perPool[pool] : memory[pool]) + added[pool];
    if (!WritePoolCounters(registry, targets)) {
        outcome.countersFailed = true;
        outcome.messages.push_back(kCounterWriteFailedMessage);
    }
    return outcome;
}

}  // namespace qm
