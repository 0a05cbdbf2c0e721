#pragma once
// The Options dialog: start-up randomizing, the wallpaper and the sounds on a timed
// interval, and the interval. It edits a copy of the preference string that the caller
// sets before and reads after the dialog, through the rules of COptionsChoices.
#include <string>

#include "prefs/OptionsRules.h"
#include "ui/PaintedDialog.h"

namespace qm {

class COptionsDlg : public CPaintedDialog {
public:
    COptionsDlg();

    std::string m_strPrefs;  // the working copy

private:
    COptionsChoices m_choices{std::string()};  // the rules, holding the copy and the string it opened on

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
};

}  // namespace qm
