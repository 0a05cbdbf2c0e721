#pragma once
// The screen-saver option: while it is on, Windows is told to run the installed copy
// "Quill Mere.scr" of the system directory (through the desktop's "SCRNSAVE.EXE" value on
// Windows NT, through the [boot] section of "system.ini" on Windows 95 and 98), and each
// randomization copies a screen saver of the pool over it.
#include "randomize/DisplaySettings.h"

namespace qm {

extern const char kNoScreenSaversMessage[];  // "You have not selected any screen saver files ..."
extern const char kRestartNoteMessage[];     // "Please note that screen saver changes will take effect ..."
extern const char kSystemIniFailedMessage[]; // "Couldn't modify system.ini with new screensaver value!"

// Installs a screen saver drawn from the pool, avoiding the one whose name the window shows,
// and names it by its short name. Nothing happens while the option is off. An empty pool
// switches the option off and is then told to the user; a scheduled run leaves both alone.
void RandomizeScreenSaver(DisplayContext& display);

// Turns the option over. On: the old "QuillMere.scr" is deleted, the setting names the
// installed copy and a screen saver is installed at once. Off: the registry value is
// emptied ("system.ini" keeps its line). With a pool to draw from, the user is told that
// the change takes effect when Windows is restarted.
void ToggleScreenSaverEnabled(DisplayContext& display);

}  // namespace qm
