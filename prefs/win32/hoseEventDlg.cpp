#include "prefs/win32/hoseEventDlg.h"

#include "prefs/OptionsRules.h"
#include "prefs/Preferences.h"
#include "resources/resource.h"
#include "ui/Controls.h"

namespace qm {

namespace {
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
        CheckItem(kBoxes[flag], m_choices.BoxTicked(flag));
    const CComboBox chooser(Item(IDC_OPTIONS_INTERVAL));
    for (const IntervalEntry& entry : kIntervalTable) chooser.Add(entry.chooserText);
    chooser.Select(m_choices.SelectedInterval());
    return TRUE;  // the focus was not set here
}

bool COptionsDlg::OnCommand(WORD id, WORD code, HWND) {
    for (int flag = 0; flag < 3; ++flag) {
        if (id != kBoxes[flag] || code != BN_CLICKED) continue;
        m_choices.BoxClicked(flag, ItemChecked(id));
        m_strPrefs = m_choices.Prefs();
        return true;
    }
    return false;
}

void COptionsDlg::OnOK() {
    if (!m_choices.Confirm(CComboBox(Item(IDC_OPTIONS_INTERVAL)).Selection())) {
        ShowProgramMessage(kSelectIntervalMessage);
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
