// The main window's wallpaper and screen-saver commands.
#include "app/win32/RRDialog.h"

#include "resources/resource.h"

namespace qm {

void CRRDialog::RandomizeDisplaySettings() {
    RandomizeWallpaper();
    RandomizeScreenSaver();
}
void CRRDialog::RandomizeWallpaper() {}
void CRRDialog::RandomizeScreenSaver() {}

// The switches follow their boxes; what they do to the desktop comes with the randomizers.
void CRRDialog::FollowSwitchBox(int position, int box) {
    SetDisplaySwitch(position, IsDlgButtonChecked(m_hWnd, box) == BST_CHECKED);
    ApplyDisplaySwitches();
}
void CRRDialog::ToggleWallpaperEnabled() { FollowSwitchBox(1, IDC_WALLPAPER_ENABLED); }
void CRRDialog::ToggleScreenSaverEnabled() { FollowSwitchBox(0, IDC_SCREENSAVER_ENABLED); }

}  // namespace qm
