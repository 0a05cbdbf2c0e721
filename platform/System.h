#pragma once
// Facts about the running system: its directories, its version, its clock and its
// ANSI code page.
#include <cstdint>
#include <string>

namespace qm {

class ISystem {
public:
    virtual ~ISystem() = default;
    // The Windows directory as the platform gives it (no final backslash guaranteed);
    // false when the platform reports failure.
    virtual bool WindowsDirectory(std::string& out) = 0;
    // The current working directory; false on failure.
    virtual bool CurrentDirectory(std::string& out) = 0;
    virtual bool IsWindowsNT() = 0;
    // Wall-clock time in whole seconds since 1970.
    virtual std::int64_t NowSeconds() = 0;
    // Converts UTF-16 text to the ANSI code page; characters it cannot hold become '?'.
    virtual std::string WideToAnsi(const std::u16string& text) = 0;

    // Asks the desktop to show `path` as its wallpaper now and tells the other programs,
    // without storing the setting (the registry value does that). False when refused.
    virtual bool ShowWallpaper(const std::string& path) = 0;

    // A drive without its medium (an empty card reader or CD drive) then fails a file call
    // as a missing file does, instead of the system's "There is no disk in the drive" box,
    // which would wait for a person even in a scheduled run (SetErrorMode).
    virtual void FailCriticalErrorsQuietly() = 0;

    // The primary screen's size in pixels; false when the platform cannot tell.
    virtual bool PrimaryScreenSize(int& width, int& height) = 0;
    // The desktop's background colour, 0x00BBGGRR as Windows gives colours.
    virtual std::uint32_t DesktopColour() = 0;

    enum class ShellFolder { Desktop, LocalAppData };
    // A folder of the current user as the shell itself knows it, without a final
    // backslash; false when the shell cannot tell.
    virtual bool ShellFolderPath(ShellFolder folder, std::string& out) = 0;
};

}  // namespace qm
