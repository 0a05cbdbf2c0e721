#pragma once
// The main window: owns the pools, the preference strings and the schedule flags for the
// whole run, shows the display and sound controls, and handles the menu, the notification
// icon and the messages of the worker threads and the other dialogs. The portable parts
// act on the window through adapters built with it, one per interface, each forwarding to it.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/win32/Win32Platform.h"
#include "pools/FileEntry.h"
#include "pools/PoolStore.h"
#include "pools/Pools.h"
#include "prefs/Preferences.h"
#include "prefs/ScheduleRules.h"
#include "randomize/EventSounds.h"
#include "randomize/DisplaySettings.h"
#include "randomize/Random.h"
#include "app/StartupRules.h"
#include "manage/win32/ManageFilesDlg.h"
#include "chooser/win32/RRSetupDlg.h"
#include "ui/PaintedDialog.h"

namespace qm {

class CRRDialog : public CPaintedDialog {
public:
    CRRDialog(IRegistry& registry, IFileSystem& files, ISystem& system);
    ~CRRDialog() override;

    // Adds the notification icon and hides the window; returns the result of adding the icon.
    int MinimizeToTray();
    int AddTrayIcon();
    // Removes the notification icon and shows the window in its normal state.
    void RestoreFromTray();
    // Brings the "Display Settings" controls in line with m_strDisplayFlags.
    void ApplyDisplaySwitches();
    // Rebuilds the pools from the pool file and the counters and says what went wrong.
    void ReloadPools();
    // False, after telling the user, when this run must not write the pool file or counters.
    bool PoolStateWritable();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnDestroy() override;

private:
    void RunInitialisationSequence();
    void ShowInstalledFile(int nameControl, int switchPosition, EntryKind kind, const std::string& installedPath);
    void AttachMenuKeepingClientSize();
    void ChooseKindOfRun();
    void ChooseStorage();
    void Exit();
    void ShowMessage(const std::string& text);
    void SetDisplaySwitch(int position, bool on);

    // Window messages.
    LRESULT OnTrayIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnStartupRandomize();
    LRESULT OnStartupDelayElapsed();
    LRESULT OnIntervalElapsed(WPARAM wParam, LPARAM lParam);
    LRESULT OnChooserResult();
    LRESULT OnManageResult();
    LRESULT OnQueryEndSession();
    LRESULT OnEndSession(bool ending);
    void OnSize();
    bool OnPaint();
    void OnHelp();
    void OnAbout();

    // Event list and schemes.
    void InitEventList();
    void FillSchemeList();
    void OnSchemeSelected();
    void ActivateAllEvents();
    void DeactivateAllEvents();
    // Randomizers.
    void RandomizeDisplaySettings();
    void RandomizeWallpaper();
    void RandomizeScreenSaver();
    void RandomizeAllSchemes();
    void RandomizeScheme();
    void ToggleWallpaperEnabled();
    void ToggleScreenSaverEnabled();
    // Pools and options.
    void OnChooseFiles();
    void CreateChooser();
    void OnModifyFiles();
    void OnOptions();
    // The interval of the preference string in force, with its thread started unless it is "none".
    void StartIntervalOfPrefs();
    // On destroy: no interval thread outlives the window.
    void StopIntervalForEnding();

    CPoolStore m_store;      // the pools' stored state, in the places chosen for this user
    IRegistry& m_registry;   // the store's registry: every registry access of the main window goes through it
    IFileSystem& m_files;
    ISystem& m_system;

    CPools m_pools;        // the three pools, for the whole run
    CPreferences m_prefs;  // the display switches and the preference string
    CRandom m_random;      // the run's one generator, seeded at initialisation
    Win32PictureDecoder m_pictures;  // pictures other than bitmaps, made on first use
    RunKind m_runKind = RunKind::Interactive;  // decided once, from the two directories

