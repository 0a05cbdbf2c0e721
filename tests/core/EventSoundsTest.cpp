// The sound schemes and their events as the registry holds them, the marks, and the sound
// randomizer: natively on the fake registry, under Wine on the real one.
#include <gtest/gtest.h>

#include <iterator>

#include "core/SoundTree.h"
#include "platform/fault/FaultInjection.h"

namespace qm::test {

class EventSounds : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(reg(), HKCU, kAppsKey);
        view.model = &sounds;
    }
    void TearDown() override { DeleteKeyTree(reg(), HKCU, kAppsKey); }
    IRegistry& reg() { return platform->Registry(); }
    void Select(const std::string& scheme) {
        sounds.FillSchemeList();
        int index = IndexOfScheme(sounds, scheme);
        ASSERT_GE(index, 0) << scheme;
        sounds.SelectScheme(index);
    }

    std::unique_ptr<TestPlatform> platform = MakeTestPlatform();
    RecordingSoundsView view;
    CEventSounds sounds{platform->Registry(), view};
    // The same model over a registry whose calls the test makes fail.
    FaultInjector faults;
    FaultyRegistry faulty{platform->Registry(), faults};
    RecordingSoundsView faultyView;
    CEventSounds failing{faulty, faultyView};
};

TEST_F(EventSounds, SchemesDropTheLeadingDotAndNamesThatAListedSchemeBeginsWith) {
    reg().CreateKey(HKCU, EventKey(".Default", "SystemStart"));
    reg().CreateKey(HKCU, std::string(kAppsKey) + "\\Zeta");
    reg().CreateKey(HKCU, std::string(kAppsKey) + "\\Defaults");
    // ".Soundtrack" is enumerated before "Sound" and covers it, ignoring case.
    reg().CreateKey(HKCU, std::string(kAppsKey) + "\\.SOUNDTRACK");
    reg().CreateKey(HKCU, std::string(kAppsKey) + "\\Sound");
    sounds.FillSchemeList();
    EXPECT_EQ(sounds.Schemes(), (std::vector<std::string>{"Default", "Defaults", "SOUNDTRACK", "Zeta"}));
    EXPECT_EQ(sounds.Selected(), -1);
    EXPECT_TRUE(sounds.Rows().empty());

    // "Default" addresses ".Default".
    sounds.SelectScheme(0);
    EXPECT_EQ(RowNames(sounds), std::vector<std::string>{"SystemStart"});
    EXPECT_EQ(view.shownSchemes, std::vector<int>{0});
}

TEST_F(EventSounds, OnlyTheFirstHundredSchemesAndFiftyEventsAreListed) {
    char name[16];
    for (int i = 0; i < 104; ++i) {
        std::snprintf(name, sizeof name, "App%03d", i);
        reg().CreateKey(HKCU, std::string(kAppsKey) + "\\" + name);
    }
    for (int i = 0; i < 53; ++i) {
        std::snprintf(name, sizeof name, "Event%02d", i);
        reg().CreateKey(HKCU, EventKey("App000", name));
    }
    sounds.FillSchemeList();
    ASSERT_EQ(sounds.Schemes().size(), 100u);
    EXPECT_EQ(sounds.Schemes().back(), "App099");
    sounds.SelectScheme(0);
    ASSERT_EQ(sounds.Rows().size(), 50u);
    EXPECT_EQ(sounds.Rows().back().name, "Event49");
}

TEST_F(EventSounds, RowsShowOnlyTheExactYesAsAMarkAndTheCurrentFileName) {
    AddEvent(reg(), "App", "Close", "C:\\Media\\close.wav", "Yes");
    AddEvent(reg(), "App", "Empty", "", "No");
    AddEvent(reg(), "App", "Lower", "C:\\Media\\lower.wav", "yes");
    AddEvent(reg(), "App", "Missing");
    AddEvent(reg(), "App", "Odd", "plain.wav", "Yes please");
    Select("App");
    ASSERT_EQ(RowNames(sounds), (std::vector<std::string>{"Close", "Empty", "Lower", "Missing", "Odd"}));
    const struct { bool marked; const char* currentFile; } expected[] = {
        {true, "close.wav"}, {false, ""}, {false, "lower.wav"}, {false, ""}, {false, "plain.wav"}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(sounds.Rows()[i].name);
        EXPECT_EQ(sounds.Rows()[i].marked, expected[i].marked);
        EXPECT_EQ(sounds.Rows()[i].currentFile, expected[i].currentFile);
    }
}

