#pragma once
// The file chooser "Choose Files to Randomize From": a modeless dialog, created hidden at
// start-up and kept for the whole run, that shows the state of its browser and hands the
// user's choice to the main window with the message it was created with.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "chooser/ChooserBrowser.h"
#include "chooser/ChooserRules.h"
#include "pools/PoolAddition.h"
#include "ui/ResultDialog.h"

namespace qm {

class CRRSetupDlg : public CResultDialog {
public:
    CRRSetupDlg(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir);
    ~CRRSetupDlg() override;

    CChooserBrowser& Browser() { return m_browser; }

    // Before every showing: no previous folder, no result, an empty and disabled scheme
    // list, the option groups disabled, the drive box rebuilt and the folder listed.
    void ResetForShow();
    void SetSchemeNames(const std::vector<std::string>& names);

    void RefreshLists();
    void FillDriveCombo();
    void UpdateOptionControls();

    // The last confirmed choice, unchanged until the next ResetForShow.
    const ChosenFiles& Result() const { return m_result; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;

private:
    std::string FocusedText(int listId) const;
    void EnableOptions(bool sound, bool wallpaper);
    void RenameFocused(int listId);
    void OnNewFolder();

    CChooserBrowser m_browser;
    HIMAGELIST m_imageList = nullptr;
    ChosenFiles m_result;
};

}  // namespace qm
