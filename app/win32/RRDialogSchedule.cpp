// The main window's start-up run, timed randomization and the Options command. The rules
// live in CScheduler; this file gives it the window's actions and the threads.
#include "app/win32/RRDialog.h"

#include "app/win32/SchedulerThreads.h"
#include "prefs/Schedule.h"
#include "prefs/ScheduleRules.h"
#include "prefs/win32/hoseEventDlg.h"

namespace qm {

class CRRDialogScheduleHost : public IScheduleHost {
public:
    explicit CRRDialogScheduleHost(CRRDialog& dialog) : m_dialog(dialog) {}

    void MinimizeToTray() override { m_dialog.MinimizeToTray(); }
    void RestoreFromTray() override { m_dialog.RestoreFromTray(); }
    void SetUnattended(int on) override { m_dialog.m_bUnattended = on; }
    void RandomizeDisplaySettings() override { m_dialog.RandomizeDisplaySettings(); }
    void RandomizeWallpaper() override { m_dialog.RandomizeWallpaper(); }
    void RandomizeAllSchemes() override { m_dialog.RandomizeAllSchemes(); }
    void StartStartupDelay() override { qm::StartStartupDelay(m_dialog.m_hWnd); }
    void StartStartupSignal(ThreadPriority priority) override {
        qm::StartStartupSignal(m_dialog.m_hWnd,
                               priority == ThreadPriority::Normal ? THREAD_PRIORITY_NORMAL : THREAD_PRIORITY_LOWEST);
    }
    bool StartIntervalThread(long long seconds, unsigned generation) override {
        return qm::StartIntervalThread(m_dialog.m_hWnd, seconds, generation);
    }
    void WaitForIntervalStop() override { qm::WaitForIntervalStop(m_dialog.m_hWnd); }

private:
    CRRDialog& m_dialog;
};

LRESULT CRRDialog::OnStartupRandomize() {
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host)
        .OnStartupRandomize(m_bStartupRandomize, m_bIntervalRandomize, m_pools.m_nSoundFiles, m_prefs.m_strPrefs);
    return 0;
}

LRESULT CRRDialog::OnStartupDelayElapsed() {
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).OnStartupDelayElapsed();
    return 0;
}

LRESULT CRRDialog::OnIntervalElapsed(WPARAM wParam, LPARAM lParam) {
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).OnIntervalElapsed(wParam, static_cast<std::uintptr_t>(lParam), m_prefs.m_strPrefs);
    return 0;
}

// Log-off and shutdown: once Windows may end the session no scheduled randomization starts,
// and at its end the run's choices are saved as Exit saves them; a cancelled end carries on.
LRESULT CRRDialog::OnQueryEndSession() {
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).OnQueryEndSession();
    return TRUE;  // the session may end
}

LRESULT CRRDialog::OnEndSession(bool ending) {
    if (ending) SavePreferences(m_registry, m_prefs);
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).OnEndSession(ending);
    return 0;
}

void CRRDialog::StartIntervalOfPrefs() {
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).StartInterval(IntervalCodeFromPrefs(m_prefs.m_strPrefs));
}

void CRRDialog::StopIntervalForEnding() {
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).StopInterval(true);
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
    CRRDialogScheduleHost host(*this);
    CScheduler(g_schedule, host).OnOptionsChanged(m_prefs.m_strPrefs, m_bIntervalRandomize);
}

}  // namespace qm
