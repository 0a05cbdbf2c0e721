#include "randomize/DisplaySettings.h"

#include "pools/StoragePlaces.h"
#include "randomize/ScreenSaverRandomizer.h"
#include "randomize/WallpaperRandomizer.h"

namespace qm {

const char kDesktopKey[] = "Control Panel\\Desktop";

std::string SystemDirectory(const DisplayContext& display) {
    return SystemFolderOf(display.windowsDir, display.system.IsWindowsNT());
}

static StoragePlaces CopyPlaces(const DisplayContext& display) {
    return display.perUserFolder.empty() ? StoragePlaces::MachineWide(display.windowsDir, SystemDirectory(display))
                                         : StoragePlaces::PerUser(display.perUserFolder);
}

std::string InstalledWallpaperTarget(const DisplayContext& display) { return CopyPlaces(display).WallpaperCopy(); }
std::string InstalledScreenSaverTarget(const DisplayContext& display) { return CopyPlaces(display).ScreenSaverCopy(); }

void TellUser(DisplayContext& display, const std::string& text) {
    if (!display.unattended) display.view.ShowMessage(text);
}

void TellCopyFailed(DisplayContext& display, const std::string& source) {
    TellUser(display, "Couldn't copy " + source + ".");
}

bool InstallCopy(DisplayContext& display, const std::string& source, const std::string& target) {
    // A copy writes its target in place, so one cut short would leave part of a file under
    // the installed name: the copy is made beside it and then moved over it in one step.
    const std::string temp = target + ".tmp";
    if (display.files.Copy(source, temp) && display.files.MoveReplacing(temp, target)) return true;
    display.files.Delete(temp);
    TellCopyFailed(display, source);
    return false;
}

void RandomizeDisplaySettings(DisplayContext& display) {
    RandomizeWallpaper(display);
    RandomizeScreenSaver(display);
}

}  // namespace qm
