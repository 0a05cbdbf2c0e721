// The main window's Add Files command and the chooser's result.
#include "app/win32/RRDialog.h"

#include "app/win32/WindowMessages.h"
#include "pools/PoolAddition.h"
#include "resources/resource.h"

namespace qm {

void CRRDialog::CreateChooser() {
    m_pChooser = std::make_unique<CRRSetupDlg>(m_files, m_registry, m_system, m_strWindowsDir);
    if (!m_pChooser->Create(m_hWnd, UM_CHOOSER_RESULT)) m_pChooser.reset();
}

void CRRDialog::OnChooseFiles() {
    if (m_store.Full()) {
        ShowMessage(kPoolsAtMaximumMessage);
        return;
    }
    if (!PoolStateWritable() || !m_pChooser) return;
    if (m_pChooser->Browser().Path().empty()) m_pChooser->Browser().SetPath(m_strProgramDir);
    m_pChooser->Browser().SetPicturesListed(m_pictures.Available());
    m_pChooser->ResetForShow();
    m_pChooser->SetSchemeNames(m_eventSounds.Schemes());
    m_pChooser->Show();
}

LRESULT CRRDialog::OnChooserResult() {
    if (!m_pChooser || !PoolStateWritable()) return 0;
    AdditionOutcome outcome = m_store.Add(m_pools, m_pChooser->Result());
    for (const std::string& message : outcome.messages) ShowMessage(message);
    return 0;
}

}  // namespace qm
