#pragma once
// The main window's own messages. All are posted, never sent, so every handler runs on the
// user-interface thread in the order of arrival.
#include <windows.h>

namespace qm {

enum : UINT {
    UM_STARTUP_DELAY_ELAPSED = 0x405,  // the 90-second wait of the start-up run is over
    UM_TRAY_ICON = 0x40A,              // mouse activity on the notification icon: wParam icon id, lParam mouse message
    UM_CHOOSER_RESULT = 0x40F,         // the file chooser holds a confirmed choice
    UM_MANAGE_RESULT = 0x414,          // the Manage Files dialog holds changes to make
    UM_STARTUP_RANDOMIZE = 0x419,      // the start-up run begins
    UM_INTERVAL_ELAPSED = 0x41E,       // wParam 0 elapsed, 1 stopped on request
};

}  // namespace qm
