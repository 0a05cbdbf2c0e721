#pragma once
// The three in-memory pools. Entry i of a pool is index i of its arrays; the count of a
// pool always equals the size of its path array.
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// The scheme names of one sound entry. It holds at most `capacity` names: the number of
// schemes the main window listed when the pools were loaded.
struct SchemeList {
    std::vector<std::string> names;
    int capacity = 0;
};

struct CPools {
    static constexpr int kSoundSlots = 10000;  // the sound pool's fixed capacity

    std::vector<std::string> m_wallpaperFiles;    // full paths
    std::vector<std::int32_t> m_wallpaperTile;    // nonzero tiled, 0 centred
    int m_nWallpaperFiles = 0;
    std::vector<std::string> m_screenSaverFiles;
    int m_nScreenSaverFiles = 0;
    std::vector<std::string> m_soundFiles;
    std::vector<SchemeList> m_soundSchemes;       // one list per sound entry, at most kSoundSlots
    int m_nSoundFiles = 0;
    int m_nSchemeCapacity = 0;                    // names each sound's list may hold

    // The pool file was there but could not be opened or read in this run. The pools then
    // lack its records, so writing the file or the counters would lose them.
    bool m_bPoolFileUnreadable = false;

    // Empties every pool; sounds taken from now on get lists of `schemeCapacity` names.
    // The sound pool's slots are made as sounds arrive, so an empty pool costs nothing.
    void Reset(int schemeCapacity);
    // A new, empty scheme list of the pools' capacity, for the next sound entry.
    SchemeList NewSchemeList() const { return SchemeList{{}, m_nSchemeCapacity}; }
    // Releases every array.
    void Release();
};

}  // namespace qm
