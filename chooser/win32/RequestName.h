#pragma once
// The small modal prompt that asks for a folder's or file's new name. OK stays disabled
// while the name is empty; the name is taken exactly as typed.
#include <string>

#include "ui/DialogBase.h"

namespace qm {

class CRequestName : public CDialogBase {
public:
    CRequestName();

    int m_bCancelled = 1;  // 0 once closed with OK
    std::string m_strName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
};

}  // namespace qm
