#include "app/win32/RRDialog.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "app/HelpFile.h"
#include "platform/PathParts.h"
#include "app/win32/SchedulerThreads.h"
#include "app/win32/WindowMessages.h"
#include "app/StartupRules.h"
#include "pools/FileSearch.h"
#include "pools/PoolLoader.h"
#include "prefs/Schedule.h"
#include "resources/resource.h"
#include "ui/AboutDlg.h"

namespace qm {

namespace {

const char kTrayTip[] = "Quill Mere";
const char kVersionLine[] = "Quill Mere Version 2.01";
const UINT kTrayIconId = 128;

// Shows the wait cursor for the life of the object.
class WaitCursor {
public:
    WaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}
    ~WaitCursor() { SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};

// The message Explorer broadcasts when it has made a new task bar.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

NOTIFYICONDATAA TrayRecord(HWND window) {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = kTrayIconId;
    return record;
}

std::string ModulePath() {
    std::vector<char> buffer(32768);
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CRRDialog::CRRDialog(IRegistry& registry, IFileSystem& files, ISystem& system)
    : CPaintedDialog(IDD_MAIN), m_store(registry, files, system), m_registry(m_store.Registry()), m_files(files), m_system(system) {
    m_bReadClientOnErase = true;
    m_bShowOnModal = false;  // start-up shows the window, and the start-up run hides it again
}

CRRDialog::~CRRDialog() = default;

void CRRDialog::ShowMessage(const std::string& text) {
    ShowProgramMessage(text);
}

BOOL CRRDialog::OnInitDialog() {
    m_random.Seed(m_system.NowSeconds());
    RunInitialisationSequence();
    if (m_bFirstRun) OnChooseFiles();
    return FALSE;  // the focus was not set here
}

void CRRDialog::RunInitialisationSequence() {
    const StartDirectories dirs = BeginStartup(m_system);
    if (!dirs.windowsDir.ok) {
        ShowMessage(kWindowsDirFailedMessage);
        PostQuitMessage(0);  // takes effect once the modal loop runs
    }
    m_strWindowsDir = m_display.windowsDir = dirs.windowsDir.dir;
    if (!dirs.programDir.ok) ShowMessage(kProgramDirFailedMessage);
    m_strProgramDir = dirs.programDir.dir;
    m_runKind = ChooseRunKind(m_strProgramDir, m_strWindowsDir);
    ChooseStorage();

    m_pools.Reset(0);
    // The file chooser and the Manage Files window are created here, hidden.
    CreateChooser();
    m_manageDlg.Create(m_hWnd, UM_MANAGE_RESULT);
    InitBackground();
    InitEventList();
    m_bStartupRandomize = m_bFirstRun = m_bUnattended = m_bIntervalRandomize = 0;
    g_schedule.ClearFlags();
    RestoreFromTray();  // the window becomes visible here

    int loaded = LoadPreferences(m_registry, m_prefs);
    ApplyPreferenceDefaults(loaded, m_prefs);
    m_bStartupRandomize = StartupRandomizeOn(m_prefs.m_strPrefs);
    m_bIntervalRandomize = TimedRandomizationOn(m_prefs.m_strPrefs);
    m_bFirstRun = IsFirstStart(loaded, m_runKind);

    m_menu = LoadMenuA(m_hInstance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    AttachMenuKeepingClientSize();
    SetItemText(IDC_VERSION_LINE, kVersionLine);

    FillSchemeList();  // before the pools: each sound's scheme list is sized by it
    ReloadPools();

    SetPicture(IDC_EVENT_SOUNDS_GROUP, IDB_SOUND_SETTINGS);
    SetPicture(IDC_DISPLAY_GROUP, IDB_DISPLAY_SETTINGS);
    SetPicture(IDC_RANDOMIZE_SOUNDS, IDB_RANDOMIZE_SOUNDS);
    SetPicture(IDC_RANDOMIZE_DISPLAY, IDB_RANDOMIZE_DISPLAY);
    SetPicture(IDCANCEL, IDB_EXIT);
    SetPicture(IDOK, IDB_HIDE);
    ApplyDisplaySwitches();

    ShowInstalledFile(IDC_WALLPAPER_NAME, 1, kindWallpaper, m_store.Places().WallpaperCopy());
    ShowInstalledFile(IDC_SCREENSAVER_NAME, 0, kindScreenSaver, m_store.Places().ScreenSaverCopy());

    for (int id : {IDC_ACTIVATE_ALL, IDC_DEACTIVATE_ALL, IDC_RANDOMIZE_SCHEME}) EnableItem(id, false);

    m_hIcon = LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDI_PROGRAM));
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ChooseKindOfRun();
}

// Where this user's settings, counters and pools live is settled before anything is read.
// The notice about per-user places waits for an interactive start: a log-on start says nothing.
void CRRDialog::ChooseStorage() {
    const StorageChoice choice = m_store.ChoosePlaces(m_strWindowsDir);
    // The installed copies go where the pools go: the user's own folder when they are there.
    m_display.perUserFolder = m_store.Places().perUser ? m_store.Places().poolFolder : std::string();
    if (choice.tellUser && m_runKind == RunKind::Interactive) {
        ShowMessage(kPerUserNoticeMessage);
        RememberPerUserNotice(m_registry);
    }
}

// The template has no menu; attaching one afterwards would take its height from the client
// area and cut off the bottom row of buttons, so the window grows by the menu bar instead.
void CRRDialog::AttachMenuKeepingClientSize() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    SetMenu(m_hWnd, m_menu);
    RECT frame = client;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)), m_menu != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Which pool file is installed is known by its size alone; an installed copy that matches
