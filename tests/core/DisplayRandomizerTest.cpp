// The wallpaper and screen-saver randomizers on the fakes natively and on the real
// registry and files under Wine: what they install, the settings they give Windows and in
// which order, what the window shows, and what a failed copy or system.ini rewrite leaves.
#include <gtest/gtest.h>

#include <functional>

#include "core/DisplayTestKit.h"
#include "core/TestPlatform.h"
#include "platform/fault/FaultInjection.h"
#include "pools/FileSearch.h"
#include "pools/RegistryAccess.h"
#include "randomize/ScreenSaverRandomizer.h"
#include "randomize/SystemIni.h"
#include "randomize/WallpaperRandomizer.h"

namespace qm::test {

namespace {
// A desktop key of the tests' own, so that the real desktop settings are not touched.
const char kTestRoot[] = "Software\\Corvalith";
const char kTestDesktop[] = "Software\\Corvalith\\Test Desktop";
const char kSystemIni[] = "[boot]\r\nshell=Explorer.exe\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\n[386Enh]\r\nx=1\r\n";
}  // namespace

class DisplayRandomizers : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"media", "system32", "system"}) platform->Files().CreateFolder(dir + folder);
        DeleteKeyTree(platform->Registry(), RegistryRoot::CurrentUser, kTestRoot);
        platform->Registry().CreateKey(RegistryRoot::CurrentUser, kTestDesktop);
        random.Seed(12345);
    }
    void TearDown() override { DeleteKeyTree(platform->Registry(), RegistryRoot::CurrentUser, kTestRoot); }

    void AddWallpaper(const std::string& name, int tile) {
        platform->WriteFile(media + name, "BM " + name);
        pools.m_wallpaperFiles.push_back(media + name);
        pools.m_wallpaperTile.push_back(tile);
        pools.m_nWallpaperFiles = static_cast<int>(pools.m_wallpaperFiles.size());
    }
    void AddScreenSaver(const std::string& name) {
        platform->WriteFile(media + name, "MZ " + name);
        pools.m_screenSaverFiles.push_back(media + name);
        pools.m_nScreenSaverFiles = static_cast<int>(pools.m_screenSaverFiles.size());
    }
    // Switches as stored, the window brought in line, and a clean log.
    void Switches(const std::string& stored) {
        flags = stored;
        view.ApplySwitches();
        log.clear();
    }
    std::string Desktop(const std::string& name) {
        std::string data;
        if (!platform->Registry().ReadValue(RegistryRoot::CurrentUser, kTestDesktop, name, data)) return "<absent>";
        return data.substr(0, data.find('\0'));
    }
    bool Exists(const std::string& folder, const std::string& name) {
        return FindFileInFolder(platform->Files(), folder, name);
    }

    std::unique_ptr<TestPlatform> platform = MakeTestPlatform();
    const std::string dir = platform->Scratch();  // stands for the Windows directory
    const std::string media = dir + "media\\";
    const std::string installedBmp = dir + "Quill Mere.bmp";
    const std::string installedScr = dir + "system32\\Quill Mere.scr";
    EventLog log;
    FaultInjector faults;
    FaultyFileSystem files{platform->Files(), faults};
    RecordingRegistry registry{platform->Registry(), log};
    RecordingSystem system{platform->System(), log};
    CRandom random;
    CPools pools;
    std::string flags = "nn";
    RecordingView view{log, flags};
    DisplayContext display{registry, files, system, random, pools, flags, view, dir, false, kTestDesktop, {}};
};

TEST_F(DisplayRandomizers, WallpaperCopiesTheDrawnBitmapThenSetsTileThenShowsIt) {
    AddWallpaper("sky.bmp", 1);
    AddWallpaper("sea.bmp", 0);
    Switches("ny");
    CRandom twin = random;
    RandomizeWallpaper(display);
    const int first = twin.PickAvoidingShown(pools.m_wallpaperFiles, "");
    const std::string name = first == 0 ? "sky.bmp" : "sea.bmp";
    EXPECT_EQ(log, (EventLog{"name " + name, std::string("set TileWallpaper=") + (first == 0 ? "1" : "0"),
                             "set WallpaperStyle=0", "show " + installedBmp}));
    EXPECT_EQ(platform->ReadFile(installedBmp), "BM " + name);
    EXPECT_EQ(Desktop("TileWallpaper"), first == 0 ? "1" : "0");
    // The shown file is avoided: with two bitmaps they take turns, each with its own tile flag.
    for (int i = 0; i < 4; ++i) {
        const std::string before = view.names[1];
        RandomizeWallpaper(display);
        EXPECT_NE(view.names[1], before);
        EXPECT_EQ(platform->ReadFile(installedBmp), "BM " + view.names[1]);
        EXPECT_EQ(Desktop("TileWallpaper"), view.names[1] == "sky.bmp" ? "1" : "0");
    }
    EXPECT_EQ(Desktop("WallpaperStyle"), "0");
    EXPECT_EQ(Desktop("Wallpaper"), "<absent>") << "a randomization leaves the stored wallpaper alone";
}

