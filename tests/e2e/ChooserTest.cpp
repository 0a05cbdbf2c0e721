// The file chooser of the real program: opened from the Add Files command on the program
// folder, listing a prepared folder, its folder operations through the name prompt, the
// option groups following mouse clicks, and OK adding the files to the pools for good.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "e2e/DialogTemplate.h"
#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const char kPromptTitle[] = "Choose a Name for the Folder";
const char kScheme[] = "Jungle Mist";  // a sound scheme of the cases' own

HWND FindWindowOf(DWORD processId, const std::string& title) {
    struct Args {
        DWORD processId;
        std::string title;
        HWND found;
    } args{processId, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) {
            auto* a = reinterpret_cast<Args*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != a->processId || !IsWindowVisible(window) || TextOf(window) != a->title) return TRUE;
            a->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&args));
    return args.found;
}

std::vector<std::string> ListItems(HANDLE process, HWND list) { return RemoteListView(list, process).Texts(); }

bool ClickItem(HANDLE process, HWND list, const std::string& text, bool add = false, bool twice = false) {
    return RemoteListView(list, process).Click(text, add, twice);
}

std::set<std::string> AsSet(const std::vector<std::string>& items) { return {items.begin(), items.end()}; }

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(folder + name + "\\");
            else DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

const int kButtons[] = {IDC_CHOOSER_UP_LEVEL, IDC_CHOOSER_BACK,    IDC_CHOOSER_RENAME, IDC_CHOOSER_REMOVE,
                        IDC_CHOOSER_NEW_FOLDER, IDC_CHOOSER_REFRESH, IDOK,              IDCANCEL};

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
        folder = ScratchFolder() + "chooser\\";
        RemoveTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "Sub").c_str(), nullptr);
        for (const char* name : {"a.bmp", "b.BMP", "c.scr", "d.WAV", "e.Wav", "notes.txt", "Quill Mere 2.bmp",
                                 "My Quill Mere.bmp"})
            WriteFileBytes(folder + name, std::string("data of ") + name);
    }
    void TearDown() override {
        ResetProgramState();
        RemoveTree(folder);
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kAppsKey) + "\\" + kScheme).c_str());
    }
    // Starts the program in the prepared folder and opens the chooser from the menu.
    HWND OpenChooser() {
        if (!main) {
            if (!program.Start(folder)) return nullptr;
            main = program.WaitForMainWindow();
            if (!main) return nullptr;
        }
        PostMessageA(main, WM_COMMAND, ID_ACTIONS_ADD_FILES, 0);
        HWND chooser = nullptr;
        WaitUntil([&] { return (chooser = FindWindowOf(program.ProcessId(), kChooserTitle)) != nullptr; }, 10000);
        return chooser;
    }
    // Presses a button that opens the name prompt, types `name` and presses OK.
    void AnswerPrompt(HWND chooser, int button, const std::string& name, bool* okWasDisabled = nullptr) {
        PostMessageA(GetDlgItem(chooser, button), BM_CLICK, 0, 0);
        HWND prompt = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (prompt = FindWindowOf(program.ProcessId(), kPromptTitle)) != nullptr; },
                              10000));
        if (okWasDisabled) *okWasDisabled = !IsWindowEnabled(GetDlgItem(prompt, IDOK));
        SendMessageA(GetDlgItem(prompt, IDC_REQUEST_NAME_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(prompt, IDOK)));
        PostMessageA(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt) || !IsWindowVisible(prompt); }, 10000));
    }
    void Exit() {
        PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }

    std::string folder;
    ProgramDriver program;
    HWND main = nullptr;
};

void ExpectTemplate(int templateId, const char* title, short cx, short cy, const std::vector<ExpectedControl>& expected) {
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(g_programPath, templateId, dialog));
    EXPECT_EQ(dialog.title, title);
    EXPECT_EQ(dialog.cx, cx);
    EXPECT_EQ(dialog.cy, cy);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_FALSE(dialog.style & WS_VISIBLE);
    EXPECT_EQ(dialog.style & (WS_CAPTION | WS_SYSMENU), DWORD(WS_CAPTION | WS_SYSMENU));
    ExpectControls(dialog, expected);
}

}  // namespace

