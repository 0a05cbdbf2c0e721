#pragma once
// One pool entry: a file of one of the three pools, with its tile flag (wallpapers) and
// the sound schemes it applies to (sounds). The unit of the pool file.
#include <cstdint>
#include <string>

namespace qm {

class CArchive;

// The pool an entry belongs to; also the index of its pool's count wherever the three are
// counted together (the pool file stores it as three flags).
enum EntryKind { kindSound = 0, kindWallpaper = 1, kindScreenSaver = 2 };
constexpr int kEntryKindCount = 3;

class CFileEntry {
public:
    static constexpr int kMaxSchemes = 100;

    CFileEntry();

    // Sets name, folder and kind: 0 a sound, 1 a wallpaper, any other value a screen
    // saver. Clears the tile flag and all scheme slots.
    void SetFile(const std::string& name, const std::string& folder, int kind);

    const std::string& GetName() const { return m_name; }
    const std::string& GetFolder() const { return m_folder; }
    std::string GetFullPath() const { return m_folder + m_name; }  // no separator is inserted
    int IsSound() const { return m_isSound; }
    int IsWallpaper() const { return m_isWallpaper; }
    int IsScreenSaver() const { return m_isScreenSaver; }
    EntryKind Kind() const { return m_isSound ? kindSound : m_isWallpaper ? kindWallpaper : kindScreenSaver; }
    int GetTile() const { return m_tile; }
    void SetTile(int tile) { m_tile = tile; }

    // The name in `slot`; empty for an empty slot or a slot outside 0 to 99.
    const std::string& GetScheme(int slot) const;
    // The index of the first empty slot; 100 when every slot is filled.
    int GetSchemeCount() const;
    // Every slot from this one on is empty (an earlier one may be empty too).
    int GetSlotsUsed() const { return m_slotsUsed; }
    // Stores `name` in the first empty slot. An empty name, or an entry whose 100 slots
    // are all filled, stores nothing and returns false.
    bool AppendScheme(const std::string& name);
    void ClearSchemes();

    // Writes the entry as one record, or reads one record into it. Returns false when the
    // archive met the end of the file or an error; the entry then holds what was read.
    bool Serialize(CArchive& archive);

private:
    std::string m_name;                      // file name without its folder
    std::string m_folder;                    // folder, ending in a backslash
    std::int32_t m_isSound = 0;              // exactly one of the three kind flags is 1
    std::int32_t m_isWallpaper = 0;
    std::int32_t m_isScreenSaver = 0;
    std::int32_t m_tile = 0;                 // wallpapers: nonzero tiled, 0 centred
    std::string m_schemes[kMaxSchemes];      // scheme names in slots 0.. without gaps
    std::int32_t m_schemeCount = 0;          // names held, 0 to 100
    int m_slotsUsed = 0;                     // slots from here on are all empty
};

}  // namespace qm