TEST_F(DisplayRandomizers, AnOptionThatIsOffNeitherDrawsNorWrites) {
    AddWallpaper("sky.bmp", 0);
    AddScreenSaver("stars.scr");
    Switches("nn");
    CRandom twin = random;
    RandomizeDisplaySettings(display);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(Exists(dir, "Quill Mere.bmp"));
    EXPECT_EQ(random.NextRandom(), twin.NextRandom()) << "nothing was drawn";
}

// The switches as the window shows them once applied: the first character is the screen
// saver's, the last the wallpaper's, and only a 'y' is on, however long the stored string.
TEST_F(DisplayRandomizers, AnOddSwitchStringIsReadAsTheWindowShowsIt) {
    AddWallpaper("sky.bmp", 0);
    AddScreenSaver("stars.scr");
    const struct { const char* flags; bool screenSaver, wallpaper; } cases[] = {
        {"", false, false}, {"y", true, true}, {"n", false, false}, {"yny", true, true},
        {"nyn", false, false}, {"Yy", false, true}, {"yN", true, false}};
    for (const auto& c : cases) {
        Switches(c.flags);
        view.names[0] = view.names[1] = "";
        RandomizeDisplaySettings(display);
        EXPECT_EQ(view.names[0] == "stars.scr", c.screenSaver) << '"' << c.flags << '"';
        EXPECT_EQ(view.names[1] == "sky.bmp", c.wallpaper) << '"' << c.flags << '"';
    }
}

TEST_F(DisplayRandomizers, DisplaySettingsDrawForTheWallpaperFirstAndSkipAnOptionThatIsOff) {
    AddWallpaper("sky.bmp", 0);
    AddWallpaper("sea.bmp", 0);
    AddScreenSaver("stars.scr");
    AddScreenSaver("waves.scr");
    Switches("yy");
    CRandom twin = random;
    RandomizeDisplaySettings(display);
    const int wallpaper = twin.PickAvoidingShown(pools.m_wallpaperFiles, "");
    const int saver = twin.PickAvoidingShown(pools.m_screenSaverFiles, "");
    EXPECT_EQ(view.names[1], FileNameOfPath(pools.m_wallpaperFiles[wallpaper]));
    EXPECT_EQ(view.names[0], FileNameOfPath(pools.m_screenSaverFiles[saver]));

    Switches("yn");
    const std::string bitmap = platform->ReadFile(installedBmp);
    RandomizeDisplaySettings(display);
    EXPECT_EQ(log.size(), 2u);  // the screen saver's name and setting only
    EXPECT_EQ(platform->ReadFile(installedBmp), bitmap);
    EXPECT_EQ(platform->ReadFile(installedScr), "MZ " + view.names[0]);
}

TEST_F(DisplayRandomizers, WallpaperSwitchWritesTheStoredWallpaperAndInstallsAtOnce) {
    AddWallpaper("sky.bmp", 1);
    Switches("yn");
    ToggleWallpaperEnabled(display);
    EXPECT_EQ(flags, "yy");
    EXPECT_EQ(log, (EventLog{"set Wallpaper=" + installedBmp, "switches yy", "name sky.bmp", "set TileWallpaper=1",
                             "set WallpaperStyle=0", "show " + installedBmp}));
    EXPECT_EQ(Desktop("Wallpaper"), installedBmp);
    log.clear();
    ToggleWallpaperEnabled(display);
    EXPECT_EQ(flags, "yn");
    EXPECT_EQ(log, (EventLog{"set Wallpaper=", "switches yn"}));
    EXPECT_EQ(Desktop("Wallpaper"), "");
    EXPECT_EQ(platform->ReadFile(installedBmp), "BM sky.bmp") << "switching off deletes nothing";
}

