#include "randomize/WallpaperRandomizer.h"

#include "pools/FileKinds.h"
#include "pools/FileSearch.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"
#include "randomize/PictureInstall.h"

namespace qm {

const char kNoBitmapsMessage[] = "You have not selected any bitmap files for randomization.";

namespace {

// The entry drawn among those that can be installed here: without a decoder for pictures,
// the bitmaps alone. With none usable the draw takes any, whose install then fails.
std::size_t DrawUsable(DisplayContext& display, const std::string& shown) {
    const std::vector<std::string>& paths = display.pools.m_wallpaperFiles;
    if (display.pictures && display.pictures->Available())
        return static_cast<std::size_t>(display.random.PickAvoidingShown(paths, shown));
    std::vector<std::string> usable;
    std::vector<std::size_t> index;
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (IsBitmapName(paths[i])) {
            usable.push_back(paths[i]);
            index.push_back(i);
        }
    if (usable.empty()) return static_cast<std::size_t>(display.random.PickAvoidingShown(paths, shown));
    return index[static_cast<std::size_t>(display.random.PickAvoidingShown(usable, shown))];
}

}  // namespace

void RandomizeWallpaper(DisplayContext& display) {
    const std::string shown = display.view.ShownName(DisplayItem::Wallpaper);
    if (!WallpaperSwitchOn(display.displayFlags)) return;
    const CPools& pools = display.pools;
    if (pools.m_nWallpaperFiles <= 0 || pools.m_wallpaperFiles.empty()) {
        if (display.unattended) return;
        display.view.ShowMessage(kNoBitmapsMessage);
        ToggleWallpaperEnabled(display);
        return;
    }
    const std::size_t drawn = DrawUsable(display, shown);
    const std::string& path = pools.m_wallpaperFiles[drawn];
    const std::string target = InstalledWallpaperTarget(display);
    const bool tiled = drawn < pools.m_wallpaperTile.size() && pools.m_wallpaperTile[drawn] != 0;
    if (IsBitmapName(path)) {
        if (!InstallCopy(display, path, target)) return;
        ForgetConvertedPicture(display.registry);
    } else if (!InstallPicture(display, path, target, !tiled)) {
        TellCopyFailed(display, path);  // a picture that cannot be decoded is a copy that failed
        return;
    }
    display.view.SetShownName(DisplayItem::Wallpaper, FileNameOfPath(path));
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
