// The installer and its uninstaller, run for real in a Wine prefix of their own
// (tools/test-installer.sh): what they leave on disk, in the registry and in shortcuts,
// and that the log-on shortcut starts the program as a start-up run.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "e2e/ProgramDriver.h"

namespace qm::e2e {

namespace {

std::string g_installerPath;
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quill Mere";
const char kDataKey[] = "Software\\Corvalith\\Quill Mere";

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}
std::string InstallDir() { return ShellFolder(CSIDL_PROGRAM_FILES) + "Quill Mere\\"; }
std::string StartMenuEntry() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + "Quill Mere.lnk"; }
std::string StartupEntry() { return ShellFolder(CSIDL_STARTUP) + "Quill Mere.lnk"; }
std::string SystemCopy() { return WindowsDir() + "system32\\Quill Mere.scr"; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const char* key) {
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

struct Shortcut {
    bool read = false;
    std::string target, workingFolder;
};
Shortcut ReadShortcut(const std::string& path) {
    Shortcut result;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return result;
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    char text[MAX_PATH] = {};
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath, STGM_READ)) && SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        result.target = text;
        text[0] = 0;
        link->GetWorkingDirectory(text, MAX_PATH);
        result.workingFolder = text;
        result.read = true;
    }
    if (file) file->Release();
    link->Release();
    return result;
}

DWORD RunProgram(const std::string& program, const std::string& arguments, DWORD waitMs) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError() | 0x80000000u;
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, waitMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

// A dialog of any process whose title contains `title` and, when given, one of whose
// children shows `text`.
struct DialogQuery {
    std::string title, text;
    HWND found = nullptr;
};
BOOL CALLBACK ChildShows(HWND child, LPARAM query) {
    auto* q = reinterpret_cast<DialogQuery*>(query);
    if (TextOf(child).find(q->text) == std::string::npos) return TRUE;
    q->found = GetParent(child);
    return FALSE;
}
BOOL CALLBACK MatchDialog(HWND window, LPARAM query) {
    auto* q = reinterpret_cast<DialogQuery*>(query);
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770" || TextOf(window).find(q->title) == std::string::npos)
        return TRUE;
    if (q->text.empty()) {
        q->found = window;
    } else {
        EnumChildWindows(window, ChildShows, query);
        if (q->found != window) q->found = nullptr;
    }
    return q->found == nullptr;
}
HWND WaitForDialog(const std::string& title, const std::string& text, DWORD ms) {
    DialogQuery query{title, text};
    WaitUntil([&] {
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&query));
        return query.found != nullptr;
    }, ms);
    return query.found;
}

// The user's data as the program leaves it: pools, settings, installed copies, and the
// desktop settings naming the copies.
void PlaceUserData(const std::string& screenSaverSetting) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    WriteFileBytes(WindowsDir() + "qmfiles.cfg", "pool records");
    WriteFileBytes(WindowsDir() + "Quill Mere.bmp", "BM a wallpaper");
    WriteFileBytes(SystemCopy(), "MZ a screen saver");
    WriteValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", WindowsDir() + "Quill Mere.bmp");
    WriteValue(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE", screenSaverSetting);
    // What a user who may not write the machine-wide places keeps in places of their own.
    CreateDirectoryA(UserDataFolder().c_str(), nullptr);
    WriteFileBytes(UserDataFolder() + "qmfiles.cfg", "my pool records");
    WriteDefaultValue(HKEY_CURRENT_USER, kPreferencesKey, "ynnnn|;");
}

void InstallSilently() {
    ASSERT_FALSE(g_installerPath.empty()) << "--installer= names no installer";
    RunProgram(g_installerPath, "/S", 60000);
    // The exit code of an installer says little under Wine: its files say what it did.
    ASSERT_TRUE(Exists(InstallDir() + "QuillMere.exe")) << "nothing installed in " << InstallDir();
}

// The uninstaller copies itself away and returns at once; the copy does the work.
bool WaitUntilUninstalled() {
    return WaitUntil([] { return !Exists(InstallDir() + "Uninstall.exe") && !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); },
                     60000);
}

