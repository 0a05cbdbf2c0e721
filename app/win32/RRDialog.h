#pragma once
// The main window: owns the pools, the preference strings and the schedule flags for the
// whole run, shows the display and sound controls, and handles the menu, the notification
// icon and the messages of the worker threads and the other dialogs.
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
#include "randomize/EventSounds.h"
#include "randomize/DisplaySettings.h"
#include "randomize/Random.h"
#include "app/StartupRules.h"
#include "manage/win32/ManageFilesDlg.h"
#include "chooser/win32/RRSetupDlg.h"
#include "ui/PaintedDialog.h"

namespace qm {

class CRRDialog : public CPaintedDialog, private IEventSoundsView {
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
    int SchemeCount() const;
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
    // The scheme box's texts in its order, for the chooser and Manage Files.
    std::vector<std::string> SchemeNames() const;
    void OnModifyFiles();
    void OnOptions();
    // The interval of the preference string in force, with its thread started unless it is "none".
    void StartIntervalOfPrefs();
    // On destroy: no interval thread outlives the window.
    void StopIntervalForEnding();
    friend class CRRDialogScheduleHost;  // the schedule's actions on this window

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

    // Event sounds: the schemes, the selected scheme's rows and the sound randomizer live in
    // m_eventSounds; the chooser 1002 and the list 1005 show them (RRDialogSounds.cpp).
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
    void FillEventList();
    void ReadEventRow(int row);
    void OnEventListItemChanged();
    std::vector<bool> EventListChecks() const;
    void ShowScheme(int index) override;
    void ShowRow(int row) override;  // ShowMessage above serves the model as well
    CEventSounds m_eventSounds{m_registry, *this};
    // ---- Display settings (RRDialogDisplay.cpp) ----
    // The name fields, switch controls and message box as the portable randomizers see them.
    class DisplayView : public IDisplayView {
    public:
        explicit DisplayView(CRRDialog& dialog) : m_dialog(dialog) {}
        std::string ShownName(DisplayItem item) override;
        bool NameEnabled(DisplayItem item) override;
        void SetShownName(DisplayItem item, const std::string& name) override;
        void ApplySwitches() override;
        void ShowMessage(const std::string& text) override;

    private:
        CRRDialog& m_dialog;
    };
    DisplayView m_displayView{*this};
    // Runs a randomizer's operation on the window as it stands now (the unattended flag included).
    void RunDisplayOperation(void (*operation)(DisplayContext&));
    CManageFilesDlg m_manageDlg;  // created hidden at start-up, kept for the whole run
    std::unique_ptr<CRRSetupDlg> m_pChooser;  // the file chooser, hidden between showings
};

}  // namespace qm
