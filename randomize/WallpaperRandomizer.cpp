#include "randomize/WallpaperRandomizer.h"

#include "pools/FileSearch.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"

namespace qm {

const char kNoBitmapsMessage[] = "You have not selected any bitmap files for randomization.";

void RandomizeWallpaper(DisplayContext& display) {
    const std::string shown = display.view.ShownName(DisplayItem::Wallpaper);
    if (!display.view.NameEnabled(DisplayItem::Wallpaper)) return;
    const CPools& pools = display.pools;
    if (pools.m_nWallpaperFiles <= 0 || pools.m_wallpaperFiles.empty()) {
        if (display.unattended) return;
        display.view.ShowMessage(kNoBitmapsMessage);
        ToggleWallpaperEnabled(display);
        return;
    }
    const auto drawn = static_cast<std::size_t>(display.random.PickAvoidingShown(pools.m_wallpaperFiles, shown));
    const std::string& path = pools.m_wallpaperFiles[drawn];
    const std::string target = InstalledWallpaperTarget(display);
    if (!InstallCopy(display, path, target)) return;
    display.view.SetShownName(DisplayItem::Wallpaper, FileNameOfPath(path));
    const bool tiled = drawn < pools.m_wallpaperTile.size() && pools.m_wallpaperTile[drawn] != 0;
    // The tile flag decides only while the style is 0 (centred or tiled); later versions
    // of Windows keep a stretched or filled style there that would override it.
    WriteRegistryValue(display.registry, RegistryRoot::CurrentUser, display.desktopKey, "TileWallpaper",
                       tiled ? "1" : "0");
    WriteRegistryValue(display.registry, RegistryRoot::CurrentUser, display.desktopKey, "WallpaperStyle", "0");
    display.system.ShowWallpaper(target);
}

void ToggleWallpaperEnabled(DisplayContext& display) {
    const bool wasOn = WallpaperSwitchOn(display.displayFlags);
    display.displayFlags = WithDisplaySwitch(display.displayFlags, static_cast<int>(DisplayItem::Wallpaper), !wasOn);
    if (wasOn)
        ClearRegistryValue(display.registry, RegistryRoot::CurrentUser, display.desktopKey, "Wallpaper");
    else
        WriteRegistryValue(display.registry, RegistryRoot::CurrentUser, display.desktopKey, "Wallpaper",
                           InstalledWallpaperTarget(display));
    display.view.ApplySwitches();
    RandomizeWallpaper(display);  // after switching off, the disabled name field stops it
}

}  // namespace qm
