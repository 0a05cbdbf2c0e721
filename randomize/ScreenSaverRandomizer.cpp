#include "randomize/ScreenSaverRandomizer.h"

#include "pools/FileSearch.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"
#include "randomize/SystemIni.h"

namespace qm {

const char kNoScreenSaversMessage[] = "You have not selected any screen saver files for randomization.";
const char kRestartNoteMessage[] = "Please note that screen saver changes will take effect when Windows is restarted.";
const char kSystemIniFailedMessage[] = "Couldn't modify system.ini with new screensaver value!";

namespace {

const char kScreenSaverValue[] = "SCRNSAVE.EXE";
// The installed copy's 8.3 name, written as it is rather than looked up.
const char kShortName[] = "QUILLM~1.SCR";
const char kOldInstalledName[] = "QuillMere.scr";
// The system directory of Windows NT as the desktop's value has always spelt it.
const char kStoredNtSystemFolder[] = "System32\\";

void NameInSystemIni(DisplayContext& display, const std::string& path) {
    if (!SetScreenSaverInSystemIni(display.files, display.windowsDir, path)) TellUser(display, kSystemIniFailedMessage);
}

void NameInRegistry(DisplayContext& display, const std::string& path) {
    WriteRegistryValue(display.registry, RegistryRoot::CurrentUser, display.desktopKey, kScreenSaverValue, path);
}

// Windows NT is told the installed copy by its short name. The fixed "QUILLM~1.SCR" is that
// name where Windows makes short names the classic way, and is kept there; where it makes
// others, or none, the fixed text would name no file, so the copy's own short name is told
// (its full name when it has no short one).
std::string ShortNameOfCopy(DisplayContext& display, const std::string& copy) {
    const std::string fixed = display.windowsDir + kStoredNtSystemFolder + kShortName;
    std::string shortPath;
    if (!display.files.ShortPath(copy, shortPath)) return fixed;
    return display.files.SameName(FileNameOfPath(shortPath), kShortName) ? fixed : shortPath;
}

// The user's own copy is named by its full name, where Windows looks for it on either platform.
void NameScreenSaver(DisplayContext& display, const std::string& path) {
    if (display.system.IsWindowsNT())
        NameInRegistry(display, path);
    else
        NameInSystemIni(display, path);
}

}  // namespace

void RandomizeScreenSaver(DisplayContext& display) {
    const std::string shown = display.view.ShownName(DisplayItem::ScreenSaver);
    if (!display.view.NameEnabled(DisplayItem::ScreenSaver)) return;
    const std::string target = InstalledScreenSaverTarget(display);
    const CPools& pools = display.pools;
    if (pools.m_nScreenSaverFiles <= 0 || pools.m_screenSaverFiles.empty()) {
        if (display.unattended) return;
        ToggleScreenSaverEnabled(display);  // off first, then the message
        display.view.ShowMessage(kNoScreenSaversMessage);
        return;
    }
    const auto drawn = static_cast<std::size_t>(display.random.PickAvoidingShown(pools.m_screenSaverFiles, shown));
    const std::string& path = pools.m_screenSaverFiles[drawn];
    if (!InstallCopy(display, path, target)) return;
    display.view.SetShownName(DisplayItem::ScreenSaver, FileNameOfPath(path));
    if (!display.perUserFolder.empty())
        NameScreenSaver(display, target);
    else if (display.system.IsWindowsNT())
        NameInRegistry(display, ShortNameOfCopy(display, target));
    else
        NameInSystemIni(display, SystemDirectory(display) + kShortName);
}

void ToggleScreenSaverEnabled(DisplayContext& display) {
    const bool wasOn = ScreenSaverSwitchOn(display.displayFlags);
    display.displayFlags =
        WithDisplaySwitch(display.displayFlags, static_cast<int>(DisplayItem::ScreenSaver), !wasOn);
    if (wasOn) {
        ClearRegistryValue(display.registry, RegistryRoot::CurrentUser, display.desktopKey, kScreenSaverValue);
    } else if (!display.perUserFolder.empty()) {
        NameScreenSaver(display, InstalledScreenSaverTarget(display));
    } else if (display.system.IsWindowsNT()) {
        display.files.Delete(SystemDirectory(display) + kOldInstalledName);
        NameInRegistry(display, display.windowsDir + kStoredNtSystemFolder + kInstalledScreenSaverName);
    } else {
        display.files.Delete(SystemDirectory(display) + kOldInstalledName);
        NameInSystemIni(display, SystemDirectory(display) + kShortName);
    }
    display.view.ApplySwitches();
    RandomizeScreenSaver(display);  // after switching off, the disabled name field stops it
    if (display.pools.m_nScreenSaverFiles > 0) TellUser(display, kRestartNoteMessage);
}

}  // namespace qm