TEST(ChooserTemplates, HoldEveryControlInItsPlace) {
    const DWORD list = LVS_LIST | LVS_SORTASCENDING;
    ExpectTemplate(134, kChooserTitle, 257, 321,
                   {{1005, "Button", "Up Level", 10, 10, 40, 30, 0},
                    {1022, "Button", "Back", 50, 10, 40, 30, 0},
                    {1020, "Button", "Rename", 90, 10, 40, 30, 0},
                    {1007, "Button", "Remove", 130, 10, 40, 30, 0},
                    {1004, "Button", "New Folder", 170, 10, 40, 30, 0},
                    {1023, "Button", "Refresh", 210, 10, 40, 30, 0},
                    {1082, "ComboBox", "", 10, 43, 240, 80, CBS_DROPDOWN},
                    {1017, "SysListView32", "", 10, 56, 240, 49, list | LVS_SINGLESEL},
                    {1029, "SysListView32", "", 10, 105, 240, 70, list},
                    {1024, "ComboBox", "", 10, 175, 240, 65, CBS_DROPDOWN | CBS_SORT},
                    {1035, "Static", "For Wallpaper :", 25, 195, 50, 10, 0},
                    {1032, "Button", "Center Wallpaper", 85, 195, 75, 10, BS_RADIOBUTTON},
                    {1033, "Button", "Tile Wallpaper", 165, 195, 65, 10, BS_RADIOBUTTON},
                    {1003, "Static", "For Sound Files, Apply to the Following Schemes", 10, 210, 240, 10, SS_CENTER},
                    {1011, "SysListView32", "", 10, 220, 240, 75, LVS_REPORT | LVS_SORTASCENDING},
                    {1, "Button", "OK", 40, 300, 50, 14, 0},
                    {2, "Button", "Cancel", 155, 300, 65, 14, 0}});
    ExpectTemplate(133, kPromptTitle, 186, 55,
                   {{1006, "Edit", "", 10, 10, 165, 15, ES_AUTOHSCROLL | WS_BORDER},
                    {1, "Button", "OK", 20, 35, 50, 14, BS_DEFPUSHBUTTON},
                    {2, "Button", "Cancel", 115, 35, 50, 14, 0}});
}

