#include <windows.h>
#include <shlobj.h>

#include <ctime>
#include <vector>

#include "platform/win32/Win32Platform.h"

namespace qm {

bool Win32System::WindowsDirectory(std::string& out) {
    std::vector<char> buffer(MAX_PATH + 1);
    UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {  // the directory is longer than MAX_PATH: ask again with room
        buffer.resize(length + 1);
        length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) return false;
    out.assign(buffer.data(), length);
    return true;
}

bool Win32System::CurrentDirectory(std::string& out) {
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return false;
    std::vector<char> buffer(needed + 1);
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return false;
    out.assign(buffer.data(), length);
    return true;
}

bool Win32System::IsWindowsNT() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return true;
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::int64_t Win32System::NowSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::string Win32System::WideToAnsi(const std::u16string& text) {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), &out[0], length, nullptr, nullptr);
    return out;
}

bool Win32System::ShowWallpaper(const std::string& path) {
    std::vector<char> text(path.begin(), path.end());
    text.push_back('\0');
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, text.data(), SPIF_SENDWININICHANGE) != 0;
}

bool Win32System::ShellFolderPath(ShellFolder folder, std::string& out) {
    char buffer[MAX_PATH + 1] = {};
    int id = folder == ShellFolder::Desktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_LOCAL_APPDATA;
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, buffer))) return false;
    out = buffer;
    return !out.empty();
}

void Win32System::FailCriticalErrorsQuietly() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

bool Win32System::PrimaryScreenSize(int& width, int& height) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    return width > 0 && height > 0;
}

std::uint32_t Win32System::DesktopColour() { return GetSysColor(COLOR_DESKTOP); }

}  // namespace qm
