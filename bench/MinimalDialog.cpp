// The least a dialog program does at start: one modal dialog from a template in memory.
// The start-up benchmark starts it beside QuillMere.exe to see what Wine itself costs.
#include <windows.h>

#include <cstring>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // DLGTEMPLATE, then no menu, the default class and the title, all as 16-bit words.
    alignas(4) WORD words[64] = {};
    auto* tmpl = reinterpret_cast<DLGTEMPLATE*>(words);
    tmpl->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    tmpl->cx = 160;
    tmpl->cy = 60;
    WORD* p = reinterpret_cast<WORD*>(tmpl + 1);
    *p++ = 0;  // no menu
    *p++ = 0;  // the dialog class
    for (const char* c = "Minimal Dialog"; *c; ++c) *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    DialogBoxIndirectParamA(instance, tmpl, nullptr, DialogProc, 0);
    return 0;
}
