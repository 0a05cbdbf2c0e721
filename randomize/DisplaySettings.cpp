#include "randomize/DisplaySettings.h"

#include "randomize/ScreenSaverRandomizer.h"
#include "randomize/WallpaperRandomizer.h"

namespace qm {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kInstalledWallpaperName[] = "Quill Mere.bmp";
const char kInstalledScreenSaverName[] = "Quill Mere.scr";

std::string InstalledWallpaperTarget(const DisplayContext& display) {
    return (display.perUserFolder.empty() ? display.windowsDir : display.perUserFolder) + kInstalledWallpaperName;
}

std::string InstalledScreenSaverTarget(DisplayContext& display) {
    return (display.perUserFolder.empty() ? SystemDirectory(display) : display.perUserFolder) +
           kInstalledScreenSaverName;
}

std::string SystemDirectory(DisplayContext& display) {
    return display.windowsDir + (display.system.IsWindowsNT() ? "system32\\" : "system\\");
}

void TellUser(DisplayContext& display, const std::string& text) {
    if (!display.unattended) display.view.ShowMessage(text);
}

bool InstallCopy(DisplayContext& display, const std::string& source, const std::string& target) {
    if (display.files.Copy(source, target)) return true;
    TellUser(display, "Couldn't copy " + source + ".");
    return false;
}

void RandomizeDisplaySettings(DisplayContext& display) {
    RandomizeWallpaper(display);
    RandomizeScreenSaver(display);
}

}  // namespace qm
