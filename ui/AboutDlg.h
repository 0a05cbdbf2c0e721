#pragma once
// The about box: the product, its version and the maker's notice over the texture.
#include "ui/PaintedDialog.h"

namespace qm {

class CAboutDlg : public CPaintedDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};

}  // namespace qm
