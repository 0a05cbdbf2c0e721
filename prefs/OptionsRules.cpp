#include "prefs/OptionsRules.h"

#include "prefs/Preferences.h"

namespace qm {

const char kSelectIntervalMessage[] = "Please select a time interval first.";

bool COptionsChoices::BoxTicked(int flag) const {
    return flag >= 0 && static_cast<size_t>(flag) < m_strPrefs.size() && m_strPrefs[flag] == 'y';
}

int COptionsChoices::SelectedInterval() const {
    if (m_strPrefs.empty() || m_strPrefs.back() == '|') return -1;
    return IntervalIndexInField(m_strPrefs);
}

namespace {
void CoverFlags(std::string& prefs) {
    if (prefs.size() < 3) prefs.resize(3, 'n');
}
}  // namespace

void COptionsChoices::BoxClicked(int flag, bool ticked) {
    if (flag < 0 || flag > 2) return;
    CoverFlags(m_strPrefs);
    m_strPrefs[flag] = ticked ? 'y' : 'n';
}

bool COptionsChoices::Confirm(int sel) {
    std::string flags = m_strPrefs.substr(0, 3);
    CoverFlags(flags);
    if (TimedRandomizationOn(flags)) {
        if (sel < 0) return false;
        m_strPrefs = flags + std::to_string(sel);
    } else {
        m_strPrefs = flags + "|";
    }
    return true;
}

}  // namespace qm
