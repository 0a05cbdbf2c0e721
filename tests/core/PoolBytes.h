#pragma once
// Building pool-file bytes by hand and through the archive, for tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/fake/MemoryStreams.h"
#include "pools/Archive.h"
#include "pools/FileEntry.h"

namespace qm::test {

inline std::string I32(std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    return std::string{static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                       static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
}

// A short string (below 255 characters) as the pool file stores it.
inline std::string Str(const std::string& text) { return std::string(1, static_cast<char>(text.size())) + text; }

// One record by hand: name, folder, the three kind flags, scheme count, tile, then names.
inline std::string Record(const std::string& name, const std::string& folder, int sound, int wallpaper, int saver,
                          int count, int tile, const std::vector<std::string>& schemes = {}) {
    std::string bytes = Str(name) + Str(folder) + I32(sound) + I32(wallpaper) + I32(saver) + I32(count) + I32(tile);
    for (const auto& scheme : schemes) bytes += Str(scheme);
    return bytes;
}

inline std::string Encode(CFileEntry& entry) {
    MemoryWriteStream out;
    {
        CArchive archive(out);
        entry.Serialize(archive);
    }
    return out.bytes;
}

inline CFileEntry MakeEntry(const std::string& folder, const std::string& name, EntryKind kind, int tile = 0,
                            const std::vector<std::string>& schemes = {}) {
    CFileEntry entry;
    entry.SetFile(name, folder, kind);
    entry.SetTile(tile);
    for (const auto& scheme : schemes) entry.AppendScheme(scheme);
    return entry;
}

}  // namespace qm::test