TEST_F(DisplayRandomizers, AnEmptyWallpaperPoolIsToldThenSwitchesOffButNotInAScheduledRun) {
    Switches("ny");
    display.unattended = true;
    RandomizeWallpaper(display);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(flags, "ny");
    display.unattended = false;
    RandomizeWallpaper(display);
    EXPECT_EQ(log, (EventLog{std::string("message ") + kNoBitmapsMessage, "set Wallpaper=", "switches nn"}));
    // Switching on with an empty pool: on, told, and off again within the one click.
    log.clear();
    ToggleWallpaperEnabled(display);
    EXPECT_EQ(log, (EventLog{"set Wallpaper=" + installedBmp, "switches ny", std::string("message ") + kNoBitmapsMessage,
                             "set Wallpaper=", "switches nn"}));
    EXPECT_EQ(Desktop("Wallpaper"), "");
    EXPECT_EQ(flags, "nn");
}

TEST_F(DisplayRandomizers, ScreenSaverOnWindowsNtIsNamedInTheRegistryByItsShortName) {
    AddScreenSaver("stars.scr");
    AddScreenSaver("waves.scr");
    platform->WriteFile(dir + "system32\\QuillMere.scr", "an old copy");
    Switches("nn");
    ToggleScreenSaverEnabled(display);
    // The copy's short name as the file system made it; the fixed text where it is QUILLM~1.SCR
    // (the rule itself is checked with chosen short names in ScreenSaverShortNameTest).
    std::string shortName;
    ASSERT_TRUE(platform->Files().ShortPath(installedScr, shortName));
    if (FileNameOfPath(shortName) == "QUILLM~1.SCR") shortName = dir + "System32\\QUILLM~1.SCR";
    EXPECT_EQ(log, (EventLog{"set SCRNSAVE.EXE=" + dir + "System32\\Quill Mere.scr", "switches yn",
                             "name " + view.names[0], "set SCRNSAVE.EXE=" + shortName,
                             std::string("message ") + kRestartNoteMessage}));
    EXPECT_FALSE(Exists(dir + "system32\\", "QuillMere.scr"));
    EXPECT_EQ(platform->ReadFile(installedScr), "MZ " + view.names[0]);
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), shortName);
    // Off: the value is emptied, the copy stays, and the note comes all the same.
    log.clear();
    ToggleScreenSaverEnabled(display);
    EXPECT_EQ(log, (EventLog{"set SCRNSAVE.EXE=", "switches nn", std::string("message ") + kRestartNoteMessage}));
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "");
    EXPECT_TRUE(Exists(dir + "system32\\", "Quill Mere.scr"));
}

TEST_F(DisplayRandomizers, AnEmptyScreenSaverPoolSwitchesOffBeforeItIsTold) {
    Switches("yn");
    display.unattended = true;
    RandomizeScreenSaver(display);
    EXPECT_TRUE(log.empty());
    display.unattended = false;
    RandomizeScreenSaver(display);
    EXPECT_EQ(log, (EventLog{"set SCRNSAVE.EXE=", "switches nn", std::string("message ") + kNoScreenSaversMessage}));
    // Switching off with an empty pool brings no note about restarting.
    Switches("yn");
    ToggleScreenSaverEnabled(display);
    EXPECT_EQ(log, (EventLog{"set SCRNSAVE.EXE=", "switches nn"}));
}

TEST_F(DisplayRandomizers, ScreenSaverOnWindows98IsNamedInSystemIni) {
    system.windowsNT = false;
    platform->WriteFile(dir + "system.ini", kSystemIni);
    platform->WriteFile(dir + "system\\QuillMere.scr", "an old copy");
    AddScreenSaver("stars.scr");
    Switches("nn");
    ToggleScreenSaverEnabled(display);
    EXPECT_EQ(log, (EventLog{"switches yn", "name stars.scr", std::string("message ") + kRestartNoteMessage}));
    EXPECT_FALSE(Exists(dir + "system\\", "QuillMere.scr"));
    EXPECT_EQ(platform->ReadFile(dir + "system\\Quill Mere.scr"), "MZ stars.scr");
    const std::string named = WithScreenSaverInBootSection(kSystemIni, dir + "system\\QUILLM~1.SCR");
    EXPECT_EQ(platform->ReadFile(dir + "system.ini"), named);
    EXPECT_FALSE(Exists(dir, kSystemIniTempName));
    // Off: only the registry value is emptied; system.ini still names the copy.
    log.clear();
    ToggleScreenSaverEnabled(display);
    EXPECT_EQ(log, (EventLog{"set SCRNSAVE.EXE=", "switches nn", std::string("message ") + kRestartNoteMessage}));
    EXPECT_EQ(platform->ReadFile(dir + "system.ini"), named);
}

