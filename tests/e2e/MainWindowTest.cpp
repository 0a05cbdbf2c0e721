// The main window of the real program: its template, menu, notification icon, display
// switches and about box.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "e2e/DialogTemplate.h"
#include "e2e/ProgramDriver.h"
#include "app/win32/WindowMessages.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

// The main window's controls: id, kind, caption and place in dialog units.
const std::vector<ExpectedControl> kMainControls = {
    {1, "Button", "OK", 25, 235, 60, 14},
    {2, "Button", "Cancel", 145, 235, 60, 14},
    {1056, "Button", "Event Sounds", 5, 95, 215, 135},
    {1057, "Button", "Display Settings", 5, 35, 215, 50},
    {1019, "Button", "Randomize All Sound Schemes", 110, 15, 110, 15},
    {-1, "Static", "Screen Saver", 10, 50, 45, 10},
    {1013, "Edit", "", 10, 60, 80, 10},
    {-1, "Static", "Wallpaper", 120, 50, 35, 8},
    {1015, "Edit", "", 120, 60, 80, 10},
    {1022, "Button", "BMP", 90, 50, 15, 20},
    {1024, "Button", "BMP", 200, 50, 15, 20},
    {1025, "Button", "Randomize Display Settings", 5, 15, 105, 15},
    {1063, "Button", "Enabled", 120, 70, 90, 10},
    {1065, "Button", "Enabled", 10, 70, 95, 10},
    {-1, "Static", "Choose a Scheme", 10, 109, 65, 10},
    {1002, "ComboBox", "", 85, 110, 130, 60},
    {1003, "Static", "Scheme Sounds", 10, 140, 60, 8},
    {1004, "Static", "Please select sounds you want to randomize", 10, 125, 205, 13},
    {1005, "SysListView32", "", 10, 150, 205, 65},
    {1023, "Button", "Deactivate All", 150, 140, 65, 10},
    {1026, "Button", "Activate All", 85, 140, 65, 10},
    {1027, "Button", "Randomize this Sound Scheme Now", 10, 215, 205, 10},
    {1028, "Static", "", 5, 5, 215, 10},
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    }
    void TearDown() override { ResetProgramState(); }
    HWND StartProgram() {
        if (!program.Start(ScratchFolder())) return nullptr;
        return program.WaitForInitialisedWindow();
    }
    void Exit(HWND window) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    ProgramDriver program;
};

bool Visible(HWND window) { return IsWindowVisible(window) != 0; }

}  // namespace

TEST(MainWindowTemplate, HoldsEveryControlInItsPlace) {
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(g_programPath, 130, dialog));
    EXPECT_EQ(dialog.title, "Quill Mere V2.01");
    EXPECT_EQ(dialog.cx, 227);
    EXPECT_EQ(dialog.cy, 258);
    EXPECT_EQ(dialog.font, "Arial");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), DWORD(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(dialog.style & WS_VISIBLE) << "start-up shows the window itself";
    ExpectControls(dialog, kMainControls);
    auto styleOf = [&](int id) {
        for (const auto& item : dialog.items)
            if (item.id == id) return item.style;
        return DWORD(0);
    };
    EXPECT_EQ(styleOf(1) & 0xF, DWORD(BS_DEFPUSHBUTTON));
    EXPECT_EQ(styleOf(1063) & 0xF, DWORD(BS_AUTOCHECKBOX));
    EXPECT_EQ(styleOf(1065) & 0xF, DWORD(BS_AUTOCHECKBOX));
    EXPECT_EQ(styleOf(1056) & 0xF, DWORD(BS_GROUPBOX));
    EXPECT_EQ(styleOf(1002) & (CBS_DROPDOWN | CBS_SORT | WS_VSCROLL), DWORD(CBS_DROPDOWN | CBS_SORT | WS_VSCROLL));
    EXPECT_EQ(styleOf(1005) & (LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING),
              DWORD(LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING));
    EXPECT_EQ(styleOf(1004) & (SS_CENTER | WS_BORDER), DWORD(SS_CENTER | WS_BORDER));
    EXPECT_EQ(styleOf(1028) & (SS_CENTER | WS_BORDER), DWORD(SS_CENTER | WS_BORDER));
}

