#include "pools/FileEntry.h"

#include <algorithm>

#include "pools/Archive.h"

namespace qm {

CFileEntry::CFileEntry() = default;

void CFileEntry::SetFile(const std::string& name, const std::string& folder, int kind) {
    m_name = name;
    m_folder = folder;
    m_isSound = m_isWallpaper = m_isScreenSaver = 0;
    m_tile = 0;
    if (kind == kindSound)
        m_isSound = 1;
    else if (kind == kindWallpaper)
        m_isWallpaper = 1;
    else
        m_isScreenSaver = 1;
    ClearSchemes();
}

const std::string& CFileEntry::GetScheme(int slot) const {
    static const std::string kNone;
    if (slot < 0 || slot >= kMaxSchemes) return kNone;
    return m_schemes[slot];
}

int CFileEntry::GetSchemeCount() const {
    for (int slot = 0; slot < kMaxSchemes; ++slot)
        if (m_schemes[slot].empty()) return slot;
    return kMaxSchemes;
}

bool CFileEntry::AppendScheme(const std::string& name) {
    int slot = GetSchemeCount();
    if (name.empty() || slot == kMaxSchemes) return false;
    m_schemes[slot] = name;
    m_slotsUsed = std::max(m_slotsUsed, slot + 1);
    m_schemeCount = GetSchemeCount();
    return true;
}

// A load empties the slots before every record: only those ever filled need it.
void CFileEntry::ClearSchemes() {
    for (int slot = 0; slot < m_slotsUsed; ++slot) m_schemes[slot].clear();
    m_slotsUsed = 0;
    m_schemeCount = 0;
}

bool CFileEntry::Serialize(CArchive& ar) {
    if (!ar.IsLoading()) {
        // Only slots that exist are written, and the count written matches them.
        int count = std::clamp<int>(m_schemeCount, 0, kMaxSchemes);
        bool ok = ar.WriteString(m_name) && ar.WriteString(m_folder) && ar.WriteInt32(m_isSound) &&
                  ar.WriteInt32(m_isWallpaper) && ar.WriteInt32(m_isScreenSaver) && ar.WriteInt32(count) &&
                  ar.WriteInt32(m_tile);
        for (int slot = 0; ok && slot < count; ++slot) ok = ar.WriteString(m_schemes[slot]);
        return ok;
    }
    std::int32_t count = 0;
    if (!(ar.ReadString(m_name) && ar.ReadString(m_folder) && ar.ReadInt32(m_isSound) &&
          ar.ReadInt32(m_isWallpaper) && ar.ReadInt32(m_isScreenSaver) && ar.ReadInt32(count) &&
          ar.ReadInt32(m_tile)))
        return false;
    // A stored count can break the rules of an entry: names past slot 99 are read, so the
    // next record starts where it should, and dropped; a negative count means no names.
    std::string name;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!ar.ReadString(name)) return false;
        if (i < kMaxSchemes) {
            m_schemes[i].swap(name);
            m_slotsUsed = std::max<int>(m_slotsUsed, i + 1);
        }
    }
    m_schemeCount = std::clamp<std::int32_t>(count, 0, kMaxSchemes);
    return true;
}

}  // namespace qm
