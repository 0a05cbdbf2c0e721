#include "prefs/win32/hoseEventDlg.h"

#include "prefs/OptionsRules.h"
#include "prefs/Preferences.h"
#include "resources/resource.h"

namespace qm {

namespace {
const char kMessageTitle[] = "Quill Mere";
const int kBoxes[3] = {IDC_OPTIONS_STARTUP, IDC_OPTIONS_WALLPAPER, IDC_OPTIONS_SOUNDS};
}  // namespace

COptionsDlg::COptionsDlg() : CPaintedDialog(IDD_OPTIONS) {}

BOOL COptionsDlg::OnInitDialog() {
    InitBackground();
    SetPicture(IDOK, IDB_OK);
    SetPicture(IDCANCEL, IDB_CANCEL);
    SetPicture(IDC_OPTIONS_GROUP, IDB_SETTINGS);
    m_choices = COptionsChoices(m_strPrefs);
    for (int flag = 0; flag < 3; ++flag)
        CheckDlgButton(m_hWnd, kBoxes[flag], m_choices.BoxTicked(flag) ? BST_CHECKED : BST_UNCHECKED);
    HWND chooser = Item(IDC_OPTIONS_INTERVAL);
    for (const IntervalEntry& entry : kIntervalTable)
        SendMessageA(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.chooserText));
    SendMessageA(chooser, CB_SETCURSEL, static_cast<WPARAM>(m_choices.SelectedInterval()), 0);
    return TRUE;  // the focus was not set here
}

bool COptionsDlg::OnCommand(WORD id, WORD code, HWND) {
    for (int flag = 0; flag < 3; ++flag) {
        if (id != kBoxes[flag] || code != BN_CLICKED) continue;
        m_choices.BoxClicked(flag, IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED);
        m_strPrefs = m_choices.Prefs();
        return true;
    }
    return false;
}

void COptionsDlg::OnOK() {
    const int sel = static_cast<int>(SendMessageA(Item(IDC_OPTIONS_INTERVAL), CB_GETCURSEL, 0, 0));
    if (!m_choices.Confirm(sel < 0 ? -1 : sel)) {
        MessageBoxA(m_hWnd, kSelectIntervalMessage, kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_strPrefs = m_choices.Prefs();
    EndModal(IDOK);
}

void COptionsDlg::OnCancel() {
    m_choices.Cancel();
    m_strPrefs = m_choices.Prefs();
    EndModal(IDCANCEL);
}

}  // namespace qm