TEST(MainWindowTemplate, MenuHoldsEveryItem) {
    std::vector<MenuItem> items;
    ASSERT_TRUE(LoadMenuItems(g_programPath, 132, items));
    const std::vector<std::tuple<std::string, UINT, std::string>> expected = {
        {"&Actions", 32774, "&Add Files to be Randomized From"},
        {"&Actions", 32777, "&Modify Selected Files"},
        {"&Actions", 0, ""},
        {"&Actions", 32775, "Randomize &Display Now"},
        {"&Actions", 32776, "Randomize &Sounds Now"},
        {"&Actions", 0, ""},
        {"&Actions", 32779, "E&xit"},
        {"&Options", 32771, "&Settings"},
        {"&Help", 32772, "&About Quill Mere 2.01"},
        {"&Help", 32780, "Quill Mere &Help"},
    };
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].popup, std::get<0>(expected[i]));
        EXPECT_EQ(items[i].id, std::get<1>(expected[i]));
        EXPECT_EQ(items[i].text, std::get<2>(expected[i]));
    }
}

TEST_F(MainWindow, ShowsEveryControlWithTheVersionLineAndAMenu) {
    HWND window = StartProgram();
    ASSERT_TRUE(window);
    for (const auto& expected : kMainControls) {
        if (expected.id == -1 || expected.id == IDC_VERSION_LINE) continue;
        SCOPED_TRACE(expected.id);
        HWND control = GetDlgItem(window, expected.id);
        ASSERT_TRUE(control);
        EXPECT_EQ(ClassOf(control), expected.className);
        if (expected.id != IDC_SCHEME_COMBO) {
            EXPECT_EQ(TextOf(control), expected.text);
        }
    }
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_VERSION_LINE)), "Quill Mere Version 2.01");
    EXPECT_TRUE(GetMenu(window) != nullptr);
    // The window releases the event list's image list itself: the list must not release it too.
    EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(window, IDC_EVENT_LIST), GWL_STYLE) & LVS_SHAREIMAGELISTS);
    // Scheme buttons wait for a scheme; the name fields follow the (off) switches.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_ACTIVATE_ALL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_DEACTIVATE_ALL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_RANDOMIZE_SCHEME)));
    // The bottom buttons lie inside the client area although the menu was added later.
    RECT client, button;
    GetClientRect(window, &client);
    GetWindowRect(GetDlgItem(window, 2), &button);
    POINT bottomRight = {button.right, button.bottom};
    ScreenToClient(window, &bottomRight);
    EXPECT_LE(bottomRight.y, client.bottom);
    Exit(window);
}

TEST_F(MainWindow, HidesToTheNotificationAreaAndComesBackOnALeftClick) {
    HWND window = StartProgram();
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitUntil([&] { return Visible(window); }, 5000));

    SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);  // at once: a hide during start-up must hold
    ASSERT_TRUE(WaitUntil([&] { return !Visible(window); }, 5000)) << "OK hides the window";
    EXPECT_FALSE(program.WaitForExit(500)) << "OK does not close the program";

    EXPECT_FALSE(WaitUntil([&] { return Visible(window); }, 1500)) << "hidden stays hidden";
    for (auto [id, mouse] :
         {std::pair{kTrayIconId, WM_RBUTTONDOWN}, {kTrayIconId, WM_LBUTTONDBLCLK}, {kTrayIconId - 1, WM_LBUTTONDOWN}}) {
        PostMessageA(window, UM_TRAY_ICON, id, mouse);
        EXPECT_FALSE(WaitUntil([&] { return Visible(window); }, 1000))
            << "only a left press on the program's icon restores, not " << id << "/" << mouse;
    }

    PostMessageA(window, UM_TRAY_ICON, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return Visible(window); }, 5000));

    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);  // Enter is the default button
    ASSERT_TRUE(WaitUntil([&] { return !Visible(window); }, 5000)) << "Enter hides the window";
    PostMessageA(window, UM_TRAY_ICON, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return Visible(window); }, 5000));

    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(window); }, 5000)) << "minimizing hides the window";
    PostMessageA(window, UM_TRAY_ICON, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return Visible(window) && !IsIconic(window); }, 5000))
        << "the window comes back restored from the minimized state";
    Exit(window);
}

