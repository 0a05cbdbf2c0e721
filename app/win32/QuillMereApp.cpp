// The application object: refuses a second instance, then runs the main window for the
// whole run. The program takes no command-line arguments.
#include <windows.h>
#include <commctrl.h>

#include "app/win32/RRDialog.h"
#include "app/StartupRules.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A running instance is a dialog (class #32770) of that title: an Explorer window showing
    // a folder of the same name is not one.
    if (HWND running = FindWindowA("#32770", qm::kProgramTitle)) {
        ShowWindow(running, SW_SHOWNORMAL);
        UpdateWindow(running);
        return 0;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    qm::Win32Registry registry;
    qm::Win32FileSystem files;
    qm::Win32System system;
    qm::CRRDialog dialog(registry, files, system);
    dialog.DoModal(nullptr);
    return 0;
}
