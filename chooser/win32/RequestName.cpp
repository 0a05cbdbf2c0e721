#include "chooser/win32/RequestName.h"

#include <vector>

#include "resources/resource.h"

namespace qm {

CRequestName::CRequestName() : CDialogBase(IDD_REQUEST_NAME) {}

BOOL CRequestName::OnInitDialog() {
    EnableWindow(Item(IDOK), FALSE);
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

bool CRequestName::OnCommand(WORD id, WORD code, HWND control) {
    if (id != IDC_REQUEST_NAME_EDIT || code != EN_CHANGE) return false;
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    m_strName = text.data();
    EnableWindow(Item(IDOK), !m_strName.empty());
    return true;
}

}  // namespace qm