TEST_F(Chooser, BrowsesAndChangesTheProgramFolderThroughThePrompt) {
    HWND chooser = OpenChooser();
    ASSERT_TRUE(chooser);
    HANDLE process = program.Process();
    HWND folders = GetDlgItem(chooser, IDC_CHOOSER_FOLDERS);
    HWND files = GetDlgItem(chooser, IDC_CHOOSER_FILES);
    EXPECT_EQ(TextOf(GetDlgItem(chooser, IDC_CHOOSER_HISTORY)), folder) << "the program folder comes first";
    EXPECT_EQ(ListItems(process, files),
              (std::vector<std::string>{"a.bmp", "b.BMP", "c.scr", "d.WAV", "My Quill Mere.bmp"}))
        << "eligible names only, in the list's ascending order";
    for (int picture : {IDB_UP, IDB_BACK, IDB_RENAME, IDB_DELETE, IDB_NEW_FOLDER, IDB_REFRESH, IDB_OK, IDB_CANCEL})
        EXPECT_TRUE(std::any_of(std::begin(kButtons), std::end(kButtons), [&](int id) {
            return GetWindowLongPtrA(GetDlgItem(chooser, id), GWLP_USERDATA) == picture;
        })) << "picture " << picture;
    EXPECT_EQ(ListItems(process, folders), (std::vector<std::string>{"Sub"}));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_SCHEMES)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_TILE)));

    bool okWasDisabled = false;
    AnswerPrompt(chooser, IDC_CHOOSER_NEW_FOLDER, "New \xE9t\xE9", &okWasDisabled);
    EXPECT_TRUE(okWasDisabled) << "OK waits for a name";
    EXPECT_TRUE(FolderExists(folder + "New \xE9t\xE9"));
    EXPECT_EQ(AsSet(ListItems(process, folders)), (std::set<std::string>{"New \xE9t\xE9", "Sub"}));

    ASSERT_TRUE(ClickItem(process, folders, "New \xE9t\xE9"));
    AnswerPrompt(chooser, IDC_CHOOSER_RENAME, "Renamed");
    EXPECT_TRUE(FolderExists(folder + "Renamed"));
    EXPECT_FALSE(FolderExists(folder + "New \xE9t\xE9"));

    ASSERT_TRUE(ClickItem(process, folders, "Renamed"));
    AnswerPrompt(chooser, IDC_CHOOSER_RENAME, "Sub");
    HWND failed = program.WaitForMessageBox("Directory rename failed.", 10000);
    ASSERT_TRUE(failed);
    PostMessageA(failed, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(failed); }, 10000));
    EXPECT_TRUE(FolderExists(folder + "Renamed"));

    ASSERT_TRUE(ClickItem(process, folders, "Renamed"));
    SendMessageA(GetDlgItem(chooser, IDC_CHOOSER_REMOVE), BM_CLICK, 0, 0);
    EXPECT_FALSE(FolderExists(folder + "Renamed"));
    EXPECT_EQ(ListItems(process, folders), (std::vector<std::string>{"Sub"}));

    // Into the subfolder and back again.
    ASSERT_TRUE(ClickItem(process, folders, "Sub", false, true));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(chooser, IDC_CHOOSER_HISTORY)) == folder + "Sub\\"; }, 5000));
    EXPECT_TRUE(ListItems(process, files).empty());
    SendMessageA(GetDlgItem(chooser, IDC_CHOOSER_BACK), BM_CLICK, 0, 0);
    EXPECT_EQ(TextOf(GetDlgItem(chooser, IDC_CHOOSER_HISTORY)), folder);
    Exit();
}