TEST_F(DisplayRandomizers, OnWindows98SwitchingOnWithAnEmptyPoolKeepsTheSystemIniLine) {
    system.windowsNT = false;
    platform->WriteFile(dir + "system.ini", kSystemIni);
    Switches("nn");
    ToggleScreenSaverEnabled(display);
    EXPECT_EQ(log, (EventLog{"switches yn", "set SCRNSAVE.EXE=", "switches nn",
                             std::string("message ") + kNoScreenSaversMessage}));
    EXPECT_EQ(platform->ReadFile(dir + "system.ini"),
              WithScreenSaverInBootSection(kSystemIni, dir + "system\\QUILLM~1.SCR"));
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "");
}

TEST_F(DisplayRandomizers, ASystemIniThatCannotBeRewrittenIsToldExceptInAScheduledRun) {
    system.windowsNT = false;  // and no system.ini at all
    AddScreenSaver("stars.scr");
    Switches("yn");
    RandomizeScreenSaver(display);
    EXPECT_EQ(log, (EventLog{"name stars.scr", std::string("message ") + kSystemIniFailedMessage}));
    log.clear();
    display.unattended = true;
    RandomizeScreenSaver(display);
    EXPECT_EQ(log, (EventLog{"name stars.scr"}));
    EXPECT_FALSE(Exists(dir, "system.ini"));
    EXPECT_FALSE(Exists(dir, kSystemIniTempName));
}

// A copy that fails ends the randomization: the window keeps the name it showed, the
// installed copy and every setting stay, and only an interactive command says so.
class FailedCopy : public DisplayRandomizers {
protected:
    void SetUp() override {
        DisplayRandomizers::SetUp();
        AddWallpaper("sky.bmp", 1);
        AddScreenSaver("stars.scr");
        platform->WriteFile(installedBmp, "BM old");
        platform->WriteFile(dir + "system\\Quill Mere.scr", "MZ old");
        platform->WriteFile(dir + "system.ini", kSystemIni);
        system.windowsNT = false;
        Switches("yy");
        view.names[0] = "old.scr";
        view.names[1] = "old.bmp";
    }
    void ExpectNothingChanged(const EventLog& expected) {
        EXPECT_EQ(log, expected);
        EXPECT_EQ(view.names[0], "old.scr");
        EXPECT_EQ(view.names[1], "old.bmp");
        EXPECT_EQ(platform->ReadFile(installedBmp), "BM old");
        EXPECT_EQ(platform->ReadFile(dir + "system\\Quill Mere.scr"), "MZ old");
        EXPECT_EQ(platform->ReadFile(dir + "system.ini"), kSystemIni);
        EXPECT_EQ(Desktop("TileWallpaper"), "<absent>");
        EXPECT_EQ(flags, "yy");
        log.clear();
    }
    const EventLog kBothTold{"message Couldn't copy " + media + "sky.bmp.",
                             "message Couldn't copy " + media + "stars.scr."};
};

