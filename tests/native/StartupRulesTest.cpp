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

TEST(StartupRules, DirectoriesKeepEveryCharacterAndEndInABackslash) {
    const struct { const char* label; bool program; const char* dir; bool ok; const char* expected; } rows[] = {
        {"Windows directory beyond ASCII", false, "C:\\WIND\xD6WS", true, "C:\\WIND\xD6WS\\"},
        {"Windows directory at a root", false, "C:\\", true, "C:\\"},
        {"Windows directory unknown", false, "C:\\", false, ""},
        {"program directory", true, "C:\\Tools", true, "C:\\Tools\\"},
        {"program directory at a root: always one more backslash", true, "C:\\", true, "C:\\\\"},
        {"program directory unknown", true, "C:\\", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        FakeSystem system;
        (row.program ? system.currentDir : system.windowsDir) = row.dir;
        (row.program ? system.currentDirOk : system.windowsDirOk) = row.ok;
        const DirectoryResult result = row.program ? GetProgramDir(system) : GetWindowsDir(system);
        EXPECT_EQ(result.ok, row.ok);
        EXPECT_EQ(result.dir, row.expected);
    }
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

// The pool entry the installed copy came from: the first of the copy's size, or, with no
// copy, the first entry whose own file is missing.
TEST(CurrentPoolFile, FoundBySizeOrByBeingMissingAlike) {
    const std::string bmp = "C:\\WINDOWS\\Quill Mere.bmp";
    const struct {
        const char* label;
        const char* copy;  // nullptr: no installed copy
        int counted;
        EntryKind kind;
        std::string path, expected;
    } rows[] = {
        {"the first entry of equal size", "abcdef", 4, kindWallpaper, bmp, "C:\\W\\b.bmp"},
        {"a missing copy, a missing entry", nullptr, 4, kindWallpaper, bmp, "C:\\W\\missing.bmp"},
        {"a missing copy, no missing entry", nullptr, 3, kindWallpaper, bmp, "none"},
        {"an empty screen-saver pool", nullptr, 3, kindScreenSaver, "C:\\WINDOWS\\\\system32\\Quill Mere.scr", "none"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        FakeFileSystem files;
        files.AddFile("C:\\W\\a.bmp", "1234");
        files.AddFile("C:\\W\\b.bmp", "123456");
        files.AddFile("C:\\W\\c.bmp", "123456");
        if (row.copy) files.AddFile(row.path, row.copy);
        CPools pools;
        pools.Reset(0);
        pools.m_wallpaperFiles = {"C:\\W\\a.bmp", "C:\\W\\b.bmp", "C:\\W\\c.bmp", "C:\\W\\missing.bmp"};
        pools.m_nWallpaperFiles = row.counted;
        EXPECT_EQ(FindCurrentPoolFile(files, pools, row.kind, row.path), row.expected);
    }
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
