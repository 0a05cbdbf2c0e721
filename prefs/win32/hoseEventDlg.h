#pragma once
// The Options dialog: start-up randomizing, the wallpaper and the sounds on a timed
// interval, and the interval. It edits a copy of the preference string that the caller
// sets before and reads after the dialog.
#include <string>

#include "ui/PaintedDialog.h"

namespace qm {

class COptionsDlg : public CPaintedDialog {
public:
    COptionsDlg();

    std::string m_strPrefs;        // the working copy
    std::string m_strPrefsBackup;  // as it was on opening; put back on cancel

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
};

}  // namespace qm