// Explorer started again has an empty notification area and tells every top-level window
// with the "TaskbarCreated" message; a program in the notification area adds its icon again.
TEST_F(MainWindow, TheIconComesBackWhenExplorerStartsAgain) {
    HWND window = StartProgram();
    ASSERT_TRUE(window);
    SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(window); }, 5000));
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon)) << "hidden, the program shows its icon";
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));  // what the end of Explorer leaves
    ASSERT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon)) << "the icon is gone";

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon)) << "the icon was not added again";
    EXPECT_FALSE(Visible(window)) << "the window stays in the notification area";
    Exit(window);
}

int CountAboutBoxes() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM counter) {
            if (TextOf(window) == "About Quill Mere") ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(MainWindow, AboutOpensOneModalAboutBoxOwnedByTheMainWindow) {
    HWND window = StartProgram();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, ID_HELP_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = FindWindowA(nullptr, "About Quill Mere")) != nullptr; }, 5000));
    HWND close = GetDlgItem(about, IDOK);
    ASSERT_TRUE(close);
    EXPECT_EQ(TextOf(close), "Close");
    EXPECT_EQ(GetWindowLongPtrA(close, GWLP_USERDATA), IDB_OK) << "the Close button shows picture 144";
    EXPECT_TRUE(GetDlgItem(about, IDC_ABOUT_ICON));
    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window)) << "the main window waits for the box";
    // A second About command queued while the box is open opens no second box.
    PostMessageA(window, WM_COMMAND, ID_HELP_ABOUT, 0);
    PostMessageA(window, WM_COMMAND, IDC_ABOUT_COMMAND, 0);
    Sleep(500);
    EXPECT_EQ(CountAboutBoxes(), 1);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return FindWindowA(nullptr, "About Quill Mere") == nullptr; }, 5000));
    EXPECT_TRUE(IsWindowEnabled(window));
    PostMessageA(window, WM_COMMAND, IDC_ABOUT_COMMAND, 0);  // the about command id, which no control carries, opens it too
    EXPECT_TRUE(WaitUntil([&] { return FindWindowA(nullptr, "About Quill Mere") != nullptr; }, 5000));
    PostMessageA(FindWindowA(nullptr, "About Quill Mere"), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return FindWindowA(nullptr, "About Quill Mere") == nullptr; }, 5000));
    Exit(window);
}

TEST_F(MainWindow, HelpWithoutAHelpFileBesideTheProgramSaysWhatIsMissing) {
    // A copy of the program in a folder of its own, without the help page beside it.
    std::string folder = ScratchFolder() + "nohelp\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(g_programPath.c_str(), (folder + "QuillMere.exe").c_str(), FALSE));
    DeleteFileA((folder + "QuillMere.htm").c_str());
    std::string saved = g_programPath;
    g_programPath = folder + "QuillMere.exe";
    HWND window = StartProgram();
    g_programPath = saved;
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, 32780, 0);
    HWND box = program.WaitForMessageBox("Couldn't find the help file " + folder + "QuillMere.htm.", 5000);
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Exit(window);
}

