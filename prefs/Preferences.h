#pragma once
// The display switches and the preference string, their one registry value, and the
// interval table that the preference string indexes.
#include <string>

#include "platform/Registry.h"
#include "pools/ProgramKeys.h"  // kPreferencesKey

namespace qm {

struct IntervalEntry {
    int index;                // position in the Options dialog's interval chooser
    const char* chooserText;  // "15 Seconds" ... "24 Hours"
    const char* code;         // what the scheduler reads: "15s" ... "24h"
    int seconds;
};
constexpr int kIntervalCount = 13;
extern const IntervalEntry kIntervalTable[kIntervalCount];
extern const char kNoInterval[];  // "none"

struct CPreferences {
    // Two characters, screen saver then wallpaper, each 'y' or 'n'.
    std::string m_strDisplayFlags;
    // Three flags (start-up, wallpaper on interval, sounds on interval), then the interval
    // index in decimal, or '|' when neither interval flag is on.
    std::string m_strPrefs;
};

// Fills both strings from the stored text "<switches><prefs>;". Returns 1 when a value
// was found, 0 when none was (the strings are then unchanged). Text after the last ';'
// is dropped; a text without any ';' was not written by the program and counts as none.
int LoadPreferences(IRegistry& registry, CPreferences& prefs);
// Stores the two strings as the key's only value. Returns 1 whether or not that worked.
int SavePreferences(IRegistry& registry, const CPreferences& prefs);
// The start-up defaults: switches "nn" when nothing was stored, "nnn|" for an empty string.
void ApplyPreferenceDefaults(int loaded, CPreferences& prefs);
// The interval index after the three flags, read as atoi reads it; -1 when it is outside the
// table. Two readers, on purpose: the Options dialog shows the three characters of its
// field, the scheduler reads the stored string to its end ("nyn0012": 1 against 12).
int IntervalIndexInField(const std::string& prefs);
int IntervalIndexStored(const std::string& prefs);
// The interval code of the stored index, or "none".
std::string IntervalCodeFromPrefs(const std::string& prefs);

// The flags of the preference string; a string too short to hold a flag has it off.
bool StartupRandomizeOn(const std::string& prefs);   // position 0
bool WallpaperOnInterval(const std::string& prefs);  // position 1
bool SoundsOnInterval(const std::string& prefs);     // position 2
// Timed randomization is on: the wallpaper or the sounds change every interval.
bool TimedRandomizationOn(const std::string& prefs);

// The display switches as the main window reads them: each position compared with 'y'.
bool ScreenSaverSwitchOn(const std::string& displayFlags);
bool WallpaperSwitchOn(const std::string& displayFlags);
// The switches rebuilt as exactly two characters with switch `position` (0 screen saver,
// 1 wallpaper) set to `on`; a malformed stored string thus never grows or overruns.
std::string WithDisplaySwitch(const std::string& displayFlags, int position, bool on);

}  // namespace qm
