#include "ui/AboutDlg.h"

#include "resources/resource.h"

namespace qm {

CAboutDlg::CAboutDlg() : CPaintedDialog(IDD_ABOUT) {}

CAboutDlg::~CAboutDlg() {
    if (m_bmpClose) DeleteObject(m_bmpClose);
}

BOOL CAboutDlg::OnInitDialog() {
    InitBackground();
    SetPicture(IDOK, IDB_OK, m_bmpClose);
    return TRUE;
}

INT_PTR CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    INT_PTR result = 0;
    handled = HandlePaintingMessage(message, wParam, lParam, result);
    return result;
}

void CAboutDlg::OnDestroy() { ReleaseBackground(); }

}  // namespace qm