// The display switches as stored, over pools whose files match the installed copies.
class DisplaySwitches : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        std::string media = ScratchFolder();
        WriteFileBytes(media + "sky.bmp", "BM sky bitmap");
        WriteFileBytes(media + "stars.scr", "MZ screen saver bytes");
        auto record = [&](const std::string& name, int wallpaper, int saver) {
            std::string bytes = std::string(1, static_cast<char>(name.size())) + name +
                                std::string(1, static_cast<char>(media.size())) + media;
            for (int value : {0, wallpaper, saver, 0, 0}) bytes += std::string{static_cast<char>(value), 0, 0, 0};
            return bytes;
        };
        WriteFileBytes(WindowsDir() + "qmfiles.cfg", record("sky.bmp", 1, 0) + record("stars.scr", 0, 1));
        WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files", "1");
        WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\ScreenSaver Files", "1");
        WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files", "0");
        WriteFileBytes(WindowsDir() + "Quill Mere.bmp", "BM sky bitmap");
        WriteFileBytes(WindowsDir() + "system32\\Quill Mere.scr", "MZ screen saver bytes");
    }
};

TEST_F(DisplaySwitches, ControlsFollowAllFourStates) {
    for (std::string flags : {"nn", "ny", "yn", "yy"}) {
        SCOPED_TRACE(flags);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, flags + "nnn|;");
        ProgramDriver run;
        ASSERT_TRUE(run.Start(ScratchFolder()));
        HWND window = run.WaitForInitialisedWindow();
        ASSERT_TRUE(window);
        bool screenSaver = flags[0] == 'y', wallpaper = flags[1] == 'y';
        EXPECT_EQ(Checked(window, IDC_SCREENSAVER_ENABLED), screenSaver);
        EXPECT_EQ(Checked(window, IDC_WALLPAPER_ENABLED), wallpaper);
        EXPECT_EQ(Enabled(window, IDC_SCREENSAVER_NAME), screenSaver);
        EXPECT_EQ(Enabled(window, IDC_WALLPAPER_NAME), wallpaper);
        EXPECT_EQ(PictureOf(window, IDC_SCREENSAVER_BMP), screenSaver ? IDB_SWITCH_ON : IDB_SWITCH_OFF);
        EXPECT_EQ(PictureOf(window, IDC_WALLPAPER_BMP), wallpaper ? IDB_SWITCH_ON : IDB_SWITCH_OFF);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SCREENSAVER_BMP))) << "the BMP buttons stay usable";
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_WALLPAPER_BMP)));
        EXPECT_EQ(TextOf(GetDlgItem(window, IDC_SCREENSAVER_NAME)), screenSaver ? "stars.scr" : "");
        EXPECT_EQ(TextOf(GetDlgItem(window, IDC_WALLPAPER_NAME)), wallpaper ? "sky.bmp" : "");
        EXPECT_EQ(PictureOf(window, 1), IDB_HIDE);
        EXPECT_EQ(PictureOf(window, 2), IDB_EXIT);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(run.WaitForExit(10000));
        EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), flags + "nnn|;");
    }
}

TEST_F(DisplaySwitches, ASwitchWhoseInstalledCopyMatchesNoPoolFileIsTurnedOff) {
    WriteFileBytes(WindowsDir() + "Quill Mere.bmp", "a bitmap of another size");
    DeleteFileA((WindowsDir() + "system32\\Quill Mere.scr").c_str());
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "yynnn|;");
    HWND window = StartProgram();
    ASSERT_TRUE(window);
    EXPECT_FALSE(Checked(window, IDC_WALLPAPER_ENABLED));
    EXPECT_FALSE(Checked(window, IDC_SCREENSAVER_ENABLED));
    EXPECT_EQ(PictureOf(window, IDC_WALLPAPER_BMP), IDB_SWITCH_OFF);
    Exit(window);
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnnn|;");
}

TEST_F(DisplaySwitches, ClickingEnabledFlipsTheSwitchAndItsControls) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    HWND window = StartProgram();
    ASSERT_TRUE(window);
    SendMessageA(GetDlgItem(window, IDC_WALLPAPER_ENABLED), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Enabled(window, IDC_WALLPAPER_NAME); }, 3000));
    EXPECT_EQ(PictureOf(window, IDC_WALLPAPER_BMP), IDB_SWITCH_ON);
    Exit(window);
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nynnn|;");
}

}  // namespace qm::e2e
