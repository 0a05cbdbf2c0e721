// A user who may not write the machine-wide places: the real program keeps that user's
// settings, counters, pool file and installed copies in places of the user's own, says so
// once, and keeps the machine-wide places as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const char kNotice[] =
    "You may not change the settings that Quill Mere keeps for every user of this computer, so Quill Mere "
    "keeps your file lists, settings and installed files for you alone.";
const char kWallpaperCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files";

class Storage : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        // A folder where the pool file must be written: the Windows directory refuses it,
        // as it refuses a standard user's files.
        blocker = WindowsDir() + "qmfiles.cfg";
        ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    }
    void TearDown() override {
        RemoveDirectoryA(blocker.c_str());
        ResetProgramState();
    }
    // Starts the program, answers the notice when `notice` says it must come, and returns
    // the main window.
    HWND Start(ProgramDriver& program, bool notice) {
        if (!program.Start(ScratchFolder())) return nullptr;
        HWND box = program.WaitForMessageBox(kNotice, notice ? 15000 : 3000);
        EXPECT_EQ(box != nullptr, notice);
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return program.WaitForMainWindow();
    }
    std::string blocker;
};

}  // namespace

TEST_F(Storage, SettingsLiveInTheUsersPlacesAndTheNoticeComesOnce) {
    WriteDefaultValue(HKEY_CURRENT_USER, "Software\\Corvalith\\Quill Mere\\2.0\\Preferences", "nnyyn3;");
    {
        ProgramDriver program;
        HWND window = Start(program, true);
        ASSERT_TRUE(window);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(program.WaitForExit(10000));
    }
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, "Software\\Corvalith\\Quill Mere\\2.0\\Preferences"), "nnyyn3;");
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Preferences"), "<absent>");
    ProgramDriver again;
    HWND window = Start(again, false);
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(again.WaitForExit(10000));
}

TEST_F(Storage, PoolsAndTheInstalledWallpaperAreReadFromTheUsersPlaces) {
    const std::string user = UserDataFolder();
    CreateDirectoryA(user.c_str(), nullptr);
    const std::string media = ScratchFolder();
    WriteFileBytes(media + "small.bmp", "12345");
    WriteFileBytes(media + "large.bmp", "1234567890");
    WriteFileBytes(user + "qmfiles.cfg", test::Record("small.bmp", media, 0, 1, 0, 0, 0) +
                                             test::Record("large.bmp", media, 0, 1, 0, 0, 0));
    WriteFileBytes(user + "Quill Mere.bmp", "abcdefghij");  // the size of large.bmp
    WriteDefaultValue(HKEY_CURRENT_USER, kWallpaperCounter, "2");
    WriteDefaultValue(HKEY_CURRENT_USER, "Software\\Corvalith\\Quill Mere\\2.0\\Preferences", "nynnn|;");
    WriteDefaultValue(HKEY_CURRENT_USER, "Software\\Corvalith\\Quill Mere\\2.0\\Per-User Notice", "Yes");
    ProgramDriver program;
    HWND window = Start(program, false);
    ASSERT_TRUE(window);
    EXPECT_FALSE(program.WaitForMessageBox("Registry counter doesn't match file counter.", 1000));
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_WALLPAPER_NAME)), "large.bmp");
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kWallpaperCounter), "2");
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kWallpaperCounter), "<absent>");
}

}  // namespace qm::e2e
