// The display commands of the real program under Wine, as Windows NT and as Windows 98:
// buttons 1024, 1022 and 1025 and check boxes 1063 and 1065, with the files, registry
// values, system.ini text, message boxes and name fields they leave.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"
#include "resources/resource.h"
#include "win32/PictureFiles.h"

namespace qm::e2e {

namespace {

// What Windows NT must be told for the installed screen saver: its short name as this file
// system made it (Wine makes names such as QUIL~Z4O.SCR), the fixed QUILLM~1.SCR where it
// is that.
std::string ShortNameOfCopy() {
    const std::string copy = WindowsDir() + "system32\\Quill Mere.scr";
    char shortPath[MAX_PATH] = {};
    if (!GetShortPathNameA(copy.c_str(), shortPath, MAX_PATH)) return "<no copy>";
    std::string told = shortPath;
    if (told.size() >= 12 && _stricmp(told.c_str() + told.size() - 12, "QUILLM~1.SCR") == 0)
        return WindowsDir() + "System32\\QUILLM~1.SCR";
    return told;
}

const char kWineVersionKey[] = "Software\\Wine\\AppDefaults\\QuillMere.exe";
const char* const kDesktopValues[] = {"Wallpaper", "TileWallpaper", "WallpaperStyle", "SCRNSAVE.EXE"};
const char kNoBitmaps[] = "You have not selected any bitmap files for randomization.";
const char kNoScreenSavers[] = "You have not selected any screen saver files for randomization.";
const char kRestartNote[] = "Please note that screen saver changes will take effect when Windows is restarted.";
const char kSystemIniFailed[] = "Couldn't modify system.ini with new screensaver value!";
const char kCountersKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\";

void DeleteValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, name.c_str());
    RegCloseKey(handle);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct PoolFile {
    std::string name;
    bool wallpaper;
    int tile;
};

}  // namespace

class DisplayCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        windows = WindowsDir();
        for (const char* name : kDesktopValues) savedDesktop[name] = ReadValue(HKEY_CURRENT_USER, kDesktopKey, name);
        savedSystemIni = ReadFileBytes(windows + "system.ini");
        media = ScratchFolder();
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
        WriteValue(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "untouched");
        WriteValue(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE", "untouched");
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kWineVersionKey);
        ResetProgramState();
        for (const auto& [name, value] : savedDesktop) {
            if (value == "<absent>")
                DeleteValue(HKEY_CURRENT_USER, kDesktopKey, name);
            else
                WriteValue(HKEY_CURRENT_USER, kDesktopKey, name, value);
        }
        if (savedSystemIni != "<absent>") WriteFileBytes(windows + "system.ini", savedSystemIni);
        DeleteFileA((windows + "tmpsys.ini").c_str());
        DeleteFileA((windows + "system32\\QuillMere.scr").c_str());
        DeleteFileA((windows + "system\\Quill Mere.scr").c_str());
        DeleteFileA((windows + "system\\QuillMere.scr").c_str());
        if (madeSystemFolder) RemoveDirectoryA((windows + "system").c_str());
    }

    // Windows 98 as the program sees it: the platform it is told, and a system folder.
    void AsWindows98(bool withSystemFolder = true) {
        WriteValue(HKEY_CURRENT_USER, kWineVersionKey, "Version", "win98");
        if (withSystemFolder) madeSystemFolder = CreateDirectoryA((windows + "system").c_str(), nullptr) != 0;
    }

    // The pool file and its counters, written as the program keeps them.
    void WritePools(const std::vector<PoolFile>& files) {
        std::string records;
        int wallpapers = 0, savers = 0;
        for (const PoolFile& file : files) {
            WriteFileBytes(media + file.name, (file.wallpaper ? "BM " : "MZ ") + file.name);
            records += test::Record(file.name, media, 0, file.wallpaper ? 1 : 0, file.wallpaper ? 0 : 1, 0, file.tile);
            (file.wallpaper ? wallpapers : savers)++;
        }
        WriteFileBytes(windows + "qmfiles.cfg", records);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "Wallpaper Files", std::to_string(wallpapers));
        WriteDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "ScreenSaver Files", std::to_string(savers));
        WriteDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "Sound Files", "0");
    }

    HWND Start() {
        if (!program.Start(ScratchFolder())) return nullptr;
        window = program.WaitForInitialisedWindow();
        return window;
    }
    void Exit() {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    // A click posted, as a person's is: a message box it opens does not hold the test up.
    void Click(int id) { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
    std::string Text(int id) { return TextOf(GetDlgItem(window, id)); }
    bool Checked(int id) { return e2e::Checked(window, id); }
    bool Enabled(int id) { return e2e::Enabled(window, id); }
    std::string Desktop(const std::string& name) { return ReadValue(HKEY_CURRENT_USER, kDesktopKey, name); }
    // Waits for the name field to show something other than `before`.
    std::string NameChangesFrom(int id, const std::string& before) {
        WaitUntil([&] { return Text(id) != before; }, 10000);
        return Text(id);
    }
    // Waits for the message box, checks what stands when it shows, and closes it.
    bool AnswerBox(const std::string& text, DWORD ms = 10000) {
        HWND box = program.WaitForMessageBox(text, ms);
        if (!box) return false;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(box); }, 5000);
        return true;
    }
    std::string Installed(const std::string& folder, const std::string& name) {
        return ReadFileBytes(windows + folder + name);
    }

    ProgramDriver program;
    HWND window = nullptr;
    std::string windows, media, savedSystemIni;
    std::map<std::string, std::string> savedDesktop;
    bool madeSystemFolder = false;
};