TEST_F(EventSounds, OneClickRewritesEveryMarkerOfTheScheme) {
    AddEvent(reg(), "App", "A", "-", "Yes");
    AddEvent(reg(), "App", "B");
    AddEvent(reg(), "App", "C", "-", "rubbish");
    AddEvent(reg(), "Other", "A", "-", "Yes");
    Select("App");
    sounds.SetMarks({true, true, false});  // B's box was clicked
    EXPECT_EQ(Marker(reg(), "App", "A"), "Yes");
    EXPECT_EQ(Marker(reg(), "App", "B"), "Yes");
    EXPECT_EQ(Marker(reg(), "App", "C"), "No");
    EXPECT_EQ(Marker(reg(), "Other", "A"), "Yes");
    EXPECT_EQ(view.shownRows, (std::vector<int>{0, 1, 2}));
}

TEST_F(EventSounds, ActivateAllSurvivesSelectingTheSchemeAgainAndDeactivateAllToo) {
    AddEvent(reg(), "App", "A", "-", "No");
    AddEvent(reg(), "App", "B");
    Select("App");
    sounds.MarkAll(true);
    Select("App");
    ASSERT_EQ(sounds.Rows().size(), 2u);
    for (const auto& row : sounds.Rows()) EXPECT_TRUE(row.marked) << row.name;
    sounds.MarkAll(false);
    Select("App");
    for (const auto& row : sounds.Rows()) EXPECT_FALSE(row.marked) << row.name;
    EXPECT_EQ(Marker(reg(), "App", "B"), "No");
}

TEST_F(EventSounds, ADottedEventIsReadAndWrittenUnderItsOwnKey) {
    AddEvent(reg(), ".Default", ".Default", "C:\\Media\\old.wav", "Yes");
    AddEvent(reg(), "App", ".Open", "C:\\Media\\dotted.wav");
    AddEvent(reg(), "App", "Open", "C:\\Media\\plain.wav");
    Select("Default");
    ASSERT_EQ(RowNames(sounds), std::vector<std::string>{"Default"});
    EXPECT_TRUE(sounds.Rows()[0].marked);
    EXPECT_EQ(sounds.Rows()[0].currentFile, "old.wav");

    CPools pools = SoundPool({{"C:\\Sounds\\new.wav", {"Default"}}});
    CRandom random;
    sounds.RandomizeScheme(pools, random, false);
    EXPECT_EQ(Current(reg(), ".Default", ".Default"), "C:\\Sounds\\new.wav");
    EXPECT_FALSE(reg().KeyExists(HKCU, EventKey(".Default", "Default")));
    sounds.MarkAll(false);
    EXPECT_EQ(Marker(reg(), ".Default", ".Default"), "No");

    // ".Open" and "Open" are shown under one name: one row, the key enumerated first.
    Select("App");
    ASSERT_EQ(RowNames(sounds), std::vector<std::string>{"Open"});
    EXPECT_EQ(sounds.Rows()[0].currentFile, "dotted.wav");
}

