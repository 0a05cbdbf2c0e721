#pragma once
// What the Options dialog does with the preference string, without the dialog: the boxes
// and the interval it shows, a click on a box, and the confirm and cancel operations.
#include <string>

namespace qm {

extern const char kSelectIntervalMessage[];  // "Please select a time interval first."

class COptionsChoices {
public:
    // The dialog opens on `prefs`; cancel returns to it.
    explicit COptionsChoices(const std::string& prefs) : m_strPrefs(prefs), m_strPrefsBackup(prefs) {}

    // Whether box `flag` (0 start-up, 1 wallpaper, 2 sounds) is ticked on opening.
    bool BoxTicked(int flag) const;
    // The interval entry selected on opening: the number of up to three characters after
    // the flags; -1 for none (the string ends in '|', or the number names no entry).
    int SelectedInterval() const;
    // A click left box `flag` ticked or not; takes effect at once. A string too short to
    // hold the flag is first filled up with 'n'.
    void BoxClicked(int flag, bool ticked);
    // Confirm with the chooser's selection `sel` (-1 for none). False, with the string
    // unchanged, when timed randomization is on and no interval is selected.
    bool Confirm(int sel);
    void Cancel() { m_strPrefs = m_strPrefsBackup; }

    const std::string& Prefs() const { return m_strPrefs; }

private:
    std::string m_strPrefs;
    std::string m_strPrefsBackup;
};

}  // namespace qm
