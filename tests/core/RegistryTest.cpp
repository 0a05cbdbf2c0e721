// Registry text, the pool counters and the stored preferences.
#include <gtest/gtest.h>

#include "core/TestPlatform.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"

namespace qm::test {

namespace {
const RegistryRoot HKLM = RegistryRoot::LocalMachine;
const std::string kScratchKey = "Software\\Corvalith\\Quill Mere\\2.0\\Test Key";

std::vector<std::string> ValueNames(IRegistry& registry, const std::string& key) {
    std::vector<std::string> names;
    RegistryValue value;
    for (unsigned i = 0; registry.EnumValue(HKLM, key, i, value); ++i) names.push_back(value.name);
    return names;
}
}  // namespace

class Registry : public ::testing::Test {
protected:
    void SetUp() override { platform = MakeTestPlatform(); }
    IRegistry& reg() { return platform->Registry(); }
    void SetText(const std::string& key, const std::string& text) {
        platform->SetRawValue(HKLM, key, "", text + std::string(1, '\0'));
    }
    std::unique_ptr<TestPlatform> platform;
};

TEST_F(Registry, ReadGivesTheDefaultValueOrEmptyText) {
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), "");  // no key
    reg().CreateKey(HKLM, kScratchKey);
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), "");  // key without a value
    SetText(kScratchKey, "j");
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), "");  // the failed-search mark
    platform->SetRawValue(HKLM, kScratchKey, "", std::string("abc\0def", 7));
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), "abc");  // up to the first zero byte
}

TEST_F(Registry, LongTextAndLongValueNamesAreReadWhole) {
    std::string longText(5000, 'x');
    std::string longName(300, 'n');
    platform->SetRawValue(HKLM, kScratchKey, longName, longText + std::string(1, '\0'));
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), longText);
    RegistryValue value;
    ASSERT_TRUE(reg().EnumValue(HKLM, kScratchKey, 0, value));
    EXPECT_EQ(value.name, longName);
}

TEST_F(Registry, WriteLeavesOnlyTheDefaultValue) {
    reg().CreateKey(HKLM, kScratchKey);
    reg().SetValue(HKLM, kScratchKey, "Other", "by hand");
    reg().SetValue(HKLM, kScratchKey, "More", "by hand");
    EXPECT_TRUE(WriteRegistryString(reg(), kScratchKey, "fresh", HKLM));
    EXPECT_EQ(ValueNames(reg(), kScratchKey), std::vector<std::string>{""});
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), "fresh");
}

TEST_F(Registry, WriteFailsAndChangesNothingWhenTheKeyHasSubkeys) {
    WriteRegistryString(reg(), kScratchKey, "old", HKLM);
    reg().CreateKey(HKLM, kScratchKey + "\\Child");
    EXPECT_FALSE(WriteRegistryString(reg(), kScratchKey, "new", HKLM));
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScratchKey), "old");
    DeleteKeyTree(reg(), HKLM, kScratchKey);
}

TEST_F(Registry, CountersReadAsAtoiDoes) {
    EXPECT_EQ(GetSoundFileCount(reg()), 0);  // no key: first run
    const std::vector<std::pair<std::string, int>> cases = {
        {"007", 7},       {"12abc", 12}, {"abc", 0},   {"", 0},
        {"  42", 42},     {"-3", -3},    {"+9", 9},    {"99999999999999", 2147483647},
        {"-99999999999999", -2147483647 - 1},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        SetText(kWallpaperCounterKey, text);
        EXPECT_EQ(GetWallpaperFileCount(reg()), expected);
    }
}

TEST_F(Registry, CounterWritesStoreDecimalTextAsTheOnlyValue) {
    reg().CreateKey(HKLM, kScreenSaverCounterKey);
    reg().SetValue(HKLM, kScreenSaverCounterKey, "Stray", "x");
    SetScreenSaverFileCount(reg(), 0);
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kScreenSaverCounterKey), "0");
    EXPECT_EQ(ValueNames(reg(), kScreenSaverCounterKey), std::vector<std::string>{""});
    SetSoundFileCount(reg(), 12);
    SetWallpaperFileCount(reg(), -4);
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kSoundCounterKey), "12");
    EXPECT_EQ(GetSoundFileCount(reg()), 12);
    EXPECT_EQ(GetWallpaperFileCount(reg()), -4);
}