TEST_F(FailedCopy, AFailingCopyOrAMissingPoolFileChangesNothing) {
    const struct { const char* label; std::function<void()> fail; } rows[] = {
        {"every copy fails", [&] { faults.FailNth(FileOp::Copy, 1, true); }},
        {"both pool files are gone", [&] {
             platform->DeleteFile(media + "sky.bmp");
             platform->DeleteFile(media + "stars.scr");
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        // What the row before broke is whole again; everything else it left as it was.
        faults.Reset();
        platform->WriteFile(media + "sky.bmp", "BM sky.bmp");
        platform->WriteFile(media + "stars.scr", "MZ stars.scr");
        row.fail();
        display.unattended = false;
        RandomizeDisplaySettings(display);
        ExpectNothingChanged(kBothTold);
        display.unattended = true;
        RandomizeDisplaySettings(display);
        ExpectNothingChanged({});
    }
}

TEST_F(FailedCopy, ALockedInstalledCopyChangesNothing) {
    if (!platform->LockFile(installedBmp) || !platform->LockFile(dir + "system\\Quill Mere.scr"))
        GTEST_SKIP() << "files cannot be locked here";
    RandomizeDisplaySettings(display);
    EXPECT_EQ(log, kBothTold);
    EXPECT_EQ(view.names[1], "old.bmp");
    EXPECT_EQ(platform->ReadFile(dir + "system.ini"), kSystemIni);
}

// The rewrite of system.ini with a failure at each of its steps in turn.
TEST_F(DisplayRandomizers, AFailureAtAnyStepOfTheSystemIniRewriteKeepsItByteForByte) {
    platform->WriteFile(dir + "system.ini", kSystemIni);
    ASSERT_TRUE(SetScreenSaverInSystemIni(files, dir, "C:\\first.scr"));
    const std::string before = platform->ReadFile(dir + "system.ini");
    ASSERT_EQ(before, WithScreenSaverInBootSection(kSystemIni, "C:\\first.scr"));
    for (FileOp op : {FileOp::OpenRead, FileOp::Read, FileOp::OpenWrite, FileOp::Write, FileOp::FlushToDisk,
                      FileOp::Close, FileOp::MoveReplacing}) {
        faults.Reset();
        ASSERT_TRUE(SetScreenSaverInSystemIni(files, dir, "C:\\first.scr"));
        const int calls = faults.Calls(op);
        ASSERT_GE(calls, 1) << static_cast<int>(op);
        for (int nth = 1; nth <= calls; ++nth) {
            SCOPED_TRACE(testing::Message() << "operation " << static_cast<int>(op) << ", call " << nth);
            faults.Reset();
            faults.FailNth(op, nth);
            EXPECT_FALSE(SetScreenSaverInSystemIni(files, dir, "C:\\second.scr"));
            EXPECT_EQ(platform->ReadFile(dir + "system.ini"), before);
            EXPECT_FALSE(Exists(dir, kSystemIniTempName));
        }
    }
    // Through the randomizer: the failure is told, the file stays, the copy is installed.
    system.windowsNT = false;
    AddScreenSaver("stars.scr");
    Switches("yn");
    faults.Reset();
    faults.FailNth(FileOp::MoveReplacing, 2);  // the first one installs the copy
    RandomizeScreenSaver(display);
    EXPECT_EQ(log, (EventLog{"name stars.scr", std::string("message ") + kSystemIniFailedMessage}));
    EXPECT_EQ(platform->ReadFile(dir + "system.ini"), before);
}

TEST_F(DisplayRandomizers, RegistryValuesAreWrittenWholeAndOnlyIntoKeysThatExist) {
    const std::string longPath = "C:\\" + std::string(300, 'w') + "\\Quill Mere.bmp";
    EXPECT_TRUE(WriteRegistryValue(registry, RegistryRoot::CurrentUser, kTestDesktop, "Wallpaper", longPath));
    EXPECT_EQ(Desktop("Wallpaper"), longPath);
    ClearRegistryValue(registry, RegistryRoot::CurrentUser, kTestDesktop, "Wallpaper");
    EXPECT_EQ(Desktop("Wallpaper"), "");
    const std::string missing = std::string(kTestDesktop) + "\\Missing";
    EXPECT_FALSE(WriteRegistryValue(registry, RegistryRoot::CurrentUser, missing, "Wallpaper", "x"));
    ClearRegistryValue(registry, RegistryRoot::CurrentUser, missing, "Wallpaper");
    EXPECT_FALSE(platform->Registry().KeyExists(RegistryRoot::CurrentUser, missing));
}

// A user whose copies live in a folder of their own: Windows is told their full names.
TEST_F(DisplayRandomizers, PerUserCopiesAreInstalledInTheUsersFolderAndNamedInFull) {
    platform->Files().CreateFolder(dir + "mine");
    display.perUserFolder = dir + "mine\\";
    AddWallpaper("sky.bmp", 0);
    AddScreenSaver("stars.scr");
    Switches("nn");
    ToggleWallpaperEnabled(display);
    ToggleScreenSaverEnabled(display);
    EXPECT_EQ(Desktop("Wallpaper"), dir + "mine\\Quill Mere.bmp");
    EXPECT_EQ(platform->ReadFile(dir + "mine\\Quill Mere.bmp"), "BM sky.bmp");
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), dir + "mine\\Quill Mere.scr");
    EXPECT_EQ(platform->ReadFile(dir + "mine\\Quill Mere.scr"), "MZ stars.scr");
    EXPECT_FALSE(Exists(dir, "Quill Mere.bmp"));
    EXPECT_FALSE(Exists(dir + "system32\\", "Quill Mere.scr"));
}

}  // namespace qm::test