TEST_F(DisplayCommands, WallpaperSwitchAndButtonInstallTheDrawnBitmapsOnWindowsNt) {
    WritePools({{"sky.bmp", true, 1}, {"sea-wide.bmp", true, 0}});
    ASSERT_TRUE(Start());
    Click(IDC_WALLPAPER_ENABLED);
    std::string shown = NameChangesFrom(IDC_WALLPAPER_NAME, "");
    ASSERT_TRUE(shown == "sky.bmp" || shown == "sea-wide.bmp") << shown;
    EXPECT_TRUE(Checked(IDC_WALLPAPER_ENABLED));
    EXPECT_TRUE(Enabled(IDC_WALLPAPER_NAME));
    EXPECT_EQ(Desktop("Wallpaper"), windows + "Quill Mere.bmp");
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM " + shown);
    EXPECT_EQ(Desktop("TileWallpaper"), shown == "sky.bmp" ? "1" : "0");
    EXPECT_EQ(Desktop("WallpaperStyle"), "0");
    // Button 1024 draws the other bitmap each time: the shown one is avoided.
    for (int i = 0; i < 3; ++i) {
        Click(IDC_WALLPAPER_BMP);
        std::string next = NameChangesFrom(IDC_WALLPAPER_NAME, shown);
        ASSERT_NE(next, shown);
        EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM " + next);
        EXPECT_EQ(Desktop("TileWallpaper"), next == "sky.bmp" ? "1" : "0");
        shown = next;
    }
    // Off: the stored wallpaper is emptied; the installed file and the name stay.
    Click(IDC_WALLPAPER_ENABLED);
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(IDC_WALLPAPER_NAME); }, 5000));
    EXPECT_EQ(Desktop("Wallpaper"), "");
    EXPECT_EQ(Text(IDC_WALLPAPER_NAME), shown);
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM " + shown);
    // Button 1024 while the option is off does nothing.
    Click(IDC_WALLPAPER_BMP);
    Sleep(500);
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM " + shown);
    Exit();
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnnn|;");
}