TEST_F(Registry, PreferencesLoadSplitsTheStoredText) {
    CPreferences prefs{"keep", "these"};
    EXPECT_EQ(LoadPreferences(reg(), prefs), 0);  // absent key: strings untouched
    EXPECT_EQ(prefs.m_strDisplayFlags, "keep");
    ApplyPreferenceDefaults(0, prefs);
    EXPECT_EQ(prefs.m_strDisplayFlags, "nn");
    EXPECT_EQ(prefs.m_strPrefs, "these");

    const struct { const char* stored; int loaded; const char* flags; const char* prefs; } cases[] = {
        {"nyynn|;", 1, "ny", "ynn|"},
        {"yyyn7;", 1, "yy", "yn7"},           // split, not validated
        {"nnnyn12;tail", 1, "nn", "nyn12"},   // text after the last ';' is dropped
        {"y;", 1, "y;", ""},                  // one character and ';'
        {";", 1, ";n", ""},                   // too short for two switches: the second is off
        {"nnyyy", 0, "", ""},                 // no ';' at all: not the program's text
        {"nn;nnn|;;", 1, "nn", ";nnn|;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        SetText(kPreferencesKey, c.stored);
        CPreferences loaded;
        EXPECT_EQ(LoadPreferences(reg(), loaded), c.loaded);
        EXPECT_EQ(loaded.m_strDisplayFlags, c.flags);
        EXPECT_EQ(loaded.m_strPrefs, c.prefs);
    }
}

TEST_F(Registry, PreferencesSaveWritesOneValueThatLoadsBack) {
    reg().CreateKey(HKLM, kPreferencesKey);
    reg().SetValue(HKLM, kPreferencesKey, "ByHand", "x");
    CPreferences prefs{"ny", "ynn|"};
    EXPECT_EQ(SavePreferences(reg(), prefs), 1);
    EXPECT_EQ(ReadRegistryString(reg(), HKLM, kPreferencesKey), "nyynn|;");
    EXPECT_EQ(ValueNames(reg(), kPreferencesKey), std::vector<std::string>{""});
    CPreferences loaded;
    EXPECT_EQ(LoadPreferences(reg(), loaded), 1);
    EXPECT_EQ(loaded.m_strDisplayFlags, "ny");
    EXPECT_EQ(loaded.m_strPrefs, "ynn|");
}

TEST(Preferences, IntervalCodesFollowTheTable) {
    EXPECT_EQ(IntervalCodeFromPrefs("nyn12"), "24h");
    EXPECT_EQ(IntervalCodeFromPrefs("nyn13"), "none");
    EXPECT_EQ(IntervalCodeFromPrefs("nyn-1"), "none");
    EXPECT_EQ(IntervalCodeFromPrefs("nyn7"), "1h");
    EXPECT_EQ(IntervalCodeFromPrefs("nyn0"), "15s");
    EXPECT_EQ(IntervalCodeFromPrefs("ynn|"), "15s");   // '|' reads as 0
    EXPECT_EQ(IntervalCodeFromPrefs("yn7"), "15s");    // empty field reads as 0
    EXPECT_EQ(IntervalCodeFromPrefs("nyn 5x"), "15m");
    EXPECT_EQ(IntervalCodeFromPrefs("nyn99999999999"), "none");
    for (const auto& entry : kIntervalTable)
        EXPECT_EQ(IntervalCodeFromPrefs("nyy" + std::to_string(entry.index)), entry.code);
}

TEST(Preferences, FlagsOfThePreferenceString) {
    EXPECT_TRUE(StartupRandomizeOn("ynn|"));
    EXPECT_FALSE(TimedRandomizationOn("ynn|"));
    EXPECT_TRUE(TimedRandomizationOn("nyn7"));
    EXPECT_TRUE(TimedRandomizationOn("nny7"));
    EXPECT_TRUE(WallpaperOnInterval("yyn0"));
    EXPECT_FALSE(SoundsOnInterval("yyn0"));
    EXPECT_FALSE(StartupRandomizeOn(""));
    EXPECT_FALSE(TimedRandomizationOn("n"));  // too short: off, no overrun
}

TEST(Preferences, SwitchesReadFirstAndLastCharacter) {
    EXPECT_TRUE(ScreenSaverSwitchOn("yn"));
    EXPECT_FALSE(WallpaperSwitchOn("yn"));
    EXPECT_TRUE(WallpaperSwitchOn("ny"));
    EXPECT_FALSE(ScreenSaverSwitchOn("Yy"));  // a malformed switch counts as off
    EXPECT_FALSE(ScreenSaverSwitchOn(""));
    EXPECT_FALSE(WallpaperSwitchOn(""));
    EXPECT_EQ(WithDisplaySwitch("yy", 1, false), "yn");
    EXPECT_EQ(WithDisplaySwitch(";", 0, true), "yn");   // a one-character string is rebuilt, not overrun
    EXPECT_EQ(WithDisplaySwitch("", 1, true), "ny");
    EXPECT_EQ(WithDisplaySwitch("nyy", 0, false), "ny");
}

}  // namespace qm::test