// no pool entry turns its switch off (stored with the next save).
void CRRDialog::ShowInstalledFile(int nameControl, int switchPosition, EntryKind kind,
                                  const std::string& installedPath) {
    const bool on = switchPosition == 0 ? ScreenSaverSwitchOn(m_prefs.m_strDisplayFlags)
                                        : WallpaperSwitchOn(m_prefs.m_strDisplayFlags);
    if (!on) return;
    const std::string current = kind == kindWallpaper
                                    ? FindInstalledWallpaper(m_registry, m_files, m_pools, installedPath)
                                    : FindCurrentPoolFile(m_files, m_pools, kind, installedPath);
    if (current == "none") {
        SetDisplaySwitch(switchPosition, false);
        ApplyDisplaySwitches();
    } else {
        SetItemText(nameControl, FileNameOfPath(current));
    }
}

void CRRDialog::ChooseKindOfRun() {
    if (m_runKind == RunKind::Startup) {
        StartStartupSignal(m_hWnd, THREAD_PRIORITY_NORMAL);
        return;
    }
    // Wait for the next whole second of the clock, handling messages meanwhile.
    const std::int64_t until = m_system.NowSeconds() + 1;
    while (m_system.NowSeconds() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        if (!PumpOneMessage(m_hWnd)) return;  // the program is ending
    }
    if (m_bIntervalRandomize) StartIntervalOfPrefs();
}

void CRRDialog::ReloadPools() {
    PoolLoadResult result = m_store.Load(m_pools, static_cast<int>(m_eventSounds.Schemes().size()));
    if (result.fileUnreadable)
        ShowMessage(kPoolFileUnreadableMessage);
    else if (result.counterMismatch)
        ShowMessage(kCounterMismatchMessage);
}

// The pools lack the records of a pool file that could not be read; writing the file or the
// counters from them would make those records unreadable for good.
bool CRRDialog::PoolStateWritable() {
    if (!m_pools.m_bPoolFileUnreadable) return true;
    ShowMessage(kPoolFileUnreadableMessage);
    return false;
}

// The icon is the program's shared one: LoadIcon hands out the same handle every time and
// the system releases it, so it is never destroyed here (Windows would release a handle
// still in use; Wine forgives that).
int CRRDialog::AddTrayIcon() {
    NOTIFYICONDATAA record = TrayRecord(m_hWnd);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = UM_TRAY_ICON;
    record.hIcon = LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDI_PROGRAM));
    std::memcpy(record.szTip, kTrayTip, sizeof kTrayTip);
    return Shell_NotifyIconA(NIM_ADD, &record);
}

int CRRDialog::MinimizeToTray() {
    WaitCursor wait;
    const int added = AddTrayIcon();
    m_bInTray = 1;
    ShowWindow(m_hWnd, SW_HIDE);
    UpdateWindow(m_hWnd);
    return added;
}

void CRRDialog::RestoreFromTray() {
    WaitCursor wait;
    NOTIFYICONDATAA record = TrayRecord(m_hWnd);
    Shell_NotifyIconA(NIM_DELETE, &record);
    m_bInTray = 0;
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    UpdateWindow(m_hWnd);
}

void CRRDialog::SetDisplaySwitch(int position, bool on) {
    m_prefs.m_strDisplayFlags = WithDisplaySwitch(m_prefs.m_strDisplayFlags, position, on);
}

void CRRDialog::ApplyDisplaySwitches() {
    const struct { bool on; int box, name, button; } switches[] = {
        {ScreenSaverSwitchOn(m_prefs.m_strDisplayFlags), IDC_SCREENSAVER_ENABLED, IDC_SCREENSAVER_NAME,
         IDC_SCREENSAVER_BMP},
        {WallpaperSwitchOn(m_prefs.m_strDisplayFlags), IDC_WALLPAPER_ENABLED, IDC_WALLPAPER_NAME, IDC_WALLPAPER_BMP}};
    for (const auto& shown : switches) {
        CheckItem(shown.box, shown.on);
        EnableItem(shown.name, shown.on);
        SetPicture(shown.button, shown.on ? IDB_SWITCH_ON : IDB_SWITCH_OFF);
    }
}

