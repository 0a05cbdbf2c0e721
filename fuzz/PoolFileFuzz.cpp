// libFuzzer target of the pool-file reader.
//
// Input layout:
//   byte 0, 1, 2  the sound, wallpaper and screen-saver counters, each a signed byte
//                 (-127 to 126 as they are; 127 stands for INT_MAX and -128 for INT_MIN);
//   byte 3        the scheme capacity handed to LoadPools, a signed byte (the load clamps
//                 it to 0..100, so negative and oversized values are exercised too);
//   the rest      the bytes of the pool file.
// Missing header bytes count as 0; a short input is an empty pool file.
//
// Each input is used three ways:
//   1. LoadPools over a FakeFileSystem holding the bytes as C:\WINDOWS\qmfiles.cfg, with the
//      counters in a FakeRegistry. Every file a record names counts as existing unless its
//      name's length leaves 4 when divided by 5 (see EverythingExists), so nearly every
//      record is taken, every branch of taking an entry runs, and some are skipped. The
//      pools are checked against their own invariants and against what the records decoded
//      in 2 say they must hold.
//   2. The bytes decoded directly, record after record with CFileEntry::Serialize until it
//      fails, once with the file size known and full buffers, once with the size unknown and
//      short reads; both must give the same records and end at the end of the file.
//   3. Each decoded record stored again and read back must give the same entry.
// A violated check prints what failed and traps.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "platform/fake/MemoryStreams.h"
#include "platform/PathParts.h"
#include "platform/ProxyFileSystem.h"
#include "pools/Archive.h"
#include "pools/FileEntry.h"
#include "pools/FileSearch.h"
#include "pools/PoolLoader.h"
#include "pools/Pools.h"
#include "pools/RegistryAccess.h"

namespace {

using namespace qm;

const char kWindowsDir[] = "C:\\WINDOWS\\";
constexpr std::size_t kHeaderBytes = 4;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "pool-file fuzz check failed: %s\n", what);
    __builtin_trap();
}

// The pool file is in the fake; any other file asked for by a plain name (no wildcards) is
// reported as found under the name asked for, the way the directory search reports a file
// that is there. A listing of a whole folder ("folder\*", as a load reads its folders)
// finds what the fake holds there and every name the records pair with that folder, so
// the load's listing and the search per record describe the same files. Other searches
// with wildcards, reading and writing go to the fake.
class EverythingExists : public ProxyFileSystem {
public:
    // `records` must outlive this: the listing refers to their names.
    template <typename Record>
    EverythingExists(FakeFileSystem& files, const std::vector<Record>& records, std::size_t count)
        : ProxyFileSystem(files), m_files(files) {
        for (std::size_t i = 0; i < records.size() && i < count; ++i)
            m_namesByFolder.emplace(records[i].folder, records[i].name);
    }

    void Search(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) override {
        std::string name = SplitPath(pattern).name;
        if (name == "*") {
            bool going = true;
            m_files.Search(pattern, [&](const FoundEntry& entry) { return going = visit(entry); });
            auto [first, last] = m_namesByFolder.equal_range(std::string_view(pattern).substr(0, pattern.size() - 1));
            for (auto it = first; going && it != last; ++it)
                if (!it->second.empty() && !IsMissing(it->second))
                    going = visit(FoundEntry{std::string(it->second), 0, false});
            return;
        }
        if (name.find_first_of("*?") != std::string::npos) {
            m_files.Search(pattern, visit);
            return;
        }
        if (name.empty() || IsMissing(name)) return;  // a search for "folder\" finds nothing
        visit(FoundEntry{name, 0, false});
    }

private:
    static bool IsMissing(std::string_view name) { return name.size() % 5 == 4; }

    FakeFileSystem& m_files;
    std::unordered_multimap<std::string_view, std::string_view> m_namesByFolder;
};

// Everything an entry shows through its interface. Scheme slots are kept up to the last
// filled one, gaps included.
struct Snapshot {
    std::string name, folder, fullPath;
    int isSound = 0, isWallpaper = 0, isScreenSaver = 0, tile = 0, schemeCount = 0;
    std::vector<std::string> schemes;

