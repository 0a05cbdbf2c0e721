// The main window's wallpaper and screen-saver commands: the randomizers themselves are
// portable; this file lends them the window's name fields, switches and message box.
#include "app/win32/RRDialog.h"

#include "randomize/ScreenSaverRandomizer.h"
#include "randomize/WallpaperRandomizer.h"
#include "resources/resource.h"

namespace qm {

namespace {

int NameControl(DisplayItem item) {
    return item == DisplayItem::Wallpaper ? IDC_WALLPAPER_NAME : IDC_SCREENSAVER_NAME;
}

}  // namespace

// The one part of the context that changes during the run: the schedule marks its runs.
void CRRDialog::RunDisplayOperation(void (*operation)(DisplayContext&)) {
    m_display.unattended = m_bUnattended != 0;
    operation(m_display);
}

void CRRDialog::RandomizeDisplaySettings() { RunDisplayOperation(qm::RandomizeDisplaySettings); }
void CRRDialog::RandomizeWallpaper() { RunDisplayOperation(qm::RandomizeWallpaper); }
void CRRDialog::RandomizeScreenSaver() { RunDisplayOperation(qm::RandomizeScreenSaver); }
void CRRDialog::ToggleWallpaperEnabled() { RunDisplayOperation(qm::ToggleWallpaperEnabled); }
void CRRDialog::ToggleScreenSaverEnabled() { RunDisplayOperation(qm::ToggleScreenSaverEnabled); }

std::string CRRDialog::DisplayView::ShownName(DisplayItem item) {
    return m_dialog.ItemText(NameControl(item));
}

void CRRDialog::DisplayView::SetShownName(DisplayItem item, const std::string& name) {
    m_dialog.SetItemText(NameControl(item), name);
}

}  // namespace qm