    std::string m_strWindowsDir;          // ends in a backslash
    std::string m_strProgramDir;          // working folder at launch plus a backslash
    std::string m_strChosenWallpaper;
    std::string m_strChosenScreenSaver;
    HICON m_hIcon = nullptr;
    HIMAGELIST m_eventImages = nullptr;
    int m_bFillingEventList = 0;
    int m_bFirstRun = 0;
    int m_bStartupRandomize = 0;
    int m_bIntervalRandomize = 0;
    int m_bUnattended = 0;
    HMENU m_menu = nullptr;
    int m_bAboutOpen = 0;  // the about box is open
    int m_bInTray = 0;     // the window is hidden and its icon is in the notification area

    // What every adapter below holds: the window it forwards to.
    template <typename Interface>
    class Adapter : public Interface {
    public:
        explicit Adapter(CRRDialog& dialog) : m_dialog(dialog) {}

    protected:
        CRRDialog& m_dialog;
    };

    // Event sounds: the schemes, the selected scheme's rows and the sound randomizer live in
    // m_eventSounds; the chooser 1002 and the list 1005 show them (RRDialogSounds.cpp).
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
    void FillEventList();
    void ReadEventRow(int row);
    void OnEventListItemChanged();
    std::vector<bool> EventListChecks() const;
    void ShowScheme(int index);
    void ShowRow(int row);
    class SoundsView : public Adapter<IEventSoundsView> {
    public:
        using Adapter::Adapter;
        void ShowScheme(int index) override { m_dialog.ShowScheme(index); }
        void ShowRow(int row) override { m_dialog.ShowRow(row); }
        void ShowMessage(const std::string& text) override { m_dialog.ShowMessage(text); }
    };
    SoundsView m_soundsView{*this};
    CEventSounds m_eventSounds{m_registry, m_soundsView};

    // ---- Display settings (RRDialogDisplay.cpp) ----
    // The name fields, switch controls and message box as the portable randomizers see them.
    class DisplayView : public Adapter<IDisplayView> {
    public:
        using Adapter::Adapter;
        std::string ShownName(DisplayItem item) override;
        void SetShownName(DisplayItem item, const std::string& name) override;
        void ApplySwitches() override { m_dialog.ApplyDisplaySwitches(); }
        void ShowMessage(const std::string& text) override { m_dialog.ShowMessage(text); }
    };
    DisplayView m_displayView{*this};
    // What the randomizers work on, for the whole run. The folders are filled in once the
    // initialisation has found them; the unattended flag is taken afresh for every operation.
    DisplayContext m_display{m_registry, m_files, m_system, m_random, m_pools, m_prefs.m_strDisplayFlags,
                             m_displayView, std::string(), false, kDesktopKey, std::string(), &m_pictures};
    void RunDisplayOperation(void (*operation)(DisplayContext&));

    // ---- Start-up run and timed randomization (RRDialogSchedule.cpp) ----
    class ScheduleHost : public Adapter<IScheduleHost> {
    public:
        using Adapter::Adapter;
        void MinimizeToTray() override { m_dialog.MinimizeToTray(); }
        void RestoreFromTray() override { m_dialog.RestoreFromTray(); }
        void SetUnattended(int on) override { m_dialog.m_bUnattended = on; }
        void RandomizeDisplaySettings() override { m_dialog.RandomizeDisplaySettings(); }
        void RandomizeWallpaper() override { m_dialog.RandomizeWallpaper(); }
        void RandomizeAllSchemes() override { m_dialog.RandomizeAllSchemes(); }
        void StartStartupDelay() override;
        void StartStartupSignal(ThreadPriority priority) override;
        bool StartIntervalThread(long long seconds, unsigned generation) override;
        void WaitForIntervalStop() override;
    };
    ScheduleHost m_scheduleHost{*this};
    CScheduler m_scheduler{g_schedule, m_scheduleHost};

    CManageFilesDlg m_manageDlg;  // created hidden at start-up, kept for the whole run
    std::unique_ptr<CRRSetupDlg> m_pChooser;  // the file chooser, hidden between showings
};

}  // namespace qm
