#pragma once
// Starts QuillMere.exe under test and works it from outside with window messages, the way
// a person or the shell would. Each driver ends the process it started, and only that.
#include <windows.h>

#include <string>

namespace qm::e2e {

extern std::string g_programPath;  // set from --program= by main

const char kTitle[] = "Quill Mere V2.01";
const char kChooserTitle[] = "Choose Files to Randomize From";  // the Add Files window
const char kProgramKey[] = "Software\\Corvalith";
const char kPreferencesKey[] = "SOFTWARE\\Corvalith\\Quill Mere\\2.0\\Preferences";
const char kDesktopKey[] = "Control Panel\\Desktop";  // the user's wallpaper and screen-saver settings
// The sound events by application, under HKEY_CURRENT_USER: the main window lists one scheme
// per application key (".Default" as "Default").
const char kAppsKey[] = "AppEvents\\Schemes\\Apps";
// The id the main window gives its notification icon (RRDialog.cpp): the shell knows the
// icon by that id and the window, and the window's icon messages carry it.
const UINT kTrayIconId = 128;

class ProgramDriver {
public:
    ProgramDriver() = default;
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Starts the program with `workingFolder` as its current directory.
    bool Start(const std::string& workingFolder);
    // The main window of this process once it exists (polls up to `ms`), else nullptr.
    HWND WaitForMainWindow(DWORD ms = 15000);
    // The main window of an interactive run once its initialisation has applied the display
    // switches and shown the installed files (the window exists, and shows, well before).
    HWND WaitForInitialisedWindow(DWORD ms = 15000);
    // A message box of this process with the given text, or nullptr after `ms`.
    HWND WaitForMessageBox(const std::string& text, DWORD ms = 15000);
    // True when the process ended within `ms`; its exit code goes to `exitCode`.
    bool WaitForExit(DWORD ms, DWORD* exitCode = nullptr);
    DWORD ProcessId() const { return m_process.dwProcessId; }
    HANDLE Process() const { return m_process.hProcess; }

private:
    PROCESS_INFORMATION m_process = {};
};

// Text of a window of another process.
std::string TextOf(HWND window);
std::string ClassOf(HWND window);
// A control of another process's dialog, by id. The painted dialogs keep the id of the
// picture a control shows in its user data.
inline bool Checked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
inline LONG_PTR PictureOf(HWND dialog, int id) { return GetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA); }
// Polls `condition` until it holds or `ms` passed.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(50);
    }
    return true;
}
// Top-level windows titled like the main window, of any process.
int CountMainWindows();

// Registry and disk of the prefix, reset between cases.
void ResetProgramState();
std::string WindowsDir();  // with a final backslash
std::string UserDataFolder();  // the program's folder in the user's local application data, with a final backslash
std::string ReadDefaultValue(HKEY root, const std::string& key);
void WriteDefaultValue(HKEY root, const std::string& key, const std::string& text);
std::string ReadValue(HKEY root, const std::string& key, const std::string& name);  // "<absent>" when missing
void WriteValue(HKEY root, const std::string& key, const std::string& name, const std::string& text);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);  // "<absent>" when it cannot be read
std::string ScratchFolder();  // an empty folder for the case, with a final backslash
std::string EventKey(const std::string& app, const std::string& event);
// An event key of application `app`; "-" leaves its ".current" or marker key out.
void AddEvent(const std::string& app, const std::string& event, const std::string& current = "-",
              const std::string& marker = "-");

}  // namespace qm::e2e
