// Start-up decisions: directories, kind of run, first start, the installed pool file.
#include <gtest/gtest.h>

#include "app/HelpFile.h"
#include "app/StartupRules.h"
#include "pools/StoragePlaces.h"

#include <optional>
#include <set>
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeSystem.h"
#include "platform/ProxyFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "pools/FileSearch.h"
#include "pools/PoolStore.h"

namespace qm::test {

TEST(StartupRules, WindowsDirKeepsEveryCharacterAndEndsInABackslash) {
    FakeSystem system;
    system.windowsDir = "C:\\WIND\xD6WS";
    EXPECT_EQ(GetWindowsDir(system).dir, "C:\\WIND\xD6WS\\");
    system.windowsDir = "C:\\";
    EXPECT_EQ(GetWindowsDir(system).dir, "C:\\");
    system.windowsDirOk = false;
    DirectoryResult failed = GetWindowsDir(system);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.dir, "");
}

// Wine never shows the "no disk in the drive" box, so the order is proven here: the start
// quiets critical errors before the storage choice and the load make their first file call.
TEST(StartupRules, CriticalErrorBoxesAreOffBeforeTheFirstFileCall) {
    struct Watched : ProxyFileSystem {
        Watched(IFileSystem& inner, FakeSystem& system) : ProxyFileSystem(inner), system(system) {}
        void Search(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) override {
            if (!firstCallQuiet) firstCallQuiet = system.criticalErrorsQuiet ? 1 : 0;
            ProxyFileSystem::Search(pattern, visit);
        }
        FakeSystem& system;
        std::optional<int> firstCallQuiet;
    };
    FakeFileSystem inner;
    FakeSystem system;
    FakeRegistry registry;
    Watched files(inner, system);
    CPoolStore store(registry, files, system);
    store.ChoosePlaces(BeginStartup(system).windowsDir.dir);
    CPools pools;
    store.Load(pools, 0);
    EXPECT_EQ(files.firstCallQuiet, std::optional<int>(1));
}

TEST(StartupRules, ProgramDirAlwaysGetsABackslash) {
    FakeSystem system;
    system.currentDir = "C:\\Tools";
    EXPECT_EQ(GetProgramDir(system).dir, "C:\\Tools\\");
    system.currentDir = "C:\\";
    EXPECT_EQ(GetProgramDir(system).dir, "C:\\\\");
    system.currentDirOk = false;
    EXPECT_FALSE(GetProgramDir(system).ok);
    EXPECT_EQ(GetProgramDir(system).dir, "");
}

TEST(StartupRules, OnlyTheExactWindowsDirMakesAStartupRun) {
    EXPECT_EQ(ChooseRunKind("C:\\WINDOWS\\", "C:\\WINDOWS\\"), RunKind::Startup);
    EXPECT_EQ(ChooseRunKind("C:\\windows\\", "C:\\WINDOWS\\"), RunKind::Interactive);
    EXPECT_EQ(ChooseRunKind("C:\\Tools\\", "C:\\WINDOWS\\"), RunKind::Interactive);
    EXPECT_EQ(ChooseRunKind("", ""), RunKind::Interactive);  // both lookups failed
    FakeSystem system;
    system.windowsDir = system.currentDir = "C:\\WIND\xD6WS";
    EXPECT_EQ(ChooseRunKind(GetProgramDir(system).dir, GetWindowsDir(system).dir), RunKind::Startup);
}

TEST(StartupRules, FirstStartIsAnInteractiveStartWithoutStoredPreferences) {
    EXPECT_TRUE(IsFirstStart(0, RunKind::Interactive));
    EXPECT_FALSE(IsFirstStart(1, RunKind::Interactive));
    EXPECT_FALSE(IsFirstStart(0, RunKind::Startup));
}

TEST(StartupRules, InstalledCopiesHaveFixedPathsInTheirPlaces) {
    StoragePlaces machine{false, "C:\\WINDOWS\\", SystemFolderOf("C:\\WINDOWS\\", true)};
    EXPECT_EQ(machine.WallpaperCopy(), "C:\\WINDOWS\\Quill Mere.bmp");
    EXPECT_EQ(machine.ScreenSaverCopy(), "C:\\WINDOWS\\system32\\Quill Mere.scr");
    EXPECT_EQ(machine.PoolFile(), "C:\\WINDOWS\\qmfiles.cfg");
    EXPECT_EQ(SystemFolderOf("C:\\WINDOWS\\", false), "C:\\WINDOWS\\system\\");
    StoragePlaces user{true, "C:\\U\\Quill Mere\\", "C:\\U\\Quill Mere\\"};
    EXPECT_EQ(user.ScreenSaverCopy(), "C:\\U\\Quill Mere\\Quill Mere.scr");
}

