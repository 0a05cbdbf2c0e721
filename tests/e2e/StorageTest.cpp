// A user who may not write the machine-wide places: the real program keeps that user's
// settings, counters, pool file and installed copies in places of the user's own, says so
// once, and keeps the machine-wide places as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/PoolBytes.h"
#include "e2e/FileCommands.h"
#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const char kNotice[] =
    "You may not change the settings that Quill Mere keeps for every user of this computer, so Quill Mere "
    "keeps your file lists, settings and installed files for you alone.";
const char kWallpaperCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files";

// Starts the program and answers the per-user notice.
class UserPlaces : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
    // Starts the program in `folder`, answers the notice when `notice` says it must come,
    // and returns the main window.
    HWND Start(ProgramDriver& program, bool notice, const std::string& folder = ScratchFolder()) {
        if (!program.Start(folder)) return nullptr;
        HWND box = program.WaitForMessageBox(kNotice, notice ? 15000 : 3000);
        EXPECT_EQ(box != nullptr, notice);
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return program.WaitForMainWindow();
    }
};

class Storage : public UserPlaces {
protected:
    void SetUp() override {
        UserPlaces::SetUp();
        // A folder where the pool file must be written: the Windows directory refuses it,
        // as it refuses a standard user's files.
        blocker = WindowsDir() + "qmfiles.cfg";
        ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    }
    void TearDown() override {
        RemoveDirectoryA(blocker.c_str());
        UserPlaces::TearDown();
    }
    std::string blocker;
};

// A file that can be opened for writing (its contents stay as they are).
bool Writable(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Sets or clears the immutable flag of a file of the prefix, which stops every write, even
// root's, the way the Windows directory stops a standard user's. Wine runs the Linux chattr
// that CreateProcess is given but hands back no process to wait for and no exit code, so
// the flag counts as set once a write is refused and as cleared once one is allowed again.
bool SetImmutable(const std::string& path, bool on) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(Wide(path).c_str()) : nullptr;
    if (!name) return false;
    std::string command = std::string("/usr/bin/chattr ") + (on ? "+i" : "-i") + " \"" + name + "\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return WaitUntil([&] { return Writable(path) != on; }, 5000);
}

// An administrator's run left the machine-wide pool file with its counters and the
// installed copies; this user may read them but not write them.
class AfterAnAdministrator : public UserPlaces {
protected:
    void SetUp() override {
        ClearImmutable();  // a run that was ended from outside may have left them so
        UserPlaces::SetUp();
        media = ScratchFolder() + "admin\\";
        CreateDirectoryA(media.c_str(), nullptr);
        WriteFileBytes(media + "sky.bmp", "BM sky");
        WriteFileBytes(media + "sea.bmp", "BM the sea");
        machinePool = test::Record("sky.bmp", media, 0, 1, 0, 0, 0);
        WriteFileBytes(WindowsDir() + "qmfiles.cfg", machinePool);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kWallpaperCounter, "1");
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
        WriteFileBytes(WindowsDir() + "Quill Mere.bmp", "BM sky");
        WriteFileBytes(WindowsDir() + "system32\\Quill Mere.scr", "MZ a screen saver");
        for (const std::string& path : MachineFiles()) {
            machineBytes.push_back(ReadFileBytes(path));
            ASSERT_TRUE(SetImmutable(path, true)) << path << " stays writable";
        }
    }
    void TearDown() override {
        ClearImmutable();
        UserPlaces::TearDown();
    }
    static std::vector<std::string> MachineFiles() {
        return {WindowsDir() + "qmfiles.cfg", WindowsDir() + "Quill Mere.bmp", WindowsDir() + "system32\\Quill Mere.scr"};
    }
    // Nothing may stay immutable: neither the next case nor the removal of the prefix could
    // change the file.
    static void ClearImmutable() {
        for (const std::string& path : MachineFiles()) {
            if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES && !Writable(path)) {
                EXPECT_TRUE(SetImmutable(path, false)) << path << " stays immutable";
            }
        }
    }
    std::string media, machinePool;
    std::vector<std::string> machineBytes;
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

// The machine-wide files exist but refuse this user's writes: the user's own places are
// taken, and what the user adds stays there across a restart.
TEST_F(AfterAnAdministrator, AStandardUserAddsFilesToAPoolFileOfTheirOwn) {
    const std::string userPool = UserDataFolder() + "qmfiles.cfg";
    {
        ProgramDriver program;
        HWND window = Start(program, true, media);
        ASSERT_TRUE(window);
        AddThroughChooser(program, window, "sea.bmp", userPool);
        EXPECT_EQ(ReadFileBytes(userPool), machinePool + test::Record("sea.bmp", media, 0, 1, 0, 0, 0));
        EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kWallpaperCounter), "2");
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(program.WaitForExit(10000));
    }
    ProgramDriver again;
    HWND window = Start(again, false, media);
    ASSERT_TRUE(window);
    EXPECT_FALSE(again.WaitForMessageBox("Registry counter doesn't match file counter.", 1000));
    HWND manage = OpenManage(window);
    ASSERT_TRUE(manage);
    EXPECT_EQ(ListTexts(GetDlgItem(manage, IDC_MANAGE_WALLPAPER_LIST)),
              (std::vector<std::string>{media + "sea.bmp", media + "sky.bmp"}));
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(again.WaitForExit(10000));
    const std::vector<std::string> files = MachineFiles();
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ReadFileBytes(files[i]), machineBytes[i]) << files[i];
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kWallpaperCounter), "1");
}

}  // namespace qm::e2e
