// libFuzzer target of the stored preferences and the pool counters.
//
// Input layout: up to four texts separated by the byte 0x1E, which none of their readers
// gives a meaning: the Preferences key's default value, then the sound, wallpaper and
// screen-saver counters' default values. Each text is stored as raw bytes, as another
// program or a damaged registry may have left it: zero bytes, bytes of 128 and above and no
// terminating zero included. A text the input does not reach leaves its key missing.
//
// Checked for each input:
//   - the load against what it promises of the stored text (split after two characters,
//     cut at the last ';', nothing loaded without one), the defaults, the flag and switch
//     readers, the rebuilt switches and the interval code;
//   - saving the strings and loading them again gives them back;
//   - TextToInt of every text against strtoll held to the limits of int, the three counter
//     readers against it, ReadPoolCounters never below zero, and every count read written
//     back and read again unchanged.
// A violated check prints what failed and traps.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/fake/FakeRegistry.h"
#include "pools/CounterWrites.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"

namespace qm::fuzz {

const char kFuzzTarget[] = "preferences";

}  // namespace qm::fuzz

namespace {

using namespace qm;
using qm::fuzz::Check;

const char kSeparator = '\x1E';
const RegistryRoot kRoot = RegistryRoot::LocalMachine;
// What the strings hold before a load, so that a load that must leave them alone can be
// seen to have done so.
const char kUntouchedFlags[] = "untouched flags";
const char kUntouchedPrefs[] = "untouched prefs";

struct StoredText {
    bool present = false;
    std::string bytes;
};

// The texts in key order: preferences, sound, wallpaper and screen-saver counters.
std::vector<StoredText> SplitInput(const std::uint8_t* data, std::size_t size) {
    std::vector<StoredText> texts(4);
    const char* bytes = reinterpret_cast<const char*>(data);
    std::size_t start = 0;
    for (StoredText& text : texts) {
        if (start > size) break;
        const char* end = std::find(bytes + start, bytes + size, kSeparator);
        text.present = true;
        text.bytes.assign(bytes + start, end);
        start = static_cast<std::size_t>(end - bytes) + 1;
    }
    return texts;
}

// The stored text as a reader of the registry sees it: up to its first zero byte.
std::string AsRead(const StoredText& text) {
    return text.present ? std::string(text.bytes.c_str()) : std::string();
}

// atoi as the C library reads decimal text, held to the limits of int.
int ReferenceToInt(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void CheckTextToInt(const std::string& text) {
    Check(TextToInt(text) == ReferenceToInt(text), "TextToInt differs from strtoll held to the limits of int");
}

bool FlagAt(const std::string& text, std::size_t position) { return text.size() > position && text[position] == 'y'; }

void CheckLoad(const StoredText& stored, int loaded, const CPreferences& prefs) {
    // (The mark of a failed search, "j", reads as no text; having no ';', it loads nothing
    // either way.)
    const std::string text = AsRead(stored);
    const std::size_t lastSemicolon = text.rfind(';');
    if (lastSemicolon == std::string::npos) {
        Check(loaded == 0, "a text without ';' was loaded");
        Check(prefs.m_strDisplayFlags == kUntouchedFlags && prefs.m_strPrefs == kUntouchedPrefs,
              "a load that found nothing changed the strings");
        return;
    }
    Check(loaded == 1, "a text with ';' was not loaded");
    const std::string kept = text.substr(0, lastSemicolon + 1);
    Check(prefs.m_strDisplayFlags.size() == 2, "the loaded switches are not two characters");
    if (kept.size() == 1) {
        Check(prefs.m_strDisplayFlags == ";n" && prefs.m_strPrefs.empty(),
              "a text of ';' alone did not load as the switches \";n\"");
    } else if (kept.size() == 2) {
        Check(prefs.m_strDisplayFlags == kept && prefs.m_strPrefs.empty(),
              "a text of two characters did not load as the switches alone");
    } else {
        Check(prefs.m_strDisplayFlags + prefs.m_strPrefs + ";" == kept,
              "the loaded strings are not the stored text up to its last ';'");
    }
}

void CheckDefaults(int loaded, const CPreferences& before, const CPreferences& after) {
    Check(after.m_strDisplayFlags == (loaded ? before.m_strDisplayFlags : std::string("nn")),
          "the default switches are wrong");
    Check(after.m_strPrefs == (before.m_strPrefs.empty() ? std::string("nnn|") : before.m_strPrefs),
          "the default preference string is wrong");
}

void CheckReaders(const CPreferences& prefs) {
    const std::string& flags = prefs.m_strDisplayFlags;
    const std::string& text = prefs.m_strPrefs;
    Check(StartupRandomizeOn(text) == FlagAt(text, 0), "the start-up flag is misread");
    Check(WallpaperOnInterval(text) == FlagAt(text, 1), "the wallpaper interval flag is misread");
    Check(SoundsOnInterval(text) == FlagAt(text, 2), "the sounds interval flag is misread");
    Check(TimedRandomizationOn(text) == (FlagAt(text, 1) || FlagAt(text, 2)), "timed randomization is misread");
    const bool switches[2] = {!flags.empty() && flags.front() == 'y', !flags.empty() && flags.back() == 'y'};
    Check(ScreenSaverSwitchOn(flags) == switches[0] && WallpaperSwitchOn(flags) == switches[1],
          "a display switch is misread");
    for (int position = 0; position < 2; ++position)
        for (bool on : {false, true}) {
            const std::string rebuilt = WithDisplaySwitch(flags, position, on);
            bool wanted[2] = {switches[0], switches[1]};
            wanted[position] = on;
            Check(rebuilt.size() == 2 && rebuilt[0] == (wanted[0] ? 'y' : 'n') && rebuilt[1] == (wanted[1] ? 'y' : 'n'),
                  "the rebuilt switches are not the two switches as 'y' or 'n'");
        }

    const int index = ReferenceToInt(text.size() > 3 ? text.substr(3) : std::string());
    const std::string code = IntervalCodeFromPrefs(text);
    if (index < 0 || index >= kIntervalCount) {
        Check(code == kNoInterval, "an index outside the interval table has an interval");
    } else {
        Check(kIntervalTable[index].index == index && code == kIntervalTable[index].code,
              "the interval code is not the table's entry of the index");
    }
}

// Saves the strings, checks that the key holds the one value the save writes, and loads
// them again.
CPreferences SaveAndLoad(FakeRegistry& registry, const CPreferences& prefs) {
    Check(SavePreferences(registry, prefs) == 1, "saving the preferences did not return 1");
    RegistryValue value;
    Check(registry.EnumValue(kRoot, kPreferencesKey, 0, value) && value.name.empty() &&
              value.data == prefs.m_strDisplayFlags + prefs.m_strPrefs + ";" + std::string(1, '\0'),
          "the saved value is not the two strings and ';'");
    Check(!registry.EnumValue(kRoot, kPreferencesKey, 1, value), "the preference key holds more than one value");
    CPreferences again{kUntouchedFlags, kUntouchedPrefs};
    Check(LoadPreferences(registry, again) == 1, "saved preferences did not load");
    return again;
}

bool SameStrings(const CPreferences& a, const CPreferences& b) {
    return a.m_strDisplayFlags == b.m_strDisplayFlags && a.m_strPrefs == b.m_strPrefs;
}

void CheckRoundTrip(FakeRegistry& registry, const CPreferences& prefs) {
    Check(SameStrings(SaveAndLoad(registry, prefs), prefs), "saved preferences load back as different strings");
}

void CheckCounters(FakeRegistry& registry, const std::vector<StoredText>& texts) {
    int (*const getters[3])(IRegistry&) = {GetSoundFileCount, GetWallpaperFileCount, GetScreenSaverFileCount};
    void (*const setters[3])(IRegistry&, int) = {SetSoundFileCount, SetWallpaperFileCount, SetScreenSaverFileCount};
    const PoolCounts counts = ReadPoolCounters(registry);
    for (int pool = 0; pool < 3; ++pool) {
        const int stored = ReferenceToInt(AsRead(texts[1 + pool]));
        const int read = getters[pool](registry);
        Check(read == stored, "a counter reads differently from its stored text");
        Check(counts[pool] >= 0, "ReadPoolCounters gave a negative count");
        Check(counts[pool] == std::max(read, 0), "ReadPoolCounters differs from the counter held at zero");
        setters[pool](registry, read);
        Check(getters[pool](registry) == read, "a counter written back reads differently");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<StoredText> texts = SplitInput(data, size);
    const char* const keys[4] = {kPreferencesKey, kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey};
    FakeRegistry registry;
    for (int i = 0; i < 4; ++i) {
        if (!texts[i].present) continue;
        registry.CreateKey(kRoot, keys[i]);
        registry.SetRawValue(kRoot, keys[i], std::string(), texts[i].bytes);
        CheckTextToInt(texts[i].bytes);
    }
    // The counters first: the preference checks below rewrite the preference key only.
    CheckCounters(registry, texts);

    CPreferences prefs{kUntouchedFlags, kUntouchedPrefs};
    const int loaded = LoadPreferences(registry, prefs);
    CheckLoad(texts[0], loaded, prefs);
    // The program's strings are empty before its load; a load that found nothing leaves
    // them so.
    if (!loaded) prefs = CPreferences{};
    const CPreferences asLoaded = prefs;
    ApplyPreferenceDefaults(loaded, prefs);
    CheckDefaults(loaded, asLoaded, prefs);
    CheckReaders(prefs);
    CheckRoundTrip(registry, prefs);
    return 0;
}
