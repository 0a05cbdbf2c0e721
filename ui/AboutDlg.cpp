#include "ui/AboutDlg.h"

#include "resources/resource.h"

namespace qm {

CAboutDlg::CAboutDlg() : CPaintedDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog() {
    InitBackground();
    SetPicture(IDOK, IDB_OK);
    return TRUE;
}

}  // namespace qm
