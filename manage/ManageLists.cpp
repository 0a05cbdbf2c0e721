#include "manage/ManageLists.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace qm {

namespace {

// For each path of `order`, the index of a pool entry with exactly that path; entries
// with the same path are handed out in pool order, each once. -1 where the pool has none.
std::vector<int> EntryAtEachPosition(const std::vector<std::string>& poolPaths, const std::vector<std::string>& order) {
    std::unordered_map<std::string, std::deque<int>> entries;
    for (std::size_t i = 0; i < poolPaths.size(); ++i) entries[poolPaths[i]].push_back(static_cast<int>(i));
    std::vector<int> result;
    result.reserve(order.size());
    for (const std::string& path : order) {
        auto found = entries.find(path);
        if (found == entries.end() || found->second.empty()) {
            result.push_back(-1);
            continue;
        }
        result.push_back(found->second.front());
        found->second.pop_front();
    }
    return result;
}

bool Inside(int position, std::size_t size) { return position >= 0 && static_cast<std::size_t>(position) < size; }

// Erases the elements at `positions` (ascending, duplicates ignored) from `items`.
template <typename T>
void EraseAt(std::vector<T>& items, const std::vector<int>& positions) {
    std::vector<bool> gone(items.size(), false);
    for (int position : positions)
        if (Inside(position, items.size())) gone[position] = true;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!gone[i]) {
            if (kept != i) items[kept] = std::move(items[i]);
            ++kept;
        }
    items.resize(kept);
}

}  // namespace

void CManageLists::Reset() {
    m_wallpapers.clear();
    m_screenSavers.clear();
    m_sounds.clear();
    m_tileFlags.clear();
    m_tileSet.clear();
    m_schemeLists.clear();
    m_schemesSet.clear();
    m_filled.clear();
    m_shownSchemes.clear();
    m_nSchemeCapacity = 0;
}

void CManageLists::Fill(const CPools& pools, const std::vector<std::string>& wallpaperOrder,
                        const std::vector<std::string>& screenSaverOrder, const std::vector<std::string>& soundOrder,
                        const std::vector<std::string>& shownSchemes) {
    Reset();
    m_shownSchemes = shownSchemes;
    m_nSchemeCapacity = std::clamp(static_cast<int>(shownSchemes.size()), 0, 100);
    m_wallpapers = wallpaperOrder;
    m_screenSavers = screenSaverOrder;
    m_sounds.assign(soundOrder.begin(), soundOrder.begin() + std::min<std::size_t>(soundOrder.size(), kSoundSlots));

    for (const auto* list : {&m_wallpapers, &m_screenSavers, &m_sounds})
        m_filled.insert(m_filled.end(), list->begin(), list->end());

    const std::vector<int> wallpaperEntry = EntryAtEachPosition(pools.m_wallpaperFiles, m_wallpapers);
    m_tileFlags.assign(m_wallpapers.size(), 0);
    m_tileSet.assign(m_wallpapers.size(), 0);
    for (std::size_t k = 0; k < m_wallpapers.size(); ++k)
        if (Inside(wallpaperEntry[k], pools.m_wallpaperTile.size())) m_tileFlags[k] = pools.m_wallpaperTile[wallpaperEntry[k]];

    const std::vector<int> soundEntry = EntryAtEachPosition(pools.m_soundFiles, m_sounds);
    m_schemeLists.assign(m_sounds.size(), {});
    m_schemesSet.assign(m_sounds.size(), 0);
    for (std::size_t k = 0; k < m_sounds.size(); ++k) {
        if (!Inside(soundEntry[k], pools.m_soundSchemes.size())) continue;
        const std::vector<std::string>& names = pools.m_soundSchemes[soundEntry[k]].names;
        const std::size_t count = std::min<std::size_t>(names.size(), m_nSchemeCapacity);
        m_schemeLists[k].assign(names.begin(), names.begin() + count);
    }
}

const std::vector<std::string>& CManageLists::Paths(EntryKind list) const {
    switch (list) {
    case kindWallpaper: return m_wallpapers;
    case kindScreenSaver: return m_screenSavers;
    default: return m_sounds;
    }
}

const std::vector<std::string>& CManageLists::SchemesOf(int position) const {
    static const std::vector<std::string> none;
    return Inside(position, m_schemeLists.size()) ? m_schemeLists[position] : none;
}

std::vector<bool> CManageLists::TicksFor(int position, const std::vector<std::string>& schemeItems) const {
    const std::vector<std::string>& names = SchemesOf(position);
    const std::size_t walked = std::min<std::size_t>(names.size(), 100);
    std::vector<bool> ticks;
    ticks.reserve(schemeItems.size());
    for (const std::string& item : schemeItems)
        ticks.push_back(std::find(names.begin(), names.begin() + walked, item) != names.begin() + walked);
    return ticks;
}

void CManageLists::AssignSchemes(const std::vector<int>& positions, const std::vector<std::string>& ticked) {
    std::vector<std::string> names;
    for (const std::string& name : ticked) {
        if (name.empty() || static_cast<int>(names.size()) >= m_nSchemeCapacity) break;
        names.push_back(name);
    }
    for (int position : positions)
        if (Inside(position, m_schemeLists.size())) {
            m_schemeLists[position] = names;
            m_schemesSet[position] = 1;
        }
}

void CManageLists::SetTile(const std::vector<int>& positions, bool tiled) {
    for (int position : positions)
        if (Inside(position, m_tileFlags.size())) {
            m_tileFlags[position] = tiled ? 1 : 0;
            m_tileSet[position] = 1;
        }
}

int CManageLists::TileShownFor(const std::vector<int>& positions) const {
    int shown = -1;
    for (int position : positions)
        if (Inside(position, m_tileFlags.size())) shown = m_tileFlags[position] != 0 ? 1 : 0;
    return shown;
}

void CManageLists::Remove(EntryKind list, const std::vector<int>& positions) {
    switch (list) {
    case kindWallpaper:
        EraseAt(m_wallpapers, positions);
        EraseAt(m_tileFlags, positions);
        EraseAt(m_tileSet, positions);
        break;
    case kindScreenSaver: EraseAt(m_screenSavers, positions); break;
    case kindSound:
        EraseAt(m_sounds, positions);
        EraseAt(m_schemeLists, positions);
        EraseAt(m_schemesSet, positions);
        break;
    }
}

PoolChanges CManageLists::Result() const {
    PoolChanges changes;
    changes.listed = m_filled;
    changes.shownSchemes = m_shownSchemes;
    std::unordered_set<std::string> kept;
    for (const auto* list : {&m_wallpapers, &m_screenSavers, &m_sounds}) kept.insert(list->begin(), list->end());
    for (const std::string& path : m_filled)
        if (!kept.count(path)) changes.removed.push_back(path);
    for (std::size_t k = 0; k < m_wallpapers.size(); ++k)
        if (m_tileSet[k]) changes.tiles[m_wallpapers[k]] = m_tileFlags[k];
    // A sound listed more than once gets the names of every listed copy, in list order.
    std::unordered_set<std::string> ticked;
    for (std::size_t k = 0; k < m_sounds.size(); ++k)
        if (m_schemesSet[k]) ticked.insert(m_sounds[k]);
    for (std::size_t k = 0; k < m_sounds.size(); ++k)
        if (ticked.count(m_sounds[k])) {
            std::vector<std::string>& names = changes.schemes[m_sounds[k]];
            names.insert(names.end(), m_schemeLists[k].begin(), m_schemeLists[k].end());
        }
    return changes;
}

}  // namespace qm
