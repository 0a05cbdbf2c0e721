#pragma once
// The working copies behind the Manage Files dialog: its three sorted lists, the tile flag
// of every listed wallpaper and the scheme names of every listed sound, kept aligned by
// position. The dialog's list boxes decide the order; these follow them. Besides, they
// remember what the user did (which paths went, which flags and ticks were set), because
// Make Changes applies only that: the pool file may hold records the dialog never showed.
#include <cstdint>
#include <string>
#include <vector>

#include "pools/FileEntry.h"
#include "pools/PoolRewrite.h"
#include "pools/Pools.h"

namespace qm {

class CManageLists {
public:
    static constexpr int kSoundSlots = CPools::kSoundSlots;  // sound positions that have a slot

    // Forgets every list, flag and scheme list.
    void Reset();

    // Takes the pools' entries in the order in which the sorted lists show their paths
    // (each order holds every path of its pool once per entry). Entry data is matched to a
    // position by its exact path, each entry once, so nothing is searched per entry. Sounds
    // past the last slot are not taken. `shownSchemes` is the dialog's scheme list; a sound's
    // list holds at most as many names as it has.
    void Fill(const CPools& pools, const std::vector<std::string>& wallpaperOrder,
              const std::vector<std::string>& screenSaverOrder, const std::vector<std::string>& soundOrder,
              const std::vector<std::string>& shownSchemes);

    const std::vector<std::string>& Paths(EntryKind list) const;
    const std::vector<std::int32_t>& TileFlags() const { return m_tileFlags; }
    // The scheme names of the sound at `position`; empty outside the list.
    const std::vector<std::string>& SchemesOf(int position) const;

    // For each of `schemeItems` (the scheme list's texts), whether the sound at `position`
    // applies to it: its first 100 names are compared exactly.
    std::vector<bool> TicksFor(int position, const std::vector<std::string>& schemeItems) const;
    // Gives every sound at `positions` the names `ticked`, in their order, as far as the
    // capacity goes.
    void AssignSchemes(const std::vector<int>& positions, const std::vector<std::string>& ticked);
    // Sets the flag of every wallpaper at `positions`: 1 tiled, 0 centred.
    void SetTile(const std::vector<int>& positions, bool tiled);
    // The flag the radio buttons show for a selection: that of the last selected wallpaper
    // (positions ascending); -1 when none is selected.
    int TileShownFor(const std::vector<int>& positions) const;
    // Removes the entries at `positions` (ascending) from `list` with their flags or scheme
    // lists; the entries after them move up and keep their own data.
    void Remove(EntryKind list, const std::vector<int>& positions);

    // What Make Changes hands to the rewrite of the pool file: the user's changes alone.
    PoolChanges Result() const;

private:
    std::vector<std::string> m_wallpapers, m_screenSavers, m_sounds;
    std::vector<std::int32_t> m_tileFlags;                // by wallpaper position
    std::vector<char> m_tileSet;                          // by wallpaper position: the user set its flag
    std::vector<std::vector<std::string>> m_schemeLists;  // by sound position
    std::vector<char> m_schemesSet;                       // by sound position: the user set its ticks
    std::vector<std::string> m_filled;                    // every path listed when filled
    std::vector<std::string> m_shownSchemes;
    int m_nSchemeCapacity = 0;
};

}  // namespace qm