TEST_F(EventSounds, ASoundListedForDefaultOnlyNeverReachesAnotherScheme) {
    AddEvent(reg(), ".Default", "Beep", "C:\\Media\\beep.wav", "Yes");
    AddEvent(reg(), ".Default", "Quiet", "C:\\Media\\quiet.wav", "No");
    AddEvent(reg(), "App", "Open", "C:\\Media\\open.wav", "Yes");
    AddEvent(reg(), "default", "Case", "C:\\Media\\case.wav", "Yes");  // not "Default": case counts
    CPools pools = SoundPool({{"C:\\Sounds\\one.wav", {"Default"}}});
    CRandom random;
    sounds.FillSchemeList();
    sounds.RandomizeAllSchemes(pools, random, false);
    EXPECT_EQ(Current(reg(), ".Default", "Beep"), "C:\\Sounds\\one.wav");
    EXPECT_EQ(Current(reg(), ".Default", "Quiet"), "C:\\Media\\quiet.wav");
    // No candidate: left as it was, and nothing said (the start-up run is not unattended).
    EXPECT_EQ(Current(reg(), "App", "Open"), "C:\\Media\\open.wav");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(EventSounds, ASchemeWithoutMarkedRowsDrawsNothing) {
    AddEvent(reg(), "App", "A", "C:\\Media\\a.wav", "No");
    AddEvent(reg(), "App", "B", "C:\\Media\\b.wav");
    Select("App");
    CPools pools = SoundPool({{"C:\\Sounds\\x.wav", {"App"}}, {"C:\\Sounds\\y.wav", {"App"}}});
    CRandom random, untouched;
    random.Seed(5);
    untouched.Seed(5);
    sounds.RandomizeScheme(pools, random, false);
    EXPECT_EQ(random.NextRandom(), untouched.NextRandom());
    EXPECT_EQ(Current(reg(), "App", "A"), "C:\\Media\\a.wav");
    EXPECT_FALSE(reg().KeyExists(HKCU, EventKey("App", "B") + "\\Active-QM"));
}

TEST_F(EventSounds, MarkedRowsDrawInTheViewsRowOrder) {
    for (const char* event : {"A", "B", "C"}) AddEvent(reg(), "App", event, "-", "Yes");
    view.reverseRows = true;  // the view lists C, B, A
    Select("App");
    ASSERT_EQ(RowNames(sounds), (std::vector<std::string>{"C", "B", "A"}));
    CPools pools = SoundPool({{"C:\\S\\0.wav", {"App"}}, {"C:\\S\\1.wav", {"App"}}, {"C:\\S\\2.wav", {"App"}}});
    CRandom random;
    random.Seed(1);  // draws 41, 18467, 6334: indexes 2, 2, 1
    sounds.RandomizeScheme(pools, random, false);
    EXPECT_EQ(Current(reg(), "App", "C"), "C:\\S\\2.wav");
    EXPECT_EQ(Current(reg(), "App", "B"), "C:\\S\\2.wav");
    EXPECT_EQ(Current(reg(), "App", "A"), "C:\\S\\1.wav");
    EXPECT_EQ(sounds.Rows()[2].currentFile, "1.wav");
}

TEST_F(EventSounds, RandomizingAllSchemesSelectsTheRememberedSchemeAgain) {
    AddEvent(reg(), "Alpha", "A", "C:\\Media\\a.wav", "Yes");
    AddEvent(reg(), "Beta", "B", "C:\\Media\\b.wav", "Yes");
    AddEvent(reg(), "Gamma", "G", "C:\\Media\\g.wav", "Yes");
    CPools pools = SoundPool({{"C:\\Sounds\\new.wav", {"Alpha", "Beta", "Gamma"}}});
    CRandom random;
    Select("Beta");
    view.shownSchemes.clear();
    sounds.RandomizeAllSchemes(pools, random, true);
    EXPECT_EQ(view.shownSchemes, (std::vector<int>{0, 1, 2, 1}));
    EXPECT_EQ(sounds.SelectedScheme(), "Beta");
    EXPECT_EQ(sounds.Rows()[0].currentFile, "new.wav");
    for (const char* app : {"Alpha", "Beta", "Gamma"})
        EXPECT_EQ(Current(reg(), app, std::string(1, app[0])), "C:\\Sounds\\new.wav");

    // Started with no scheme selected, the last one stays selected.
    sounds.FillSchemeList();
    sounds.RandomizeAllSchemes(pools, random, true);
    EXPECT_EQ(sounds.SelectedScheme(), "Gamma");
}

TEST_F(EventSounds, AnEmptySoundPoolChangesNothingAndSpeaksOnlyWhenAttended) {
    AddEvent(reg(), "App", "A", "C:\\Media\\a.wav", "Yes");
    Select("App");
    CPools empty = SoundPool({});
    CRandom random;
    sounds.RandomizeAllSchemes(empty, random, true);
    sounds.RandomizeScheme(empty, random, true);
    EXPECT_TRUE(view.messages.empty());
    sounds.RandomizeAllSchemes(empty, random, false);
    sounds.RandomizeScheme(empty, random, false);
    EXPECT_EQ(view.messages, std::vector<std::string>(2, kNoWaveFilesMessage));
    EXPECT_EQ(Current(reg(), "App", "A"), "C:\\Media\\a.wav");
    EXPECT_EQ(view.shownSchemes, std::vector<int>{0});  // no scheme was walked through
}

TEST_F(EventSounds, AFailedWriteLeavesTheShownFileAsTheRegistryHasIt) {
    AddEvent(reg(), "App", "A", "C:\\Media\\a.wav", "Yes");
    failing.FillSchemeList();
    failing.SelectScheme(0);
    faults.FailNth(RegistryOp::SetValue, 1);
    CPools pools = SoundPool({{"C:\\Sounds\\new.wav", {"App"}}});
    CRandom random;
    EXPECT_FALSE(failing.RandomizeEvent(0, pools, random));
    EXPECT_EQ(failing.Rows()[0].currentFile, "a.wav");
    EXPECT_TRUE(faultyView.shownRows.empty());
    EXPECT_TRUE(failing.RandomizeEvent(0, pools, random));
    EXPECT_EQ(failing.Rows()[0].currentFile, "new.wav");
    EXPECT_EQ(Current(reg(), "App", "A"), "C:\\Sounds\\new.wav");
}

TEST_F(EventSounds, AfterRandomizingAllSchemesEveryRowShowsTheFileTheRegistryHas) {
    AddEvent(reg(), "Alpha", "A", "C:\\Media\\a.wav", "Yes");
    AddEvent(reg(), "Beta", "Kept", "C:\\Media\\kept.wav", "Yes");  // no candidate for Beta
    AddEvent(reg(), "Zulu", "Lost", "C:\\Media\\lost.wav", "Yes");
    AddEvent(reg(), "Zulu", "New", "C:\\Media\\old.wav", "Yes");
    AddEvent(reg(), "Zulu", "Off", "C:\\Media\\off.wav", "No");
    CPools pools = SoundPool({{"C:\\Sounds\\new.wav", {"Alpha", "Zulu"}}});
    failing.FillSchemeList();
    faults.FailNth(RegistryOp::SetValue, 2);  // "Lost": its new file cannot be set, so it keeps its old one
    CRandom random;
    failing.RandomizeAllSchemes(pools, random, true);
    ASSERT_EQ(failing.SelectedScheme(), "Zulu");
    ASSERT_EQ(RowNames(failing), (std::vector<std::string>{"Lost", "New", "Off"}));
    EXPECT_EQ(failing.Rows()[0].currentFile, "lost.wav");
    EXPECT_EQ(Current(reg(), "Zulu", "Lost"), "C:\\Media\\lost.wav");
    EXPECT_EQ(failing.Rows()[1].currentFile, "new.wav");
    EXPECT_EQ(failing.Rows()[2].currentFile, "off.wav");
    EXPECT_EQ(Current(reg(), "Beta", "Kept"), "C:\\Media\\kept.wav");

    failing.SelectScheme(IndexOfScheme(failing, "Beta"));
    failing.RandomizeAllSchemes(pools, random, true);  // Beta is selected again, unchanged
    ASSERT_EQ(failing.SelectedScheme(), "Beta");
    EXPECT_EQ(failing.Rows()[0].currentFile, "kept.wav");
}

TEST_F(EventSounds, KeysWithSubkeysOfTheirOwnAreWrittenInPlaceAndKeepThem) {
    AddEvent(reg(), "App", "A", "C:\\Media\\a.wav", "No");
    const std::string current = EventKey("App", "A") + "\\.current";
    const std::string marker = EventKey("App", "A") + "\\Active-QM";
    reg().CreateKey(HKCU, current + "\\Child");
    reg().CreateKey(HKCU, marker + "\\Child");
    Select("App");
    sounds.MarkAll(true);
    EXPECT_EQ(Marker(reg(), "App", "A"), "Yes");
    CPools pools = SoundPool({{"C:\\Sounds\\new.wav", {"App"}}});
    CRandom random;
    EXPECT_TRUE(sounds.RandomizeEvent(0, pools, random));
    EXPECT_EQ(Current(reg(), "App", "A"), "C:\\Sounds\\new.wav");
    EXPECT_TRUE(reg().KeyExists(HKCU, current + "\\Child"));
    EXPECT_TRUE(reg().KeyExists(HKCU, marker + "\\Child"));
    // A key that cannot be written at all still reports failure.
    faults.FailNth(RegistryOp::SetValue, 1, true);
    EXPECT_FALSE(WriteEventKeyText(faulty, current, "x"));
    EXPECT_EQ(Current(reg(), "App", "A"), "C:\\Sounds\\new.wav");
}

}  // namespace qm::test