class CurrentPoolFile : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddFile("C:\\W\\a.bmp", "1234");
        files.AddFile("C:\\W\\b.bmp", "123456");
        files.AddFile("C:\\W\\c.bmp", "123456");
        pools.Reset(0);
        pools.m_wallpaperFiles = {"C:\\W\\a.bmp", "C:\\W\\b.bmp", "C:\\W\\c.bmp", "C:\\W\\missing.bmp"};
        pools.m_nWallpaperFiles = 4;
    }
    FakeFileSystem files;
    CPools pools;
};

TEST_F(CurrentPoolFile, TheFirstEntryOfEqualSizeIsTheInstalledOne) {
    files.AddFile("C:\\WINDOWS\\Quill Mere.bmp", "abcdef");
    EXPECT_EQ(FindCurrentPoolFile(files, pools, kindWallpaper, "C:\\WINDOWS\\Quill Mere.bmp"), "C:\\W\\b.bmp");
}

TEST_F(CurrentPoolFile, AMissingCopyMatchesAMissingPoolFile) {
    EXPECT_EQ(FindCurrentPoolFile(files, pools, kindWallpaper, "C:\\WINDOWS\\Quill Mere.bmp"), "C:\\W\\missing.bmp");
    pools.m_nWallpaperFiles = 3;
    EXPECT_EQ(FindCurrentPoolFile(files, pools, kindWallpaper, "C:\\WINDOWS\\Quill Mere.bmp"), "none");
    EXPECT_EQ(FindCurrentPoolFile(files, pools, kindScreenSaver, "C:\\WINDOWS\\\\system32\\Quill Mere.scr"), "none");
}

TEST(FileSearch, PathsWithoutABackslashNeitherLoopNorMisbehave) {
    FakeFileSystem files;
    files.AddFile("a.bmp", "xyz");
    EXPECT_EQ(FileSizeOf(files, "a.bmp"), 3u);
    EXPECT_EQ(FileSizeOf(files, "nothing"), 0u);
    EXPECT_EQ(FileSizeOf(files, ""), 0u);
    EXPECT_EQ(FileSizeOf(files, "C:\\W\\"), 0u);
    EXPECT_EQ(FileNameOfPath("a.bmp"), "a.bmp");
    EXPECT_EQ(FileNameOfPath("C:\\W\\a.bmp"), "a.bmp");
    EXPECT_EQ(FileNameOfPath("C:\\W\\"), "");
}

TEST(FileSearch, FindFileInFolderWantsTheSearchedNameItself) {
    FakeFileSystem files;
    files.AddFile("C:\\W\\Clouds.BMP", "x");
    EXPECT_TRUE(FindFileInFolder(files, "C:\\W\\", "clouds.bmp"));
    EXPECT_FALSE(FindFileInFolder(files, "C:\\W", "clouds.bmp"));
    EXPECT_FALSE(FindFileInFolder(files, "C:\\W\\", "*.bmp"));  // a wildcard finds, but is not the name
}

}  // namespace qm::test

namespace qm::test {

TEST(HelpFile, WinHelpFileFirstThenThePageBesideTheProgram) {
    std::set<std::string> present;
    auto exists = [&](const std::string& path) { return present.count(path) != 0; };
    const std::string program = "C:\\Program Files\\Quill.Mere\\QuillMere.exe";
    HelpChoice none = ChooseHelpFile(program, exists);
    EXPECT_EQ(none.kind, HelpChoice::missing);
    EXPECT_EQ(none.path, "C:\\Program Files\\Quill.Mere\\QuillMere.htm");
    present.insert("C:\\Program Files\\Quill.Mere\\QuillMere.htm");
    EXPECT_EQ(ChooseHelpFile(program, exists).kind, HelpChoice::page);
    present.insert("C:\\Program Files\\Quill.Mere\\QuillMere.HLP");
    HelpChoice winHelp = ChooseHelpFile(program, exists);
    EXPECT_EQ(winHelp.kind, HelpChoice::winHelp);
    EXPECT_EQ(winHelp.path, "C:\\Program Files\\Quill.Mere\\QuillMere.HLP");
    EXPECT_EQ(WithExtension("C:\\a.b\\prog", ".htm"), "C:\\a.b\\prog.htm");  // a dot in a folder is no extension
}

}  // namespace qm::test
