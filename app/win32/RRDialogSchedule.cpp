// The main window's start-up run, timed randomization and the Options command. The rules
// live in CScheduler; this file gives it the window's actions and the threads.
#include "app/win32/RRDialog.h"

#include "app/win32/SchedulerThreads.h"
#include "prefs/Schedule.h"
#include "prefs/ScheduleRules.h"
#include "prefs/win32/hoseEventDlg.h"

namespace qm {

void CRRDialog::ScheduleHost::StartStartupDelay() { qm::StartStartupDelay(m_dialog.m_hWnd); }

void CRRDialog::ScheduleHost::StartStartupSignal(ThreadPriority priority) {
    qm::StartStartupSignal(m_dialog.m_hWnd,
                           priority == ThreadPriority::Normal ? THREAD_PRIORITY_NORMAL : THREAD_PRIORITY_LOWEST);
}

bool CRRDialog::ScheduleHost::StartIntervalThread(long long seconds, unsigned generation) {
    return qm::StartIntervalThread(m_dialog.m_hWnd, seconds, generation);
}

void CRRDialog::ScheduleHost::WaitForIntervalStop() { qm::WaitForIntervalStop(m_dialog.m_hWnd); }

LRESULT CRRDialog::OnStartupRandomize() {
    m_scheduler.OnStartupRandomize(m_bStartupRandomize, m_bIntervalRandomize, m_pools.m_nSoundFiles,
                                   m_prefs.m_strPrefs);
    return 0;
}

LRESULT CRRDialog::OnStartupDelayElapsed() {
    m_scheduler.OnStartupDelayElapsed();
    return 0;
}

LRESULT CRRDialog::OnIntervalElapsed(WPARAM wParam, LPARAM lParam) {
    m_scheduler.OnIntervalElapsed(wParam, static_cast<std::uintptr_t>(lParam), m_prefs.m_strPrefs);
    return 0;
}

// Log-off and shutdown: once Windows may end the session no scheduled randomization starts,
// and at its end the run's choices are saved as Exit saves them; a cancelled end carries on.
LRESULT CRRDialog::OnQueryEndSession() {
    m_scheduler.OnQueryEndSession();
    return TRUE;  // the session may end
}

LRESULT CRRDialog::OnEndSession(bool ending) {
    if (ending) SavePreferences(m_registry, m_prefs);
    m_scheduler.OnEndSession(ending);
    return 0;
}

void CRRDialog::StartIntervalOfPrefs() {
    m_scheduler.StartInterval(IntervalCodeFromPrefs(m_prefs.m_strPrefs));
}

void CRRDialog::StopIntervalForEnding() {
    m_scheduler.StopInterval(true);
}

// The "&Settings" command: the dialog edits a copy of the preference string; a changed
// string confirmed with OK is stored and the interval restarts from zero (or stops). A quit
// that ends the dialog (the start-up run ending, say) ends the run: the half-edited copy is
// neither stored nor acted on.
void CRRDialog::OnOptions() {
    const std::string old = m_prefs.m_strPrefs;
    {
        COptionsDlg options;
        options.m_strPrefs = old;
        if (options.DoModal(m_hWnd) != IDOK) return;
        m_prefs.m_strPrefs = options.m_strPrefs;
    }
    if (m_prefs.m_strPrefs == old) return;
    SavePreferences(m_registry, m_prefs);
    m_scheduler.OnOptionsChanged(m_prefs.m_strPrefs, m_bIntervalRandomize);
}

}  // namespace qm
