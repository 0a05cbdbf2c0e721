#include "ui/AboutDlg.h"

#include "resources/resource.h"

namespace qm {

CAboutDlg::CAboutDlg() : CPaintedDialog(IDD_ABOUT) {}

CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog() {
    InitBackground();
    SetPicture(IDOK, IDB_OK);
    return TRUE;
}

INT_PTR CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    INT_PTR result = 0;
    handled = HandlePaintingMessage(message, wParam, lParam, result);
    return result;
}

void CAboutDlg::OnDestroy() { ReleaseBackground(); }

}  // namespace qm
