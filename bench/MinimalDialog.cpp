// The smallest dialog program: one modal dialog from a template built in memory, no work.
// The idle measurement runs it beside Quill Mere under the same Wine, so that what Wine
// itself costs can be told from what the program adds.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // DLGTEMPLATE, then empty menu and class, the title, and no controls.
    alignas(4) WORD words[32] = {};
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(words);
    dialogTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialogTemplate->cx = 120;
    dialogTemplate->cy = 60;
    WORD* tail = reinterpret_cast<WORD*>(dialogTemplate + 1);
    *tail++ = 0;  // no menu
    *tail++ = 0;  // the standard dialog class
    for (const char* title = "Minimal"; *title; ++title) *tail++ = static_cast<WORD>(*title);
    *tail++ = 0;
    return static_cast<int>(DialogBoxIndirectParamA(instance, dialogTemplate, nullptr, DialogProc, 0));
}
