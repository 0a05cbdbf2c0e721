// The main window's start-up run, timed randomization and the Options command.
#include "app/win32/RRDialog.h"

#include "app/win32/SchedulerThreads.h"
#include "prefs/Schedule.h"

namespace qm {

LRESULT CRRDialog::OnStartupRandomize() {
    MinimizeToTray();
    int noSoundWait = 0;
    if (m_bStartupRandomize) {
        m_bUnattended = 1;
        RandomizeDisplaySettings();
        m_bUnattended = 0;
        if (m_pools.m_nSoundFiles > 0)
            StartStartupDelay(m_hWnd);
        else
            noSoundWait = 1;
    }
    bool intervalRuns = false;
    if (m_bIntervalRandomize) {
        g_schedule.strInterval = IntervalCodeFromPrefs(m_prefs.m_strPrefs);
        intervalRuns = g_schedule.strInterval != kNoInterval;
    }
    if (intervalRuns) {
        StartIntervalThread(m_hWnd);
        return 0;
    }
    g_schedule.bQuitAfterStartup = 1;
    if (!m_bStartupRandomize || noSoundWait) {
        RestoreFromTray();
        StartStartupSignal(m_hWnd, THREAD_PRIORITY_LOWEST);
    }
    return 0;
}

LRESULT CRRDialog::OnStartupDelayElapsed() {
    RandomizeAllSchemes();
    if (g_schedule.bQuitAfterStartup) {
        RestoreFromTray();
        StartStartupSignal(m_hWnd, THREAD_PRIORITY_NORMAL);
    }
    return 0;
}

LRESULT CRRDialog::OnIntervalElapsed(WPARAM wParam) {
    if (wParam == 1) {
        g_schedule.bStopAck = 1;
        return 0;
    }
    m_bUnattended = 1;
    if (WallpaperOnInterval(m_prefs.m_strPrefs)) RandomizeWallpaper();  // never the screen saver
    if (SoundsOnInterval(m_prefs.m_strPrefs)) RandomizeAllSchemes();
    m_bUnattended = 0;
    StartIntervalThread(m_hWnd);
    return 0;
}

void CRRDialog::OnOptions() {}

}  // namespace qm