void ExpectProgramRemoved() {
    EXPECT_FALSE(Exists(InstallDir() + "QuillMere.exe"));
    EXPECT_FALSE(Exists(InstallDir() + "QuillMere.htm"));
    EXPECT_FALSE(Exists(InstallDir())) << "the program's folder stays behind";
    EXPECT_FALSE(Exists(StartMenuEntry()));
    EXPECT_FALSE(Exists(StartupEntry()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

}  // namespace

TEST(Installer, SilentInstallLeavesProgramShortcutsAndUninstallEntry_SilentUninstallKeepsUserData) {
    InstallSilently();
    std::string exe = InstallDir() + "QuillMere.exe";
    EXPECT_TRUE(Exists(InstallDir() + "QuillMere.htm"));
    EXPECT_TRUE(Exists(InstallDir() + "Uninstall.exe"));

    Shortcut menu = ReadShortcut(StartMenuEntry());
    ASSERT_TRUE(menu.read) << StartMenuEntry();
    EXPECT_EQ(menu.target, exe);
    Shortcut logOn = ReadShortcut(StartupEntry());
    ASSERT_TRUE(logOn.read) << StartupEntry();
    EXPECT_EQ(logOn.target, exe);
    // The program compares its working folder with the Windows directory letter by letter.
    EXPECT_EQ(logOn.workingFolder + "\\", WindowsDir());

    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Quill Mere");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "2.01");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Corvalith");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + InstallDir() + "Uninstall.exe\"");

    // Started as the log-on shortcut starts it, with nothing to do at start-up, the program
    // ends by itself: an interactive start would stay open.
    PlaceUserData("QUILLM~1.SCR");
    g_programPath = logOn.target;
    {
        ProgramDriver program;
        ASSERT_TRUE(program.Start(logOn.workingFolder));
        DWORD exitCode = 99;
        EXPECT_TRUE(program.WaitForExit(20000, &exitCode)) << "the log-on start did not end by itself";
        EXPECT_EQ(exitCode, 0u);
    }
    {
        ProgramDriver program;
        ASSERT_TRUE(program.Start(InstallDir()));
        EXPECT_FALSE(program.WaitForExit(3000)) << "a start from the program's own folder is interactive";
        HWND window = program.WaitForMainWindow();
        ASSERT_TRUE(window);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }

    RunProgram(InstallDir() + "Uninstall.exe", "/S", 60000);
    ASSERT_TRUE(WaitUntilUninstalled());
    ExpectProgramRemoved();
    // A silent uninstall asks nothing and keeps the user's data.
    EXPECT_TRUE(Exists(WindowsDir() + "qmfiles.cfg"));
    EXPECT_TRUE(Exists(WindowsDir() + "Quill Mere.bmp"));
    EXPECT_TRUE(Exists(SystemCopy()));
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnnn|;");
    EXPECT_TRUE(Exists(UserDataFolder() + "qmfiles.cfg"));
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kPreferencesKey), "ynnnn|;");
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), WindowsDir() + "Quill Mere.bmp");
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE"), "QUILLM~1.SCR");
}

TEST(Installer, UninstallAskedToRemoveUserDataRemovesItAndClearsSettingsNamingIt) {
    InstallSilently();
    // The screen-saver setting in the form of the copy's real short name.
    WriteFileBytes(SystemCopy(), "MZ");
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(SystemCopy().c_str(), shortPath, MAX_PATH);
    std::string shortName = shortPath;
    shortName = shortName.substr(shortName.rfind('\\') + 1);
    PlaceUserData(shortName);

    RunProgram(InstallDir() + "Uninstall.exe", "", 0);
    HWND wizard = WaitForDialog("Quill Mere", "", 20000);
    ASSERT_TRUE(wizard) << "no uninstaller window";
    SendMessageA(GetDlgItem(wizard, IDOK), BM_CLICK, 0, 0);  // "Uninstall"
    HWND question = WaitForDialog("Quill Mere", "pools of files", 20000);
    ASSERT_TRUE(question) << "the uninstaller did not ask about the user's data";
    SendMessageA(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilUninstalled());
    ExpectProgramRemoved();
    // The uninstaller goes on removing the data after the program's files are gone: its last
    // steps are awaited before anything is checked.
    EXPECT_TRUE(WaitUntil([] {
        return !Exists(SystemCopy()) && !KeyExists(HKEY_CURRENT_USER, kDataKey) &&
               ReadValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper").empty() &&
               ReadValue(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE").empty();
    }, 10000));
    EXPECT_FALSE(Exists(WindowsDir() + "qmfiles.cfg"));
    EXPECT_FALSE(Exists(WindowsDir() + "Quill Mere.bmp"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDataKey));
    EXPECT_FALSE(Exists(UserDataFolder() + "qmfiles.cfg"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDataKey));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), "");
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE"), "") << "was " << shortName;
}

}  // namespace qm::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--installer=", 12) == 0) qm::e2e::g_installerPath = argv[i] + 12;
    for (char& c : qm::e2e::g_installerPath)
        if (c == '/') c = '\\';
    CoInitialize(nullptr);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
