#include "randomize/EventSounds.h"

#include <algorithm>

#include "pools/FileSearch.h"

namespace qm {

const char kNoWaveFilesMessage[] = "You haven't selected any wave files for randomization.";

void CEventSounds::FillSchemeList() {
    m_schemes = ListSchemes(m_registry);
    m_selected = -1;
    m_rows.clear();
}

void CEventSounds::SelectScheme(int index) { LoadScheme(index, RowReading::everything); }

void CEventSounds::LoadScheme(int index, RowReading reading) {
    if (index < 0 || index >= static_cast<int>(m_schemes.size())) return;
    m_selected = index;
    const std::string& scheme = m_schemes[index];
    m_rows = ListEvents(m_registry, scheme);
    for (EventRow& row : m_rows) {
        ReadEventMark(m_registry, scheme, row);
        if (!row.marked || reading == RowReading::everything) ReadCurrentFile(m_registry, scheme, row);
    }
    m_view.ShowScheme(index);
}

void CEventSounds::SetRowOrder(const std::vector<int>& order) {
    if (order.size() != m_rows.size()) return;
    std::vector<bool> taken(m_rows.size(), false);
    std::vector<EventRow> ordered;
    ordered.reserve(m_rows.size());
    for (int from : order) {
        if (from < 0 || from >= static_cast<int>(m_rows.size()) || taken[from]) return;
        taken[from] = true;
        ordered.push_back(m_rows[from]);
    }
    m_rows = std::move(ordered);
}

void CEventSounds::SetMarks(const std::vector<bool>& marks) {
    if (m_selected < 0 || marks.size() != m_rows.size()) return;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        m_rows[r].marked = marks[r];
        m_view.ShowRow(static_cast<int>(r));
        WriteMarker(m_registry, m_schemes[m_selected], m_rows[r], marks[r]);
    }
}

void CEventSounds::MarkAll(bool marked) { SetMarks(std::vector<bool>(m_rows.size(), marked)); }

bool CEventSounds::SoundPoolEmpty(const CPools& pools, bool unattended) {
    if (pools.m_nSoundFiles > 0) return false;
    if (!unattended) m_view.ShowMessage(kNoWaveFilesMessage);
    return true;
}

void CEventSounds::RandomizeAllSchemes(const CPools& pools, CRandom& random, bool unattended) {
    if (SoundPoolEmpty(pools, unattended)) return;
    const bool wasSelected = m_selected >= 0;
    const std::string remembered = SelectedScheme();
    for (int i = 0; i < static_cast<int>(m_schemes.size()); ++i) {
        // A marked row's current file is read only where no new sound replaced it: on a
        // slow registry those reads are a third of the run.
        LoadScheme(i, RowReading::skipCurrentOfMarked);
        const std::vector<bool> changed = RandomizeMarkedRows(pools, random);
        for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
            if (!m_rows[r].marked || changed[r]) continue;
            ReadCurrentFile(m_registry, m_schemes[i], m_rows[r]);
            m_view.ShowRow(r);
        }
    }
    if (!wasSelected) return;
    auto again = std::find_if(m_schemes.begin(), m_schemes.end(),
                              [&](const std::string& scheme) { return BeginsWithIgnoringCase(scheme, remembered); });
    if (again != m_schemes.end()) SelectScheme(static_cast<int>(again - m_schemes.begin()));
}

void CEventSounds::RandomizeScheme(const CPools& pools, CRandom& random, bool unattended) {
    if (SoundPoolEmpty(pools, unattended)) return;
    RandomizeMarkedRows(pools, random);
}

std::vector<bool> CEventSounds::RandomizeMarkedRows(const CPools& pools, CRandom& random) {
    std::vector<bool> changed(m_rows.size(), false);
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        if (m_rows[r].marked) changed[r] = RandomizeEvent(r, pools, random);
    return changed;
}

bool CEventSounds::RandomizeEvent(int row, const CPools& pools, CRandom& random) {
    if (m_selected < 0 || row < 0 || row >= static_cast<int>(m_rows.size())) return false;
    const std::string& scheme = m_schemes[m_selected];
    const std::string key = EventKeyOf(scheme, m_rows[row]) + "\\" + kCurrentKeyName;
    std::optional<int> drawn = random.PickForScheme(pools, scheme);
    if (!drawn || *drawn >= static_cast<int>(pools.m_soundFiles.size())) return false;
    const std::string& path = pools.m_soundFiles[*drawn];
    if (!WriteEventKeyText(m_registry, key, path)) return false;
    m_rows[row].currentFile = FileNameOfPath(path);
    m_view.ShowRow(row);
    return true;
}

}  // namespace qm