void CRRDialog::OnOK() { MinimizeToTray(); }

void CRRDialog::OnCancel() { Exit(); }

void CRRDialog::Exit() {
    SavePreferences(m_registry, m_prefs);
    RestoreFromTray();
    PostQuitMessage(0);
}

bool CRRDialog::OnCommand(WORD id, WORD code, HWND) {
    switch (id) {
    case IDC_RANDOMIZE_SOUNDS:
    case ID_ACTIONS_RANDOMIZE_SOUNDS: RandomizeAllSchemes(); return true;
    case IDC_RANDOMIZE_DISPLAY:
    case ID_ACTIONS_RANDOMIZE_DISPLAY: RandomizeDisplaySettings(); return true;
    case IDC_SCREENSAVER_BMP: RandomizeScreenSaver(); return true;
    case IDC_WALLPAPER_BMP: RandomizeWallpaper(); return true;
    case IDC_WALLPAPER_ENABLED: ToggleWallpaperEnabled(); return true;
    case IDC_SCREENSAVER_ENABLED: ToggleScreenSaverEnabled(); return true;
    case IDC_SCHEME_COMBO:
        if (code == CBN_SELCHANGE) OnSchemeSelected();
        return true;
    case IDC_ACTIVATE_ALL: ActivateAllEvents(); return true;
    case IDC_DEACTIVATE_ALL: DeactivateAllEvents(); return true;
    case IDC_RANDOMIZE_SCHEME: RandomizeScheme(); return true;
    case ID_ACTIONS_ADD_FILES: OnChooseFiles(); return true;
    case ID_ACTIONS_MODIFY_FILES: OnModifyFiles(); return true;
    case ID_ACTIONS_EXIT: Exit(); return true;
    case ID_OPTIONS_SETTINGS: OnOptions(); return true;
    case ID_HELP_ABOUT:
    case IDC_ABOUT_COMMAND: OnAbout(); return true;
    case ID_HELP_CONTENTS: OnHelp(); return true;
    default: return false;
    }
}

INT_PTR CRRDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case UM_STARTUP_DELAY_ELAPSED: return OnStartupDelayElapsed();
    case UM_TRAY_ICON: return OnTrayIcon(wParam, lParam);
    case UM_CHOOSER_RESULT: return OnChooserResult();
    case UM_MANAGE_RESULT: return OnManageResult();
    case UM_STARTUP_RANDOMIZE: return OnStartupRandomize();
    case UM_INTERVAL_ELAPSED: return OnIntervalElapsed(wParam, lParam);
    case WM_SIZE:
        OnSize();
        handled = false;  // the default size handling runs as well
        return 0;
    case WM_PAINT: handled = OnPaint(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: return OnEndSession(wParam != 0);
    default:
        // Explorer started again (after a crash or an update) has an empty notification area.
        if (message == TaskbarCreatedMessage()) {
            if (m_bInTray) AddTrayIcon();
            return 0;
        }
        handled = false;
        return 0;
    }
}

LRESULT CRRDialog::OnTrayIcon(WPARAM wParam, LPARAM lParam) {
    if (lParam == WM_LBUTTONDOWN && wParam == kTrayIconId) RestoreFromTray();
    return 0;
}

void CRRDialog::OnSize() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (client.right - client.left == 0 || client.bottom - client.top == 0) MinimizeToTray();
}

bool CRRDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return true;
}

void CRRDialog::OnHelp() {
    HelpChoice help = ChooseHelpFile(ModulePath(), FileExists);
    if (help.kind == HelpChoice::winHelp) {
        WinHelpA(m_hWnd, help.path.c_str(), HELP_CONTENTS, 0);
    } else if (help.kind == HelpChoice::missing) {
        ShowMessage("Couldn't find the help file " + help.path + ".");
    } else if (reinterpret_cast<INT_PTR>(ShellExecuteA(m_hWnd, "open", help.path.c_str(), nullptr, nullptr,
                                                        SW_SHOWNORMAL)) <= 32) {
        ShowMessage("Couldn't open the help file " + help.path + ".");
    }
}

// The main window owns the box and stays disabled while it is open; an About command that
// was queued meanwhile finds it open and opens no second one.
void CRRDialog::OnAbout() {
    if (m_bAboutOpen) return;
    m_bAboutOpen = 1;
    CAboutDlg about;
    about.DoModal(m_hWnd);
    m_bAboutOpen = 0;
}

// The event list shares its image list (LVS_SHAREIMAGELISTS, set when it is given one), so
// the window releases it here, once; children are destroyed after this handler.
void CRRDialog::OnDestroy() {
    StopIntervalForEnding();
    m_pools.Release();
    CPaintedDialog::OnDestroy();
    if (m_eventImages) {
        ImageList_Destroy(m_eventImages);
        m_eventImages = nullptr;
    }
}

}  // namespace qm