    explicit Snapshot(const CFileEntry& entry)
        : name(entry.GetName()),
          folder(entry.GetFolder()),
          fullPath(entry.GetFullPath()),
          isSound(entry.IsSound()),
          isWallpaper(entry.IsWallpaper()),
          isScreenSaver(entry.IsScreenSaver()),
          tile(entry.GetTile()),
          schemeCount(entry.GetSchemeCount()) {
        int filled = entry.GetSlotsUsed();
        while (filled > 0 && entry.GetScheme(filled - 1).empty()) --filled;
        schemes.reserve(filled);
        for (int slot = 0; slot < filled; ++slot) schemes.push_back(entry.GetScheme(slot));
    }
    // Whether `entry` shows exactly this, compared in place: copying every entry into a
    // snapshot of its own would cost more than the rest of an input.
    bool Matches(const CFileEntry& entry) const {
        if (entry.GetName() != name || entry.GetFolder() != folder ||
            entry.IsSound() != isSound || entry.IsWallpaper() != isWallpaper ||
            entry.IsScreenSaver() != isScreenSaver || entry.GetTile() != tile ||
            entry.GetSchemeCount() != schemeCount)
            return false;
        const int filled = static_cast<int>(schemes.size());
        for (int slot = 0; slot < filled; ++slot)
            if (entry.GetScheme(slot) != schemes[slot]) return false;
        for (int slot = filled; slot < entry.GetSlotsUsed(); ++slot)
            if (!entry.GetScheme(slot).empty()) return false;
        return true;
    }
};

// What storing and reading back a record works in, kept from record to record so that the
// check reuses its buffers instead of allocating them again for every record.
struct RoundTrip {
    MemoryWriteStream out;
    CFileEntry again;
};

void CheckRoundTrip(CFileEntry& entry, const Snapshot& shown, ISystem& system, RoundTrip& work);

// The records as snapshots: an entry holds 100 scheme slots, and copying it for every
// record cost more than everything else an input does.
struct Decoded {
    std::vector<Snapshot> entries;
    CArchive::State state = CArchive::State::ok;
};

// Decodes every record, each also stored and read back.
Decoded DecodeAll(const std::uint8_t* data, std::size_t size, ISystem& system) {
    Decoded decoded;
    MemoryReadStream in(data, size, CArchive::kBufferSize, true);
    CArchive archive(in, [&system](const std::u16string& text) { return system.WideToAnsi(text); });
    CFileEntry entry;
    RoundTrip work;
    for (;;) {
        entry.ClearSchemes();
        if (!entry.Serialize(archive)) break;
        decoded.entries.emplace_back(entry);
        CheckRoundTrip(entry, decoded.entries.back(), system, work);
    }
    decoded.state = archive.GetState();
    return decoded;
}

// Decodes the records again with the file size unknown and short reads of an odd length,
// which put record and buffer boundaries everywhere: the same records must come out.
void CheckShortReads(const std::uint8_t* data, std::size_t size, const Decoded& whole, ISystem& system) {
    MemoryReadStream in(data, size, 7, false);
    CArchive archive(in, [&system](const std::u16string& text) { return system.WideToAnsi(text); });
    CFileEntry entry;
    std::size_t count = 0;
    for (;;) {
        entry.ClearSchemes();
        if (!entry.Serialize(archive)) break;
        Check(count < whole.entries.size(), "short reads decoded more records");
        Check(whole.entries[count].Matches(entry), "short reads decoded a different record");
        ++count;
    }
    Check(archive.GetState() == CArchive::State::endOfFile, "short reads did not end at the end of the file");
    Check(count == whole.entries.size(), "short reads decoded fewer records");
}

void CheckRoundTrip(CFileEntry& entry, const Snapshot& shown, ISystem& system, RoundTrip& work) {
    MemoryWriteStream& out = work.out;
    out.bytes.clear();
    {
        CArchive archive(out);
        Check(entry.Serialize(archive), "storing a decoded record");
        Check(archive.Flush() && archive.GetState() == CArchive::State::ok, "flushing a stored record");
    }
    MemoryReadStream in(reinterpret_cast<const std::uint8_t*>(out.bytes.data()), out.bytes.size(),
                        CArchive::kBufferSize, true);
    CArchive archive(in, [&system](const std::u16string& text) { return system.WideToAnsi(text); });
    CFileEntry& again = work.again;
    again.ClearSchemes();
    Check(again.Serialize(archive), "reading back a stored record");
    Check(shown.Matches(again), "a stored record reads back as a different entry");
    std::int32_t extra = 0;
    Check(!archive.ReadInt32(extra) && archive.GetState() == CArchive::State::endOfFile,
          "reading back a stored record left bytes over");
}