TEST_F(Chooser, ClickedFilesEnableTheirOptionsAndOkAddsThemForGood) {
    AddEvent(kScheme, "Open");  // the chooser lists the schemes the main window lists
    ASSERT_TRUE(program.Start(folder));
    main = program.WaitForMainWindow();
    ASSERT_TRUE(main);
    HWND chooser = OpenChooser();
    ASSERT_TRUE(chooser);
    HANDLE process = program.Process();
    HWND files = GetDlgItem(chooser, IDC_CHOOSER_FILES);
    HWND schemes = GetDlgItem(chooser, IDC_CHOOSER_SCHEMES);
    RemoteListView schemeList(schemes, process);
    const int jungle = schemeList.Find(kScheme);
    ASSERT_GE(jungle, 0);
    schemeList.SetChecked(jungle, true);
    ASSERT_TRUE(ClickItem(process, files, "c.scr"));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_SCHEMES)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_TILE)));
    ASSERT_TRUE(ClickItem(process, files, "a.bmp", true));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_TILE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_SCHEMES)));
    ASSERT_TRUE(ClickItem(process, files, "d.WAV", true));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_SCHEMES)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(chooser, IDC_CHOOSER_SCHEME_LABEL)));
    SendMessageA(GetDlgItem(chooser, IDC_CHOOSER_TILE), BM_CLICK, 0, 0);

    PostMessageA(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    const std::string counters = "Software\\Corvalith\\Quill Mere\\2.0\\";
    ASSERT_TRUE(WaitUntil([&] { return ReadDefaultValue(HKEY_LOCAL_MACHINE, counters + "ScreenSaver Files") == "1"; },
                          10000));
    EXPECT_FALSE(IsWindowVisible(chooser));
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, counters + "Wallpaper Files"), "1");
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, counters + "Sound Files"), "1");
    const std::string pool = ReadFileBytes(WindowsDir() + "qmfiles.cfg");
    for (const char* name : {"a.bmp", "c.scr", "d.WAV"}) EXPECT_NE(pool.find(name), std::string::npos) << name;
    EXPECT_EQ(pool.find("b.BMP"), std::string::npos);
    EXPECT_NE(pool.find(kScheme, pool.find("d.WAV")), std::string::npos) << "the ticked scheme goes with the sound";
    Exit();

    // Started again, the pools hold them: choosing them again adds nothing, and no counter
    // disagrees with the file.
    ProgramDriver again;
    ASSERT_TRUE(again.Start(folder));
    main = again.WaitForMainWindow();
    ASSERT_TRUE(main);
    EXPECT_FALSE(again.WaitForMessageBox("Registry counter doesn't match file counter.", 1500));
    PostMessageA(main, WM_COMMAND, ID_ACTIONS_ADD_FILES, 0);
    ASSERT_TRUE(WaitUntil([&] { return (chooser = FindWindowOf(again.ProcessId(), kChooserTitle)) != nullptr; }, 10000));
    files = GetDlgItem(chooser, IDC_CHOOSER_FILES);
    ASSERT_TRUE(ClickItem(again.Process(), files, "a.bmp"));
    ASSERT_TRUE(ClickItem(again.Process(), files, "b.BMP", true));
    PostMessageA(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadDefaultValue(HKEY_LOCAL_MACHINE, counters + "Wallpaper Files") == "2"; },
                          10000));
    const std::string grown = ReadFileBytes(WindowsDir() + "qmfiles.cfg");
    EXPECT_EQ(grown.compare(0, pool.size(), pool), 0) << "the earlier records stay as they were";
    EXPECT_EQ(grown.find("a.bmp", pool.size()), std::string::npos) << "a.bmp was still in its pool";
    EXPECT_NE(grown.find("b.BMP", pool.size()), std::string::npos);
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(again.WaitForExit(10000));
}

TEST_F(Chooser, TheFirstStartOpensTheChooserOnTheProgramFolder) {
    ResetProgramState();  // no preferences: the first start
    ASSERT_TRUE(program.Start(folder));
    main = program.WaitForMainWindow();
    ASSERT_TRUE(main);
    HWND chooser = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (chooser = FindWindowOf(program.ProcessId(), kChooserTitle)) != nullptr; }, 10000));
    EXPECT_EQ(TextOf(GetDlgItem(chooser, IDC_CHOOSER_HISTORY)), folder);
    PostMessageA(GetDlgItem(chooser, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(chooser); }, 5000));
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files"), "<absent>")
        << "Cancel adds nothing";
    Exit();
}

// Pictures are listed by their whole ending in lower or upper case; the files are not opened.
TEST_F(Chooser, ListsPicturesByTheirEndings) {
    const std::string pictures = folder + "Pictures\\";
    CreateDirectoryA(pictures.c_str(), nullptr);
    for (const char* name : {"photo.jpg", "clear.png", "sky.bmp", "odd.Jpg", "notes.txt"})
        WriteFileBytes(pictures + name, std::string("data of ") + name);
    ASSERT_TRUE(program.Start(pictures));
    main = program.WaitForMainWindow();
    ASSERT_TRUE(main);
    HWND chooser = OpenChooser();
    ASSERT_TRUE(chooser);
    ASSERT_EQ(TextOf(GetDlgItem(chooser, IDC_CHOOSER_HISTORY)), pictures);
    EXPECT_EQ(ListItems(program.Process(), GetDlgItem(chooser, IDC_CHOOSER_FILES)),
              (std::vector<std::string>{"clear.png", "photo.jpg", "sky.bmp"}));
    Exit();
}

}  // namespace qm::e2e
