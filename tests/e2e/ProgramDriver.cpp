#include "e2e/ProgramDriver.h"

#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "resources/resource.h"

namespace qm::e2e {

std::string g_programPath;

namespace {

struct FindArgs {
    DWORD processId;
    std::string title;
    std::string text;  // for message boxes: a static text the box must hold
    HWND found;
};

BOOL CALLBACK FindChildText(HWND child, LPARAM param) {
    auto* args = reinterpret_cast<FindArgs*>(param);
    if (TextOf(child) == args->text) {
        args->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto* args = reinterpret_cast<FindArgs*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != args->processId || TextOf(window) != args->title) return TRUE;
    if (args->text.empty()) {
        args->found = window;
        return FALSE;
    }
    FindArgs inner{args->processId, args->title, args->text, nullptr};
    EnumChildWindows(window, FindChildText, reinterpret_cast<LPARAM>(&inner));
    if (inner.found) {
        args->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountTitled(HWND window, LPARAM param) {
    if (TextOf(window) == kTitle) ++*reinterpret_cast<int*>(param);
    return TRUE;
}

void DeleteTree(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, length);
    }
    RegCloseKey(handle);
    for (const auto& child : children) DeleteTree(root, key + "\\" + child);
    RegDeleteKeyA(root, key.c_str());
}

}  // namespace

ProgramDriver::~ProgramDriver() {
    if (!m_process.hProcess) return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
}

bool ProgramDriver::Start(const std::string& workingFolder) {
    if (g_programPath.empty()) {
        std::fprintf(stderr, "no program to test: pass --program=PATH\n");
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // Starting a process under Wine fails now and then for reasons of its own; the start
    // is the driver's, so it is tried again. What the program does once started is not.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        std::string commandLine = "\"" + g_programPath + "\"";
        if (CreateProcessA(g_programPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           workingFolder.c_str(), &startup, &m_process))
            return true;
        std::fprintf(stderr, "starting %s in %s failed (error %lu), attempt %d\n", g_programPath.c_str(),
                     workingFolder.c_str(), GetLastError(), attempt);
        Sleep(500);
    }
    return false;
}

HWND ProgramDriver::WaitForMainWindow(DWORD ms) {
    FindArgs args{m_process.dwProcessId, kTitle, "", nullptr};
    WaitUntil([&] {
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&args));
        return args.found != nullptr;
    }, ms);
    return args.found;
}

HWND ProgramDriver::WaitForInitialisedWindow(DWORD ms) {
    HWND window = WaitForMainWindow(ms);
    // "Randomize this Sound Scheme Now" is enabled in the template; the initialisation
    // disables it right after it has shown the installed wallpaper and screen saver.
    if (window && !WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(window, IDC_RANDOMIZE_SCHEME)); }, ms)) return nullptr;
    return window;
}

HWND ProgramDriver::WaitForMessageBox(const std::string& text, DWORD ms) {
    FindArgs args{m_process.dwProcessId, "Quill Mere", text, nullptr};
    WaitUntil([&] {
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&args));
        return args.found != nullptr;
    }, ms);
    return args.found;
}

bool ProgramDriver::WaitForExit(DWORD ms, DWORD* exitCode) {
    if (WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(m_process.hProcess, exitCode);
    return true;
}

std::string TextOf(HWND window) {
    char buffer[1024] = {};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             2000, &result))
        return std::string();
    return std::string(buffer);
}

std::string ClassOf(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

int CountMainWindows() {
    int count = 0;
    EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::string WindowsDir() {
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);
    std::string dir = buffer;
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    return dir;
}

std::string UserDataFolder() {
    char buffer[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
    return std::string(buffer) + "\\Quill Mere\\";
}

void ResetProgramState() {
    DeleteTree(HKEY_LOCAL_MACHINE, kProgramKey);
    DeleteTree(HKEY_CURRENT_USER, kProgramKey);
    std::string windows = WindowsDir();
    DeleteFileA((windows + "qmfiles.cfg").c_str());
    DeleteFileA((windows + "Quill Mere.bmp").c_str());
    DeleteFileA((windows + "system32\\Quill Mere.scr").c_str());
    std::string user = UserDataFolder();
    for (const char* name : {"qmfiles.cfg", "tmpqm.tmp", "Quill Mere.bmp", "Quill Mere.scr"})
        DeleteFileA((user + name).c_str());
    RemoveDirectoryA(user.c_str());
}

std::string ReadDefaultValue(HKEY root, const std::string& key) {
    char buffer[1024] = {};
    LONG size = sizeof buffer;
    if (RegQueryValueA(root, key.c_str(), buffer, &size) != ERROR_SUCCESS) return "<absent>";
    return buffer;
}

void WriteDefaultValue(HKEY root, const std::string& key, const std::string& text) {
    RegSetValueA(root, key.c_str(), REG_SZ, text.c_str(), static_cast<DWORD>(text.size()));
}

std::string ReadValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return "<absent>";
    std::vector<char> data(4096);
    DWORD size = static_cast<DWORD>(data.size()) - 1;
    LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS ? std::string(data.data()) : "<absent>";
}

void WriteValue(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    HKEY handle = nullptr;
    if (RegCreateKeyA(root, key.c_str(), &handle) != ERROR_SUCCESS) return;
    RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(handle);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<absent>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::string ScratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    CreateDirectoryA(temp, nullptr);  // a fresh prefix may not have made it yet
    std::string folder = std::string(temp) + "qm-e2e\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string EventKey(const std::string& app, const std::string& event) {
    return std::string(kAppsKey) + "\\" + app + "\\" + event;
}

void AddEvent(const std::string& app, const std::string& event, const std::string& current, const std::string& marker) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, EventKey(app, event).c_str(), &key) == ERROR_SUCCESS) RegCloseKey(key);
    if (current != "-") WriteDefaultValue(HKEY_CURRENT_USER, EventKey(app, event) + "\\.current", current);
    if (marker != "-") WriteDefaultValue(HKEY_CURRENT_USER, EventKey(app, event) + "\\Active-QM", marker);
}

}  // namespace qm::e2e
