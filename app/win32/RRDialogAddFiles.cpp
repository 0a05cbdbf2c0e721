// The main window's Add Files command and the chooser's result.
#include "app/win32/RRDialog.h"


namespace qm {

void CRRDialog::OnChooseFiles() {
    if (!PoolStateWritable()) return;
}
LRESULT CRRDialog::OnChooserResult() { return 0; }

}  // namespace qm
