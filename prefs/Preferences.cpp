#include "prefs/Preferences.h"

#include "pools/RegistryAccess.h"

namespace qm {

const char kNoInterval[] = "none";

const IntervalEntry kIntervalTable[kIntervalCount] = {
    {0, "15 Seconds", "15s", 15},     {1, "30 Seconds", "30s", 30},    {2, "1 Minute", "1m", 60},
    {3, "5 Minutes", "5m", 300},      {4, "10 Minutes", "10m", 600},   {5, "15 Minutes", "15m", 900},
    {6, "30 Minutes", "30m", 1800},   {7, "1 Hour", "1h", 3600},       {8, "2 Hours", "2h", 7200},
    {9, "3 Hours", "3h", 10800},      {10, "5 Hours", "5h", 18000},    {11, "10 Hours", "10h", 36000},
    {12, "24 Hours", "24h", 86400},
};

int LoadPreferences(IRegistry& registry, CPreferences& prefs) {
    std::string text = ReadRegistryString(registry, RegistryRoot::LocalMachine, kPreferencesKey);
    std::size_t lastSemicolon = text.find_last_of(';');
    if (text.empty() || lastSemicolon == std::string::npos) return 0;
    text.erase(lastSemicolon + 1);
    // Always two switch characters: a damaged text of ";" alone gets its second one off, so
    // that the next save cannot take the first flag of the preference string for a switch.
    std::string flags = text.substr(0, 2);
    flags.resize(2, 'n');
    prefs.m_strDisplayFlags = flags;
    std::string rest = text.size() > 2 ? text.substr(2) : std::string();
    if (!rest.empty() && rest.back() == ';') rest.pop_back();
    prefs.m_strPrefs = rest;
    return 1;
}

int SavePreferences(IRegistry& registry, const CPreferences& prefs) {
    WriteRegistryString(registry, kPreferencesKey, prefs.m_strDisplayFlags + prefs.m_strPrefs + ";",
                        RegistryRoot::LocalMachine);
    return 1;
}

void ApplyPreferenceDefaults(int loaded, CPreferences& prefs) {
    if (!loaded) prefs.m_strDisplayFlags = "nn";
    if (prefs.m_strPrefs.empty()) prefs.m_strPrefs = "nnn|";
}

static int IntervalIndexIn(const std::string& field) {
    const int index = TextToInt(field);
    return index >= 0 && index < kIntervalCount ? index : -1;
}

// An empty field reads as 0.
int IntervalIndexInField(const std::string& prefs) {
    return IntervalIndexIn(prefs.size() > 3 ? prefs.substr(3, 3) : std::string());
}

int IntervalIndexStored(const std::string& prefs) {
    return IntervalIndexIn(prefs.size() > 3 ? prefs.substr(3) : std::string());
}

std::string IntervalCodeFromPrefs(const std::string& prefs) {
    const int index = IntervalIndexStored(prefs);
    return index < 0 ? kNoInterval : kIntervalTable[index].code;
}

static bool FlagOn(const std::string& prefs, std::size_t position) {
    return prefs.size() > position && prefs[position] == 'y';
}

bool StartupRandomizeOn(const std::string& prefs) { return FlagOn(prefs, 0); }
bool WallpaperOnInterval(const std::string& prefs) { return FlagOn(prefs, 1); }
bool SoundsOnInterval(const std::string& prefs) { return FlagOn(prefs, 2); }
bool TimedRandomizationOn(const std::string& prefs) { return WallpaperOnInterval(prefs) || SoundsOnInterval(prefs); }

bool ScreenSaverSwitchOn(const std::string& displayFlags) {
    return !displayFlags.empty() && displayFlags.front() == 'y';
}

bool WallpaperSwitchOn(const std::string& displayFlags) {
    return !displayFlags.empty() && displayFlags.back() == 'y';
}

std::string WithDisplaySwitch(const std::string& displayFlags, int position, bool on) {
    std::string flags = {ScreenSaverSwitchOn(displayFlags) ? 'y' : 'n', WallpaperSwitchOn(displayFlags) ? 'y' : 'n'};
    flags[position == 0 ? 0 : 1] = on ? 'y' : 'n';
    return flags;
}

}  // namespace qm
