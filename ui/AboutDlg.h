#pragma once
// The about box: the product, its version and the maker's notice over the texture.
#include "ui/PaintedDialog.h"

namespace qm {

class CAboutDlg : public CPaintedDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    BOOL OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnDestroy() override;
};

}  // namespace qm
