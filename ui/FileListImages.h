#pragma once
// The small pictures of the file and scheme lists of the chooser and of Manage Files, in
// this order: open folder, closed folder, document, loudspeaker.
#include <windows.h>
#include <commctrl.h>

namespace qm {

// A new image list of the four pictures (17 by 16, on the window colour), or null when it
// cannot be made. The caller (or a list view that is given it) destroys it.
HIMAGELIST CreateFileListImages(HINSTANCE instance);

}  // namespace qm
