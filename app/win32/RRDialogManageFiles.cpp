// The main window's Modify Selected Files command and the Manage Files result.
#include "app/win32/RRDialog.h"

#include <cstdio>
#include <cstdlib>

#include "pools/PoolRewrite.h"
#include "resources/resource.h"

namespace qm {

namespace {

// With QM_MANAGE_TIMING naming a file, each timed step appends its name and milliseconds
// to it: the figures of the Manage Files benchmark. Nothing is timed otherwise.
class StepTimer {
public:
    explicit StepTimer(const char* step) : m_step(step), m_file(std::getenv("QM_MANAGE_TIMING")) {
        if (m_file) QueryPerformanceCounter(&m_start);
    }
    ~StepTimer() {
        if (!m_file) return;
        LARGE_INTEGER end, frequency;
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        if (FILE* out = std::fopen(m_file, "a")) {
            std::fprintf(out, "%s %.1f\n", m_step, (end.QuadPart - m_start.QuadPart) * 1000.0 / frequency.QuadPart);
            std::fclose(out);
        }
    }

private:
    const char* m_step;
    const char* m_file;
    LARGE_INTEGER m_start = {};
};

}  // namespace

void CRRDialog::OnModifyFiles() {
    if (!PoolStateWritable()) return;
    StepTimer timer("modify-files");
    const std::vector<std::string>& schemes = m_eventSounds.Schemes();
    m_manageDlg.ResetForShow();
    m_manageDlg.SetSchemeNames(schemes);
    m_manageDlg.FillFromPools(m_pools, schemes);
    m_manageDlg.Show();
}

// Reads the dialog's result once: a second message for the same Make Changes, or one after
// Cancel, finds none and changes nothing.
LRESULT CRRDialog::OnManageResult() {
    if (!m_manageDlg.HasResult()) return 0;
    StepTimer timer("manage-result");
    const PoolChanges changes = m_manageDlg.TakeResult();
    if (!PoolStateWritable()) return 0;
    const RewriteResult result = m_store.ApplyChanges(changes);
    const std::string message = RewriteMessage(result.outcome);
    if (!message.empty()) ShowMessage(message);
    if (result.outcome == RewriteOutcome::rewritten || result.outcome == RewriteOutcome::countersFailed)
        ReloadPools();
    return 0;
}

}  // namespace qm
