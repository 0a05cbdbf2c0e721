#pragma once
// A system whose directories, version and clock a test sets by hand.
#include <string>
#include <vector>

#include "platform/System.h"

namespace qm {

class FakeSystem : public ISystem {
public:
    bool WindowsDirectory(std::string& out) override {
        out = windowsDir;
        return windowsDirOk;
    }
    bool CurrentDirectory(std::string& out) override {
        out = currentDir;
        return currentDirOk;
    }
    bool IsWindowsNT() override { return windowsNT; }
    std::int64_t NowSeconds() override { return now; }
    // Latin-1 stands in for the ANSI code page.
    std::string WideToAnsi(const std::u16string& text) override {
        std::string out;
        for (char16_t c : text) out += c < 0x100 ? static_cast<char>(c) : '?';
        return out;
    }

    bool ShowWallpaper(const std::string& path) override {
        shownWallpapers.push_back(path);
        return true;
    }
    void FailCriticalErrorsQuietly() override { criticalErrorsQuiet = true; }
    bool PrimaryScreenSize(int& width, int& height) override {
        width = screenWidth;
        height = screenHeight;
        return width > 0 && height > 0;
    }
    std::uint32_t DesktopColour() override { return desktopColour; }
    bool ShellFolderPath(ShellFolder folder, std::string& out) override {
        out = folder == ShellFolder::Desktop ? desktopFolder : localAppDataFolder;
        return !out.empty();
    }

    std::string windowsDir = "C:\\WINDOWS";
    bool windowsDirOk = true;
    std::string currentDir = "C:\\Program Files\\Quill Mere";
    bool currentDirOk = true;
    bool windowsNT = true;
    std::int64_t now = 1000000000;
    std::vector<std::string> shownWallpapers;  // every path ShowWallpaper was asked to show
    bool criticalErrorsQuiet = false;
    int screenWidth = 1024, screenHeight = 768;
    std::uint32_t desktopColour = 0x00804000;  // 0x00BBGGRR
    std::string desktopFolder = "C:\\Documents and Settings\\User\\Desktop";
    std::string localAppDataFolder = "C:\\Documents and Settings\\User\\Local Settings\\Application Data";
};

}  // namespace qm
