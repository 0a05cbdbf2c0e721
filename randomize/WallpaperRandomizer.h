#pragma once
// The wallpaper option: while it is on, the desktop's "Wallpaper" value names the installed
// copy "Quill Mere.bmp", and each randomization copies a bitmap of the pool over it and has
// the desktop show it again, tiled or centred as its pool entry says.
#include "randomize/DisplaySettings.h"

namespace qm {

extern const char kNoBitmapsMessage[];  // "You have not selected any bitmap files for randomization."

// Installs a bitmap drawn from the pool, avoiding the one whose name the window shows.
// Nothing happens while the option is off. An empty pool is told to the user, and the
// option is then switched off; a scheduled run leaves both alone.
void RandomizeWallpaper(DisplayContext& display);

// Turns the option over: on, the "Wallpaper" value names the installed copy and a bitmap is
// installed at once; off, the value is emptied and the picture on the screen stays.
void ToggleWallpaperEnabled(DisplayContext& display);

}  // namespace qm
