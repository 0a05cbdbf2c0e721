#include "chooser/win32/RequestName.h"

#include "resources/resource.h"

namespace qm {

CRequestName::CRequestName() : CDialogBase(IDD_REQUEST_NAME) {}

BOOL CRequestName::OnInitDialog() {
    EnableItem(IDOK, false);
    return TRUE;  // the edit, first in the tab order, takes the focus
}

void CRequestName::OnOK() {
    m_bCancelled = 0;
    EndModal(IDOK);
}

void CRequestName::OnCancel() {
    m_bCancelled = 1;
    EndModal(IDCANCEL);
}

bool CRequestName::OnCommand(WORD id, WORD code, HWND) {
    if (id != IDC_REQUEST_NAME_EDIT || code != EN_CHANGE) return false;
    m_strName = ItemText(IDC_REQUEST_NAME_EDIT);
    EnableItem(IDOK, !m_strName.empty());
    return true;
}

}  // namespace qm
