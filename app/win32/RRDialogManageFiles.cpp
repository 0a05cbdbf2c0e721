// The main window's Modify Selected Files command and the Manage Files result.
#include "app/win32/RRDialog.h"


namespace qm {

void CRRDialog::OnModifyFiles() {
    if (!PoolStateWritable()) return;
}
LRESULT CRRDialog::OnManageResult() { return 0; }

}  // namespace qm