// Whether a pool holds exactly the full paths of these records, in their order.
bool SamePaths(const std::vector<std::string>& pool, const std::vector<const Snapshot*>& records) {
    if (pool.size() != records.size()) return false;
    for (std::size_t i = 0; i < pool.size(); ++i)
        if (pool[i] != records[i]->fullPath) return false;
    return true;
}

// Whether a sound's scheme list holds its record's names up to the first empty one or the
// capacity.
bool SameSchemes(const std::vector<std::string>& names, const Snapshot& record, int capacity) {
    std::size_t expected = 0;
    while (expected < record.schemes.size() && static_cast<int>(expected) < capacity &&
           !record.schemes[expected].empty())
        ++expected;
    if (names.size() != expected) return false;
    for (std::size_t i = 0; i < expected; ++i)
        if (names[i] != record.schemes[i]) return false;
    return true;
}

int CounterFromByte(std::uint8_t byte) {
    int value = static_cast<std::int8_t>(byte);
    if (value == 127) return INT_MAX;
    if (value == -128) return INT_MIN;
    return value;
}

void CheckLoad(const std::uint8_t* data, std::size_t size, const Decoded& decoded, ISystem& system) {
    std::uint8_t header[kHeaderBytes] = {0, 0, 0, 0};
    std::memcpy(header, data, std::min(size, kHeaderBytes));
    const int counters[3] = {CounterFromByte(header[0]), CounterFromByte(header[1]), CounterFromByte(header[2])};
    const int schemeCapacity = static_cast<std::int8_t>(header[3]);
    const std::uint8_t* file = data + std::min(size, kHeaderBytes);
    const std::size_t fileSize = size - std::min(size, kHeaderBytes);

    FakeFileSystem fake;
    fake.AddFile(std::string(kWindowsDir) + kPoolFileName, std::string(reinterpret_cast<const char*>(file), fileSize));
    long long records = 0;
    for (int counter : counters) records += std::max(counter, 0);
    EverythingExists files(fake, decoded.entries, static_cast<std::size_t>(std::min<long long>(records, SIZE_MAX)));
    // One registry for every input, as for the pools below: writing a key costs more than
    // the rest of an input, so only counters that changed since the last input are written.
    // The load reads all three every time.
    static FakeRegistry registry;
    static int written[3] = {0, 0, 0};
    static bool anyWritten = false;
    // The keys are made once by the program's own writes; later the text is set in place,
    // which leaves each key as that write does (its default value alone) at less cost.
    void (*const setters[3])(IRegistry&, int) = {SetSoundFileCount, SetWallpaperFileCount, SetScreenSaverFileCount};
    int (*const getters[3])(IRegistry&) = {GetSoundFileCount, GetWallpaperFileCount, GetScreenSaverFileCount};
    const char* const keys[3] = {kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey};
    for (int i = 0; i < 3; ++i) {
        if (anyWritten && written[i] == counters[i]) continue;
        if (anyWritten)
            registry.SetValue(RegistryRoot::LocalMachine, keys[i], std::string(), std::to_string(counters[i]));
        else
            setters[i](registry, counters[i]);
        written[i] = counters[i];
        Check(getters[i](registry) == counters[i], "a counter does not read back as written");
    }
    anyWritten = true;

    // One set of pools for every input, as the program reloads into the pools it has: the
    // load must leave nothing of the previous input behind (the checks below would see
    // it).
    static CPools pools;
    PoolLoadResult result = LoadPools(pools, registry, files, system, kWindowsDir, schemeCapacity);

    // The pools' own rules.
    Check(pools.m_nSoundFiles >= 0 && static_cast<std::size_t>(pools.m_nSoundFiles) == pools.m_soundFiles.size(),
          "sound count differs from the sound paths");
    Check(pools.m_nWallpaperFiles >= 0 &&
              static_cast<std::size_t>(pools.m_nWallpaperFiles) == pools.m_wallpaperFiles.size(),
          "wallpaper count differs from the wallpaper paths");
    Check(static_cast<std::size_t>(pools.m_nWallpaperFiles) == pools.m_wallpaperTile.size(),
          "wallpaper count differs from the tile flags");
    Check(pools.m_nScreenSaverFiles >= 0 &&
              static_cast<std::size_t>(pools.m_nScreenSaverFiles) == pools.m_screenSaverFiles.size(),
          "screen-saver count differs from the screen-saver paths");
    Check(pools.m_nSoundFiles <= CPools::kSoundSlots, "more sounds than sound slots");
    Check(pools.m_soundSchemes.size() == pools.m_soundFiles.size(), "a scheme list count differs from the sounds");
    const int capacity = std::clamp(schemeCapacity, 0, CFileEntry::kMaxSchemes);
    for (const SchemeList& list : pools.m_soundSchemes) {
        Check(list.capacity == capacity && list.capacity <= CFileEntry::kMaxSchemes, "wrong scheme capacity");
        Check(list.names.size() <= static_cast<std::size_t>(list.capacity), "more scheme names than the capacity");
    }
    Check(!result.fileUnreadable && !pools.m_bPoolFileUnreadable, "a readable pool file reported unreadable");
    Check(result.counterMismatch != (pools.m_nSoundFiles == counters[0] && pools.m_nWallpaperFiles == counters[1] &&
                                     pools.m_nScreenSaverFiles == counters[2]),
          "counter mismatch reported wrongly");

    // What the records say the pools must hold: the leading records the counters cover,
    // each in the pool of its kind, sounds up to the slots, scheme names up to the first
    // empty one or the capacity. The records are referred to, not copied.
    std::vector<const Snapshot*> sounds, wallpapers, savers;
    for (std::size_t i = 0; i < decoded.entries.size() && static_cast<long long>(i) < records; ++i) {
        const Snapshot& entry = decoded.entries[i];
        if (!FindFileInFolder(files, entry.folder, entry.name)) continue;
        if (entry.isSound) {
            if (sounds.size() < static_cast<std::size_t>(CPools::kSoundSlots)) sounds.push_back(&entry);
        } else if (entry.isWallpaper) {
            wallpapers.push_back(&entry);
        } else {
            savers.push_back(&entry);
        }
    }
    Check(SamePaths(pools.m_soundFiles, sounds), "the sound pool differs from the records");
    Check(SamePaths(pools.m_wallpaperFiles, wallpapers), "the wallpaper pool differs from the records");
    Check(SamePaths(pools.m_screenSaverFiles, savers), "the screen-saver pool differs from the records");
    for (std::size_t i = 0; i < wallpapers.size() && i < pools.m_wallpaperTile.size(); ++i)
        Check(pools.m_wallpaperTile[i] == wallpapers[i]->tile, "the tile flags differ from the records");
    for (std::size_t i = 0; i < pools.m_soundSchemes.size() && i < sounds.size(); ++i)
        Check(SameSchemes(pools.m_soundSchemes[i].names, *sounds[i], capacity),
              "a sound's scheme names differ from its record");
}

}  // namespace

// The sanitizer settings of this target (ASAN_OPTIONS still overrides them). Each input
// makes a few hundred small allocations, and by default every one records a 30-frame
// stack, is filled with a pattern and waits in a 256 MB quarantine: most of the time of an
// input. A use after free is still caught within the last 2 MB freed (an input frees far
// less), and a report still names the two innermost frames of the allocation and the
// release; for whole stacks, run the saved input again with
// ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=2:max_malloc_fill_size=0:quarantine_size_mb=2";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeSystem system;
    const std::size_t skip = std::min(size, kHeaderBytes);
    const std::uint8_t* file = data + skip;
    const std::size_t fileSize = size - skip;

    Decoded whole = DecodeAll(file, fileSize, system);
    Check(whole.state == CArchive::State::endOfFile, "decoding from memory did not end at the end of the file");
    CheckShortReads(file, fileSize, whole, system);

    CheckLoad(data, size, whole, system);
    return 0;
}
