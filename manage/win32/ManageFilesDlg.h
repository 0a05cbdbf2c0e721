#pragma once
// "Manage Files": the modeless dialog in which the user reviews the three pools, removes
// entries, switches wallpapers between centred and tiled, and changes the schemes of sounds.
// One instance lives for the whole run; it edits working copies only. "Make Changes" posts
// the result message to the window given at creation and keeps the result until it is
// taken or the dialog is shown again.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "manage/ManageLists.h"
#include "pools/Pools.h"
#include "ui/ResultDialog.h"

namespace qm {

class CManageFilesDlg : public CResultDialog {
public:
    CManageFilesDlg();

    // Empties the lists and working copies and disables the wallpaper and sound options.
    void ResetForShow();
    // The scheme list's items, unticked.
    void SetSchemeNames(const std::vector<std::string>& names);
    // Lists every pool entry (sounds up to the last slot) and takes each entry's tile flag
    // or scheme names to its sorted position. `schemeNames` is the scheme list it shows.
    void FillFromPools(const CPools& pools, const std::vector<std::string>& schemeNames);

    // Whether "Make Changes" left a result that nobody has taken yet.
    bool HasResult() const { return m_bHasResult; }
    // The result, released from the dialog: a second call finds none.
    PoolChanges TakeResult();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
    void OnDestroy() override;

private:
    void OnSoundSelChange();
    void OnWallpaperSelChange();
    void OnSchemeItemChanged();
    void OnCenterOrTile(bool tiled);
    void OnRemove();
    void EnableSoundOptions(bool enable);
    void EnableWallpaperOptions(bool enable);
    std::vector<int> Selected(int listId) const;
    void AddAll(int listId, const std::vector<std::string>& paths, std::size_t limit);

    int m_bFilling = 0;                 // the dialog itself is changing ticks of the scheme list
    bool m_bHasResult = false;
    CManageLists m_lists;               // the lists with m_tileFlags and m_schemeLists, by position
    HIMAGELIST m_imageList = nullptr;   // owned by the scheme list once given to it
};

}  // namespace qm