TEST_F(DisplayCommands, AnEmptyWallpaperPoolIsToldAndTheSwitchGoesOffAgain) {
    ASSERT_TRUE(Start());
    Click(IDC_WALLPAPER_ENABLED);
    HWND box = program.WaitForMessageBox(kNoBitmaps);
    ASSERT_TRUE(box);
    // The message comes while the option is still on; closing it switches the option off.
    EXPECT_EQ(Desktop("Wallpaper"), windows + "Quill Mere.bmp");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !Checked(IDC_WALLPAPER_ENABLED); }, 5000));
    EXPECT_FALSE(Enabled(IDC_WALLPAPER_NAME));
    EXPECT_EQ(Desktop("Wallpaper"), "");
    EXPECT_EQ(Desktop("TileWallpaper"), "untouched");
    EXPECT_FALSE(FileExists(windows + "Quill Mere.bmp"));
    Exit();
}

TEST_F(DisplayCommands, ScreenSaverSwitchAndButtonOnWindowsNtNameTheCopyInTheRegistry) {
    WritePools({{"stars.scr", false, 0}, {"waves-long.scr", false, 0}});
    WriteFileBytes(windows + "system32\\QuillMere.scr", "an old copy");
    ASSERT_TRUE(Start());
    Click(IDC_SCREENSAVER_ENABLED);
    ASSERT_TRUE(program.WaitForMessageBox(kRestartNote));
    std::string shown = Text(IDC_SCREENSAVER_NAME);
    ASSERT_TRUE(shown == "stars.scr" || shown == "waves-long.scr") << shown;
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), ShortNameOfCopy());
    EXPECT_EQ(Installed("system32\\", "Quill Mere.scr"), "MZ " + shown);
    EXPECT_FALSE(FileExists(windows + "system32\\QuillMere.scr"));
    EXPECT_TRUE(Checked(IDC_SCREENSAVER_ENABLED));
    ASSERT_TRUE(AnswerBox(kRestartNote));

    Click(IDC_SCREENSAVER_BMP);
    std::string next = NameChangesFrom(IDC_SCREENSAVER_NAME, shown);
    EXPECT_NE(next, shown);
    EXPECT_EQ(Installed("system32\\", "Quill Mere.scr"), "MZ " + next);
    EXPECT_FALSE(program.WaitForMessageBox(kRestartNote, 500)) << "only the switch brings the note";

    Click(IDC_SCREENSAVER_ENABLED);
    ASSERT_TRUE(AnswerBox(kRestartNote));
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "");
    EXPECT_FALSE(Enabled(IDC_SCREENSAVER_NAME));
    EXPECT_EQ(Installed("system32\\", "Quill Mere.scr"), "MZ " + next);
    Exit();
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnnn|;");
}

TEST_F(DisplayCommands, AnEmptyScreenSaverPoolSwitchesOffBeforeItIsTold) {
    ASSERT_TRUE(Start());
    Click(IDC_SCREENSAVER_ENABLED);
    HWND box = program.WaitForMessageBox(kNoScreenSavers);
    ASSERT_TRUE(box);
    EXPECT_FALSE(Checked(IDC_SCREENSAVER_ENABLED)) << "the option is off before the message shows";
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(program.WaitForMessageBox(kRestartNote, 1000)) << "no note without a pool";
    Exit();
}

TEST_F(DisplayCommands, RandomizeDisplaySettingsChangesOnlyWhatIsSwitchedOn) {
    WritePools({{"sky.bmp", true, 0}, {"stars.scr", false, 0}, {"waves-long.scr", false, 0}});
    WriteFileBytes(windows + "system32\\Quill Mere.scr", "MZ stars.scr");  // the installed copy, by its size
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "ynnnn|;");
    ASSERT_TRUE(Start());
    ASSERT_EQ(Text(IDC_SCREENSAVER_NAME), "stars.scr");
    Click(IDC_RANDOMIZE_DISPLAY);
    EXPECT_EQ(NameChangesFrom(IDC_SCREENSAVER_NAME, "stars.scr"), "waves-long.scr");
    EXPECT_EQ(Installed("system32\\", "Quill Mere.scr"), "MZ waves-long.scr");
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), ShortNameOfCopy());
    EXPECT_EQ(Text(IDC_WALLPAPER_NAME), "");
    EXPECT_FALSE(FileExists(windows + "Quill Mere.bmp"));
    EXPECT_EQ(Desktop("TileWallpaper"), "untouched");
    Exit();
}

// A bitmap that cannot be copied (the installed copy held open by another program, or the
// pool file gone): told when asked for, silent in the start-up run, and in every case the
// window, the installed copy and the desktop settings stay as they were.
TEST_F(DisplayCommands, AFailedCopyChangesNothingAndIsToldOnlyWhenAskedFor) {
    WritePools({{"sky.bmp", true, 1}, {"sea-wide.bmp", true, 0}});
    const std::string installed = windows + "Quill Mere.bmp";
    WriteFileBytes(installed, "BM sky.bmp");
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nyynn|;");  // wallpaper on, randomize at start-up
    const std::string told = "Couldn't copy " + media + "sea-wide.bmp.";  // sky.bmp is shown, so it is avoided
    ASSERT_TRUE(Start());
    ASSERT_EQ(Text(IDC_WALLPAPER_NAME), "sky.bmp");
    HANDLE lock = CreateFileA(installed.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Click(IDC_WALLPAPER_BMP);
    EXPECT_TRUE(AnswerBox(told));
    CloseHandle(lock);
    DeleteFileA((media + "sea-wide.bmp").c_str());
    Click(IDC_WALLPAPER_BMP);
    EXPECT_TRUE(AnswerBox(told));
    EXPECT_EQ(Text(IDC_WALLPAPER_NAME), "sky.bmp");
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM sky.bmp");
    EXPECT_EQ(Desktop("TileWallpaper"), "untouched");
    Exit();

    WritePools({{"sky.bmp", true, 1}, {"sea-wide.bmp", true, 0}});
    lock = CreateFileA(installed.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ProgramDriver startupRun;
    ASSERT_TRUE(startupRun.Start(windows));
    bool shown = false;
    DWORD exitCode = 99;
    EXPECT_TRUE(WaitUntil([&] {
        shown = shown || startupRun.WaitForMessageBox(told, 0);
        return startupRun.WaitForExit(0, &exitCode);
    }, 20000)) << "the start-up run must end by itself";
    CloseHandle(lock);
    EXPECT_FALSE(shown) << "a start-up run shows no message";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM sky.bmp");
    EXPECT_EQ(Desktop("TileWallpaper"), "untouched");
}

TEST_F(DisplayCommands, TheStartupRunInstallsAnotherBitmapSilently) {
    WritePools({{"sky.bmp", true, 1}, {"sea-wide.bmp", true, 0}});
    WriteFileBytes(windows + "Quill Mere.bmp", "BM sky.bmp");
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nyynn|;");
    ProgramDriver startupRun;
    ASSERT_TRUE(startupRun.Start(windows));
    DWORD exitCode = 99;
    ASSERT_TRUE(startupRun.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM sea-wide.bmp");
    EXPECT_EQ(Desktop("TileWallpaper"), "0");
    EXPECT_EQ(Desktop("WallpaperStyle"), "0");
}

// As Windows 98: the screen saver is named in the [boot] section of system.ini.
TEST_F(DisplayCommands, ScreenSaverOnWindows98IsNamedInSystemIni) {
    AsWindows98();
    WritePools({{"stars.scr", false, 0}, {"waves-long.scr", false, 0}});
    WriteFileBytes(windows + "system\\QuillMere.scr", "an old copy");
    WriteFileBytes(windows + "system.ini", "[boot]\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\nshell=Explorer.exe\r\n[Boot]\r\n"
                                          "scrnsave.exe=keep\r\nlast=1");
    const std::string named = "[boot]\r\nSCRNSAVE.EXE=" + windows + "system\\QUILLM~1.SCR\r\nshell=Explorer.exe\r\n"
                              "[Boot]\r\nscrnsave.exe=keep\r\nlast=1\r\n";
    ASSERT_TRUE(Start());
    Click(IDC_SCREENSAVER_ENABLED);
    ASSERT_TRUE(program.WaitForMessageBox(kRestartNote));
    std::string shown = Text(IDC_SCREENSAVER_NAME);
    EXPECT_EQ(Installed("system\\", "Quill Mere.scr"), "MZ " + shown);
    EXPECT_FALSE(FileExists(windows + "system\\QuillMere.scr"));
    EXPECT_FALSE(FileExists(windows + "system32\\Quill Mere.scr"));
    EXPECT_EQ(ReadFileBytes(windows + "system.ini"), named);
    EXPECT_FALSE(FileExists(windows + "tmpsys.ini"));
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "untouched");
    ASSERT_TRUE(AnswerBox(kRestartNote));

    Click(IDC_SCREENSAVER_BMP);
    std::string next = NameChangesFrom(IDC_SCREENSAVER_NAME, shown);
    EXPECT_EQ(Installed("system\\", "Quill Mere.scr"), "MZ " + next);
    EXPECT_EQ(ReadFileBytes(windows + "system.ini"), named);

    // Off: only the registry value is emptied; system.ini keeps naming the copy.
    Click(IDC_SCREENSAVER_ENABLED);
    ASSERT_TRUE(AnswerBox(kRestartNote));
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "");
    EXPECT_EQ(ReadFileBytes(windows + "system.ini"), named);
    Exit();

    // The next start finds the installed copy in the system folder by its size.
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "ynnnn|;");
    ProgramDriver restarted;
    ASSERT_TRUE(restarted.Start(ScratchFolder()));
    HWND again = restarted.WaitForInitialisedWindow();
    ASSERT_TRUE(again);
    EXPECT_EQ(TextOf(GetDlgItem(again, IDC_SCREENSAVER_NAME)), next);
    EXPECT_EQ(SendMessageA(GetDlgItem(again, IDC_SCREENSAVER_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageA(again, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(restarted.WaitForExit(10000));
}

TEST_F(DisplayCommands, OnWindows98AnEmptyPoolLeavesTheSystemIniLineOfTheSwitch) {
    AsWindows98();
    WriteFileBytes(windows + "system.ini", "[boot]\r\nshell=Explorer.exe\r\n");
    ASSERT_TRUE(Start());
    Click(IDC_SCREENSAVER_ENABLED);
    ASSERT_TRUE(AnswerBox(kNoScreenSavers));
    EXPECT_FALSE(Checked(IDC_SCREENSAVER_ENABLED));
    EXPECT_EQ(ReadFileBytes(windows + "system.ini"),
              "[boot]\r\nSCRNSAVE.EXE=" + windows + "system\\QUILLM~1.SCR\r\nshell=Explorer.exe\r\n");
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), "");
    Exit();
}

TEST_F(DisplayCommands, OnWindows98ASystemIniInUseIsToldAndKeptAsItWas) {
    AsWindows98();
    WritePools({{"stars.scr", false, 0}});
    const std::string before = "[boot]\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\n";
    WriteFileBytes(windows + "system.ini", before);
    HANDLE lock = CreateFileA((windows + "system.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Start());
    Click(IDC_SCREENSAVER_ENABLED);
    // Once for the switch, once for the randomization that follows it; then the note.
    EXPECT_TRUE(AnswerBox(kSystemIniFailed));
    EXPECT_TRUE(AnswerBox(kSystemIniFailed));
    EXPECT_EQ(Text(IDC_SCREENSAVER_NAME), "stars.scr");
    EXPECT_TRUE(AnswerBox(kRestartNote));
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(windows + "system.ini"), before);
    EXPECT_FALSE(FileExists(windows + "tmpsys.ini"));
    Exit();
}

TEST_F(DisplayCommands, OnWindows98WithoutASystemFolderTheCopyFailsAndNothingIsNamed) {
    AsWindows98(false);
    ASSERT_FALSE(FileExists(windows + "system")) << "the prefix has a system folder of its own";
    WritePools({{"stars.scr", false, 0}});
    WriteFileBytes(windows + "system.ini", "[boot]\r\n");
    ASSERT_TRUE(Start());
    Click(IDC_SCREENSAVER_BMP);  // the option is off: nothing
    Click(IDC_SCREENSAVER_ENABLED);
    ASSERT_TRUE(AnswerBox("Couldn't copy " + media + "stars.scr."));
    ASSERT_TRUE(AnswerBox(kRestartNote));
    EXPECT_EQ(Text(IDC_SCREENSAVER_NAME), "");
    // The switch itself named the copy; the failed randomization changed nothing more.
    EXPECT_EQ(ReadFileBytes(windows + "system.ini"), "[boot]\r\nSCRNSAVE.EXE=" + windows + "system\\QUILLM~1.SCR\r\n");
    Exit();
}

// Pictures other than bitmaps, each drawn alone from a pool of one as the wallpaper switch
// goes on.
class DisplayPictures : public DisplayCommands {
protected:
    // The pool of the one picture, which `make` writes over the placeholder, and a copy
    // installed before; then the program is started and the switch turned on, which draws.
    bool DrawPicture(const std::string& name, const std::function<void(const std::string&)>& make) {
        WritePools({{name, true, 0}});
        make(media + name);
        WriteFileBytes(windows + "Quill Mere.bmp", kBefore);
        if (!Start()) return false;
        Click(IDC_WALLPAPER_ENABLED);
        return true;
    }
    // A photo stored sideways with a red top-left corner, as a camera held upright stores it
    // with orientation 6.
    static void SidewaysPhoto(const std::string& path, int width, int height) {
        EXPECT_TRUE(test::Encode(path, GUID_ContainerFormatJpeg, width, height, false, [&](int x, int y) {
            return x < width / 8 && y < height / 8 ? 0x00FF0000u : 0x00FFFFFFu;
        }));
        WriteFileBytes(path, test::WithOrientation(ReadFileBytes(path), 6));
    }

    static constexpr const char* kBefore = "BM the copy installed before";
    test::ComScope com;
};

TEST_F(DisplayPictures, EachPictureIsInstalledAsTheBitmapOfWhatTheScreenShows) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int storedWidth = 1600, storedHeight = 1200;  // upright 1200 x 1600: taller than the screen
    ASSERT_GT(storedWidth, screenHeight);
    const test::Pixel desktop = test::PixelOf(GetSysColor(COLOR_DESKTOP)), green{0, 255, 0};
    struct Row {
        const char* name;
        std::function<void(const std::string&)> make;
        std::function<void(const test::Bitmap&)> check;
    };
    const Row rows[] = {
        {"photo.jpg", [&](const std::string& path) { SidewaysPhoto(path, storedWidth, storedHeight); },
         [&](const test::Bitmap& shown) {
             // Upright and scaled down, keeping its proportions, until it fits the screen.
             const bool byWidth = static_cast<long long>(storedHeight) * screenHeight >=
                                  static_cast<long long>(storedWidth) * screenWidth;
             if (byWidth) {
                 EXPECT_EQ(shown.width, screenWidth);
                 EXPECT_NEAR(shown.height, static_cast<double>(storedWidth) * screenWidth / storedHeight, 1);
             } else {
                 EXPECT_EQ(shown.height, screenHeight);
                 EXPECT_NEAR(shown.width, static_cast<double>(storedHeight) * screenHeight / storedWidth, 1);
             }
             // Turned a quarter clockwise: the stored top-left corner is now the top-right one.
             EXPECT_TRUE(test::Near(shown.At(shown.width - 2, 1), test::kRed));
             EXPECT_TRUE(test::Near(shown.At(1, 1), test::kWhite));
             EXPECT_TRUE(test::Near(shown.At(shown.width - 2, shown.height - 2), test::kWhite));
         }},
        {"clear.png",
         [](const std::string& path) {
             EXPECT_TRUE(test::Encode(path, GUID_ContainerFormatPng, 40, 30, true,
                                      [](int x, int y) { return x < 10 && y < 10 ? 0x00000000u : 0xFF00FF00u; }));
         },
         [&](const test::Bitmap& shown) {
             EXPECT_EQ(shown.width, 40);
             EXPECT_EQ(shown.height, 30);
             EXPECT_EQ(shown.At(2, 2), desktop) << "the transparent corner";
             EXPECT_EQ(shown.At(30, 20), green);
         }},
        {"moving.gif", [](const std::string& path) { EXPECT_TRUE(test::EncodeAnimatedGif(path, 20, 10, {0xFF0000u, 0x00FF00u})); },
         [](const test::Bitmap& shown) {
             EXPECT_EQ(shown.width, 20);
             EXPECT_EQ(shown.height, 10);
             EXPECT_EQ(shown.At(5, 5), test::kRed) << "the first frame";
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(DrawPicture(row.name, row.make));
        ASSERT_EQ(NameChangesFrom(IDC_WALLPAPER_NAME, ""), row.name);
        const test::Bitmap shown = test::ReadBitmap(Installed("", "Quill Mere.bmp"));
        EXPECT_EQ(shown.bits, 24);
        row.check(shown);
        EXPECT_EQ(Desktop("Wallpaper"), windows + "Quill Mere.bmp");
        Exit();
    }
    // A bitmap is still copied as it is.
    ASSERT_TRUE(DrawPicture("sky.bmp", [](const std::string& path) { WriteFileBytes(path, "BM\x01 not decoded"); }));
    ASSERT_EQ(NameChangesFrom(IDC_WALLPAPER_NAME, ""), "sky.bmp");
    EXPECT_EQ(Installed("", "Quill Mere.bmp"), "BM\x01 not decoded");
    Exit();
}

// A text file named like a picture, and a JPEG cut short: told as a failed copy, and the
// copy installed before stays.
TEST_F(DisplayPictures, APictureThatCannotBeDecodedIsAFailedCopy) {
    const std::pair<const char*, std::function<void(const std::string&)>> rows[] = {
        {"notes.jpg", [](const std::string& path) { WriteFileBytes(path, "these are notes, not a picture"); }},
        {"cut.jpg",
         [](const std::string& path) {
             SidewaysPhoto(path, 320, 240);
             const std::string whole = ReadFileBytes(path);
             WriteFileBytes(path, whole.substr(0, whole.size() / 3));
         }},
    };
    for (const auto& [name, make] : rows) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(DrawPicture(name, make));
        EXPECT_TRUE(AnswerBox("Couldn't copy " + media + name + "."));
        EXPECT_EQ(Installed("", "Quill Mere.bmp"), kBefore);
        EXPECT_EQ(Text(IDC_WALLPAPER_NAME), "");
        Exit();
    }
}

TEST_F(DisplayPictures, TheNextStartNamesThePictureTheInstalledCopyWasMadeFrom) {
    ASSERT_TRUE(DrawPicture("photo.jpg", [](const std::string& path) { SidewaysPhoto(path, 64, 48); }));
    ASSERT_EQ(NameChangesFrom(IDC_WALLPAPER_NAME, ""), "photo.jpg");
    Exit();
    ASSERT_NE(ReadFileBytes(windows + "Quill Mere.bmp").size(), ReadFileBytes(media + "photo.jpg").size())
        << "the copy must not be found by its size alone";
    ProgramDriver restarted;
    ASSERT_TRUE(restarted.Start(ScratchFolder()));
    HWND again = restarted.WaitForInitialisedWindow();
    ASSERT_TRUE(again);
    EXPECT_EQ(TextOf(GetDlgItem(again, IDC_WALLPAPER_NAME)), "photo.jpg");
    PostMessageA(again, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(restarted.WaitForExit(10000));
}

}  // namespace qm::e2e
