// The Manage Files dialog of the real program: its template, the lists that Modify Selected
// Files fills, tile flags and scheme ticks, Remove, Make Changes and Cancel Changes, checked
// on the pool file and the counters on disk and in the registry. Make Changes applies only
// what the user changed, so the last cases give it records the dialog never showed (added
// meanwhile, beyond the counters, revived) or scheme names it did not show, and check what
// the next start loads.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "e2e/DialogTemplate.h"
#include "e2e/FileCommands.h"
#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

using test::Record;
using Names = std::vector<std::string>;
using Lists = std::vector<Names>;  // wallpapers, screen savers, sounds

const char kSoundCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files";
const char kWallpaperCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files";
const char kSaverCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\ScreenSaver Files";
const char kCounterMismatch[] = "Registry counter doesn't match file counter.";

class ManageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        RegDeleteTreeA(HKEY_CURRENT_USER, kAppsKey);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
        media = ScratchFolder() + "manage\\";
        CreateDirectoryA(media.c_str(), nullptr);
        for (const char* name : {"b.bmp", "A.bmp", "c.bmp", "z.scr", "y.scr", "x.scr", "one.wav", "two.wav", "three.wav"})
            WriteFileBytes(media + name, std::string("data of ") + name);
        DeleteFileA((media + "gone.wav").c_str());
        // File order differs from sorted order; A.bmp is tiled; gone.wav is missing on disk.
        // The sounds start without schemes: which schemes a load keeps depends on the
        // schemes listed, which the cases of ticks create themselves.
        fileBytes = Record("b.bmp", media, 0, 1, 0, 0, 0) + Record("one.wav", media, 1, 0, 0, 0, 0) +
                    Record("z.scr", media, 0, 0, 1, 0, 0) + Record("A.bmp", media, 0, 1, 0, 0, 1) +
                    Record("gone.wav", media, 1, 0, 0, 0, 0) + Record("two.wav", media, 1, 0, 0, 0, 0) +
                    Record("y.scr", media, 0, 0, 1, 0, 0) + Record("c.bmp", media, 0, 1, 0, 0, 0) +
                    Record("three.wav", media, 1, 0, 0, 0, 0) + Record("x.scr", media, 0, 0, 1, 0, 0);
        WriteFileBytes(WindowsDir() + "qmfiles.cfg", fileBytes);
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kSoundCounter, "4");
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kWallpaperCounter, "3");
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kSaverCounter, "3");
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kAppsKey);
        ResetProgramState();
    }
    // The pool file and the counters of sounds, wallpapers and screen savers.
    void StorePools(const std::string& records, const Names& counters) {
        WriteFileBytes(WindowsDir() + "qmfiles.cfg", records);
        const char* keys[] = {kSoundCounter, kWallpaperCounter, kSaverCounter};
        for (int i = 0; i < 3; ++i) WriteDefaultValue(HKEY_LOCAL_MACHINE, keys[i], counters[i]);
    }

    // Starts the program in the media folder, where the chooser opens, past its start-up
    // message (the missing file makes the counts differ).
    HWND Start() { return Start(program, true); }
    // Starts a run and waits until it has loaded the pools; `mismatch` says whether the load
    // must report counters that disagree with the file (the message is answered).
    HWND Start(ProgramDriver& driver, bool mismatch) {
        if (!driver.Start(media)) return nullptr;
        HWND window = driver.WaitForMainWindow();
        if (!window) return nullptr;
        HWND box = nullptr;
        // The initialisation disables "Randomize this Sound Scheme Now" after the load.
        WaitUntil([&] {
            return (box = driver.WaitForMessageBox(kCounterMismatch, 0)) != nullptr ||
                   !IsWindowEnabled(GetDlgItem(window, IDC_RANDOMIZE_SCHEME));
        }, 15000);
        EXPECT_EQ(box != nullptr, mismatch) << kCounterMismatch;
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return driver.WaitForInitialisedWindow();
    }
    // Selects exactly `positions` of a list, the focus on the first, as a click would.
    static void Select(HWND dialog, int listId, std::vector<int> positions) {
        HWND list = GetDlgItem(dialog, listId);
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (int position : positions) SendMessageA(list, LB_SETSEL, TRUE, position);
        if (!positions.empty()) SendMessageA(list, LB_SETCARETINDEX, positions.front(), FALSE);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    void MakeChangesAndWait(HWND dialog) {
        const std::string before = ReadPoolFile();
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
        // The rewrite runs from the posted message; wait until the counters say it ran.
        WaitUntil([&] { return ReadPoolFile() != before; }, 5000);
        Sleep(300);
    }
    static std::string ReadPoolFile() { return ReadFileBytes(WindowsDir() + "qmfiles.cfg"); }
    static Names Counters() {
        return {ReadDefaultValue(HKEY_LOCAL_MACHINE, kSoundCounter), ReadDefaultValue(HKEY_LOCAL_MACHINE, kWallpaperCounter),
                ReadDefaultValue(HKEY_LOCAL_MACHINE, kSaverCounter)};
    }
    // Ends the run. The command is handled after any result posted before it, so the
    // pool file and the counters are final once the run has ended.
    void Exit(HWND window) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    // Adds `name` through the chooser (on the media folder) to the machine-wide pool file.
    void AddThroughChooser(HWND window, const std::string& name, bool tile = false) {
        e2e::AddThroughChooser(program, window, name, WindowsDir() + "qmfiles.cfg", tile);
    }
    // Starts the program again, which must find file and counters in agreement, and
    // returns what Modify Selected Files lists then.
    Lists ListedAtNextStart() {
        ProgramDriver next;
        HWND window = Start(next, false);
        HWND dialog = window ? OpenManage(window) : nullptr;
        if (!dialog) return {};
        Lists lists;
        for (int id : {IDC_MANAGE_WALLPAPER_LIST, IDC_MANAGE_SAVER_LIST, IDC_MANAGE_SOUND_LIST})
            lists.push_back(ListTexts(GetDlgItem(dialog, id)));
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(next.WaitForExit(10000));
        return lists;
    }

    ProgramDriver program;
    std::string media, fileBytes;
};


const std::vector<ExpectedControl> kManageControls = {
    {1012, "Button", "Wallpaper Files", 5, 5, 285, 65},
    {1014, "ListBox", "", 10, 15, 275, 50},
    {1015, "Button", "Screen Saver Files", 5, 75, 285, 65},
    {1016, "ListBox", "", 10, 85, 275, 50},
    {1035, "Static", "For Wallpaper :", 35, 145, 50, 10},
    {1032, "Button", "Center Wallpaper", 100, 145, 75, 10},
    {1033, "Button", "Tile Wallpaper", 190, 145, 65, 10},
    {1017, "Button", "Sound Files", 5, 160, 285, 65},
    {1018, "ListBox", "", 10, 170, 275, 50},
    {1019, "Static", "Sounds Apply to These Schemes", 5, 230, 285, 10},
    {1011, "SysListView32", "", 5, 241, 285, 65},
    {1, "Button", "Make Changes", 20, 316, 60, 14},
    {1021, "Button", "Remove", 110, 316, 70, 15},
    {2, "Button", "Cancel Changes", 210, 316, 65, 14},
};

}  // namespace

TEST(ManageFilesTemplate, HoldsEveryControlInItsPlace) {
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(g_programPath, 136, dialog));
    EXPECT_EQ(dialog.title, "Manage Files");
    EXPECT_EQ(dialog.cx, 297);
    EXPECT_EQ(dialog.cy, 341);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.style & (WS_CAPTION | WS_SYSMENU), DWORD(WS_CAPTION | WS_SYSMENU));
    EXPECT_FALSE(dialog.style & WS_VISIBLE);
    ExpectControls(dialog, kManageControls);
    for (std::size_t i = 0; i < dialog.items.size() && i < kManageControls.size(); ++i) {
        const TemplateItem& item = dialog.items[i];
        const ExpectedControl& expected = kManageControls[i];
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(item.id, expected.id) << "the controls keep their order";
        if (expected.id == 1014 || expected.id == 1016 || expected.id == 1018) {
            EXPECT_EQ(item.style & (LBS_SORT | LBS_EXTENDEDSEL | LBS_NOTIFY | WS_VSCROLL),
                      DWORD(LBS_SORT | LBS_EXTENDEDSEL | LBS_NOTIFY | WS_VSCROLL));
        }
        if (expected.id == 1012 || expected.id == 1015 || expected.id == 1017) {
            EXPECT_EQ(item.style & 0xF, DWORD(BS_GROUPBOX));
        }
        if (expected.id == 1032 || expected.id == 1033) {
            EXPECT_EQ(item.style & 0xF, DWORD(BS_AUTORADIOBUTTON));
        }
    }
    EXPECT_EQ(dialog.items[9].style & SS_TYPEMASK, DWORD(SS_CENTER));
    EXPECT_EQ(dialog.items[10].style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SORTASCENDING),
              DWORD(LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING));
    EXPECT_EQ(dialog.items[11].style & 0xF, DWORD(BS_DEFPUSHBUTTON));
}

TEST_F(ManageFiles, ModifyListsThePoolsSortedAndTheTileFlagFollowsTheWallpaper) {
    HWND window = Start();
    ASSERT_TRUE(window);
    HWND hidden = ManageWindow(window);
    ASSERT_TRUE(hidden) << "the dialog is created at start-up";
    EXPECT_FALSE(IsWindowVisible(hidden));
    HWND dialog = OpenManage(window);
    ASSERT_EQ(dialog, hidden) << "the same window is shown, not a new one";
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_WALLPAPER_LIST)),
              (Names{media + "A.bmp", media + "b.bmp", media + "c.bmp"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SAVER_LIST)),
              (Names{media + "x.scr", media + "y.scr", media + "z.scr"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SOUND_LIST)),
              (Names{media + "one.wav", media + "three.wav", media + "two.wav"}));
    const int options[] = {IDC_MANAGE_SCHEME_PROMPT, IDC_MANAGE_SCHEME_LIST, IDC_MANAGE_WALLPAPER_PROMPT,
                           IDC_MANAGE_CENTER, IDC_MANAGE_TILE};
    for (int id : options) EXPECT_FALSE(Enabled(dialog, id)) << id;
    const std::pair<int, LONG_PTR> pictures[] = {
        {IDC_MANAGE_WALLPAPER_GROUP, IDB_WALLPAPER_FILES}, {IDC_MANAGE_SAVER_GROUP, IDB_SCREEN_SAVER_FILES},
        {IDC_MANAGE_SOUND_GROUP, IDB_SOUND_FILES}, {IDC_MANAGE_REMOVE, IDB_REMOVE}, {IDOK, IDB_OK}, {IDCANCEL, IDB_CANCEL}};
    for (auto [id, picture] : pictures) EXPECT_EQ(PictureOf(dialog, id), picture) << id;

    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {0});  // A.bmp, tiled in the file
    EXPECT_TRUE(Checked(dialog, IDC_MANAGE_TILE));
    EXPECT_FALSE(Checked(dialog, IDC_MANAGE_CENTER));
    EXPECT_TRUE(Enabled(dialog, IDC_MANAGE_CENTER));
    EXPECT_FALSE(Enabled(dialog, IDC_MANAGE_SCHEME_LIST));
    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {1});  // b.bmp, centred
    EXPECT_TRUE(Checked(dialog, IDC_MANAGE_CENTER));
    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {0});
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_CENTER), BM_CLICK, 0, 0);  // Center sets A.bmp back
    EXPECT_FALSE(Checked(dialog, IDC_MANAGE_TILE));
    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {1});
    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {0});
    EXPECT_TRUE(Checked(dialog, IDC_MANAGE_CENTER)) << "A.bmp is centred now";
    Select(dialog, IDC_MANAGE_SAVER_LIST, {0});
    for (int id : options) EXPECT_FALSE(Enabled(dialog, id)) << id;

    MakeChangesAndWait(dialog);
    // Only A.bmp's tile field changed; gone.wav's record went; everything else is kept in order.
    EXPECT_EQ(ReadPoolFile(), Record("b.bmp", media, 0, 1, 0, 0, 0) + Record("one.wav", media, 1, 0, 0, 0, 0) +
                                  Record("z.scr", media, 0, 0, 1, 0, 0) + Record("A.bmp", media, 0, 1, 0, 0, 0) +
                                  Record("two.wav", media, 1, 0, 0, 0, 0) + Record("y.scr", media, 0, 0, 1, 0, 0) +
                                  Record("c.bmp", media, 0, 1, 0, 0, 0) +
                                  Record("three.wav", media, 1, 0, 0, 0, 0) +
                                  Record("x.scr", media, 0, 0, 1, 0, 0));
    EXPECT_EQ(Counters(), (Names{"3", "3", "3"}));
    Exit(window);
}

TEST_F(ManageFiles, TicksFollowTheFocusedSoundAndGoToEverySelectedSound) {
    for (const char* app : {"Robotz", ".Default", "Jungle"}) AddEvent(app, "Open");
    HWND window = Start();
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    RemoteListView schemes(GetDlgItem(dialog, IDC_MANAGE_SCHEME_LIST), program.Process());
    ASSERT_EQ(schemes.Texts(), (Names{"Default", "Jungle", "Robotz"})) << "the main window's schemes, sorted";

    Select(dialog, IDC_MANAGE_SOUND_LIST, {1});  // three.wav alone
    for (int i = 0; i < schemes.Count(); ++i) schemes.SetChecked(i, false);
    schemes.SetChecked(schemes.Find("Default"), true);
    Select(dialog, IDC_MANAGE_SOUND_LIST, {0, 2});  // one.wav (focused) and two.wav
    EXPECT_TRUE(Enabled(dialog, IDC_MANAGE_SCHEME_LIST));
    EXPECT_FALSE(Enabled(dialog, IDC_MANAGE_CENTER));
    EXPECT_EQ(schemes.Ticked(), Names{}) << "one.wav has no schemes yet";
    for (int i = 0; i < schemes.Count(); ++i) schemes.SetChecked(i, false);
    schemes.SetChecked(schemes.Find("Robotz"), true);
    schemes.SetChecked(schemes.Find("Jungle"), true);
    Select(dialog, IDC_MANAGE_SOUND_LIST, {2});
    EXPECT_EQ(schemes.Ticked(), (Names{"Jungle", "Robotz"})) << "two.wav got the ticks made for both";
    Select(dialog, IDC_MANAGE_SOUND_LIST, {0});
    EXPECT_EQ(schemes.Ticked(), (Names{"Jungle", "Robotz"}));

    MakeChangesAndWait(dialog);
    const std::string file = ReadPoolFile();
    EXPECT_NE(file.find(Record("one.wav", media, 1, 0, 0, 2, 0, {"Jungle", "Robotz"})), std::string::npos);
    EXPECT_NE(file.find(Record("two.wav", media, 1, 0, 0, 2, 0, {"Jungle", "Robotz"})), std::string::npos);
    EXPECT_NE(file.find(Record("three.wav", media, 1, 0, 0, 1, 0, {"Default"})), std::string::npos);

    // The reloaded pools carry the new schemes into the next showing.
    dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    Select(dialog, IDC_MANAGE_SOUND_LIST, {2});
    EXPECT_EQ(schemes.Ticked(), (Names{"Jungle", "Robotz"}));
    Select(dialog, IDC_MANAGE_SOUND_LIST, {1, 2});  // three.wav has the focus: its own schemes, not two.wav's
    EXPECT_EQ(schemes.Ticked(), (Names{"Default"}));
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    Exit(window);
}

TEST_F(ManageFiles, RemoveAcrossTwoListsThenMakeChangesRewritesFileCountersAndPools) {
    HWND window = Start();
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {0, 2});  // A.bmp and c.bmp
    Select(dialog, IDC_MANAGE_SOUND_LIST, {1});     // three.wav
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_REMOVE), BM_CLICK, 0, 0);
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_WALLPAPER_LIST)), (Names{media + "b.bmp"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SOUND_LIST)), (Names{media + "one.wav", media + "two.wav"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SAVER_LIST)).size(), 3u);
    EXPECT_EQ(ReadPoolFile(), fileBytes) << "nothing is written before Make Changes";

    MakeChangesAndWait(dialog);
    EXPECT_EQ(ReadPoolFile(), Record("b.bmp", media, 0, 1, 0, 0, 0) + Record("one.wav", media, 1, 0, 0, 0, 0) +
                                  Record("z.scr", media, 0, 0, 1, 0, 0) + Record("two.wav", media, 1, 0, 0, 0, 0) +
                                  Record("y.scr", media, 0, 0, 1, 0, 0) + Record("x.scr", media, 0, 0, 1, 0, 0));
    EXPECT_EQ(Counters(), (Names{"2", "1", "3"}));
    EXPECT_FALSE(program.WaitForMessageBox("Registry counter doesn't match file counter.", 1000))
        << "the reload finds file and counters in agreement";
    EXPECT_EQ(GetFileAttributesA((WindowsDir() + "tmpqm.tmp").c_str()), INVALID_FILE_ATTRIBUTES);

    dialog = OpenManage(window);  // the main window's pools followed
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_WALLPAPER_LIST)), (Names{media + "b.bmp"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SOUND_LIST)), (Names{media + "one.wav", media + "two.wav"}));
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    Exit(window);
}

TEST_F(ManageFiles, CancelChangesAndEscapeChangeNothing) {
    HWND window = Start();
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    Select(dialog, IDC_MANAGE_SAVER_LIST, {0, 1, 2});
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_REMOVE), BM_CLICK, 0, 0);
    ASSERT_TRUE(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SAVER_LIST)).empty());
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    Sleep(500);
    EXPECT_EQ(ReadPoolFile(), fileBytes);
    EXPECT_EQ(Counters(), (Names{"4", "3", "3"}));

    dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SAVER_LIST)).size(), 3u) << "reopening lists every entry again";
    Select(dialog, IDC_MANAGE_SAVER_LIST, {0});
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_REMOVE), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(dialog, IDC_MANAGE_SAVER_LIST), WM_KEYDOWN, VK_ESCAPE, 0);  // Escape is Cancel Changes
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    // A stray result message finds no result to apply.
    PostMessageA(window, 0x414, 0, 0);
    Sleep(500);
    EXPECT_EQ(ReadPoolFile(), fileBytes);
    EXPECT_EQ(Counters(), (Names{"4", "3", "3"}));
    Exit(window);
}

TEST_F(ManageFiles, APoolFileDeletedMeanwhileIsReportedAndNothingIsWritten) {
    HWND window = Start();
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(DeleteFileA((WindowsDir() + "qmfiles.cfg").c_str()));
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    HWND box = program.WaitForMessageBox(
        "Couldn't find the file list qmfiles.cfg, so the changes to the file lists weren't made.", 5000);
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ReadPoolFile(), "<absent>");
    EXPECT_EQ(Counters(), (Names{"4", "3", "3"}));
    Exit(window);
}

TEST_F(ManageFiles, AFileAddedWhileTheDialogIsOpenOutlivesItsMakeChanges) {
    const std::string a = Record("A.bmp", media, 0, 1, 0, 0, 1), one = Record("one.wav", media, 1, 0, 0, 0, 0),
                      z = Record("z.scr", media, 0, 0, 1, 0, 0), b = Record("b.bmp", media, 0, 1, 0, 0, 0);
    StorePools(a + one + z, {"1", "1", "1"});
    HWND window = Start(program, false);
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    AddThroughChooser(window, "b.bmp");
    EXPECT_EQ(ReadPoolFile(), a + one + z + b);
    EXPECT_EQ(Counters(), (Names{"1", "2", "1"}));

    // The dialog still shows the pools as they were when it opened, without b.bmp.
    Select(dialog, IDC_MANAGE_SOUND_LIST, {0});
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_REMOVE), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Exit(window);
    EXPECT_EQ(ReadPoolFile(), a + z + b);
    EXPECT_EQ(Counters(), (Names{"0", "2", "1"}));
    EXPECT_EQ(ListedAtNextStart(), (Lists{{media + "A.bmp", media + "b.bmp"}, {media + "z.scr"}, {}}));
}

TEST_F(ManageFiles, ASoundKeepsTheSchemeNamesOfApplicationsMissingThisRun) {
    // QmGone's application key is missing, so the main window lists QmAlpha alone, and a
    // sound's scheme list has room for one name.
    AddEvent("QmAlpha", "Open");
    const std::string one = Record("one.wav", media, 1, 0, 0, 2, 0, {"QmAlpha", "QmGone"}),
                      a = Record("A.bmp", media, 0, 1, 0, 0, 1);
    StorePools(one + a + Record("c.bmp", media, 0, 1, 0, 0, 0), {"1", "2", "0"});
    HWND window = Start(program, false);
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    ASSERT_EQ(RemoteListView(GetDlgItem(dialog, IDC_MANAGE_SCHEME_LIST), program.Process()).Texts(), Names{"QmAlpha"});
    Select(dialog, IDC_MANAGE_WALLPAPER_LIST, {1});  // c.bmp
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_REMOVE), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Exit(window);
    EXPECT_EQ(ReadPoolFile(), one + a) << "the sound's record is kept byte for byte";
    EXPECT_EQ(Counters(), (Names{"1", "1", "0"}));
    EXPECT_EQ(ListedAtNextStart(), (Lists{{media + "A.bmp"}, {}, {media + "one.wav"}}));
}

TEST_F(ManageFiles, AFileMissingAtTheLoadIsAddedAgainThroughItsOwnRecord) {
    DeleteFileA((media + "x.bmp").c_str());
    const std::string a = Record("A.bmp", media, 0, 1, 0, 0, 1), one = Record("one.wav", media, 1, 0, 0, 0, 0);
    StorePools(a + Record("x.bmp", media, 0, 1, 0, 0, 0) + one, {"1", "2", "0"});
    HWND window = Start(program, true);  // x.bmp's record is counted, its file is not there
    ASSERT_TRUE(window);
    WriteFileBytes(media + "x.bmp", "data of x.bmp");
    AddThroughChooser(window, "x.bmp", true);
    const std::string revived = a + Record("x.bmp", media, 0, 1, 0, 0, 1) + one;
    EXPECT_EQ(ReadPoolFile(), revived) << "one record of x.bmp, with the batch's tile flag";
    EXPECT_EQ(Counters(), (Names{"1", "2", "0"}));

    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_WALLPAPER_LIST)), (Names{media + "A.bmp", media + "x.bmp"}))
        << "the pools took it at once";
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Exit(window);
    EXPECT_EQ(ReadPoolFile(), revived);
    EXPECT_EQ(Counters(), (Names{"1", "2", "0"}));
    EXPECT_EQ(ListedAtNextStart(), (Lists{{media + "A.bmp", media + "x.bmp"}, {}, {media + "one.wav"}}));
}

TEST_F(ManageFiles, MakeChangesKeepsAndCountsTheRecordsBeyondTheCounters) {
    const std::string a = Record("A.bmp", media, 0, 1, 0, 0, 1), z = Record("z.scr", media, 0, 0, 1, 0, 0),
                      c = Record("c.bmp", media, 0, 1, 0, 0, 0), two = Record("two.wav", media, 1, 0, 0, 0, 0),
                      y = Record("y.scr", media, 0, 0, 1, 0, 0);
    // The counters add up to four: the load reads A.bmp, one.wav, z.scr and c.bmp.
    StorePools(a + Record("one.wav", media, 1, 0, 0, 0, 0) + z + c + two + Record("gone.wav", media, 1, 0, 0, 0, 0) + y,
               {"2", "1", "1"});
    HWND window = Start(program, true);
    ASSERT_TRUE(window);
    HWND dialog = OpenManage(window);
    ASSERT_TRUE(dialog);
    ASSERT_EQ(ListTexts(GetDlgItem(dialog, IDC_MANAGE_SOUND_LIST)), Names{media + "one.wav"});
    Select(dialog, IDC_MANAGE_SOUND_LIST, {0});
    SendMessageA(GetDlgItem(dialog, IDC_MANAGE_REMOVE), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Exit(window);
    EXPECT_EQ(ReadPoolFile(), a + z + c + two + y) << "only the removed sound and the missing file's record went";
    EXPECT_EQ(Counters(), (Names{"1", "2", "2"}));
    EXPECT_EQ(ListedAtNextStart(),
              (Lists{{media + "A.bmp", media + "c.bmp"}, {media + "y.scr", media + "z.scr"}, {media + "two.wav"}}));
}

}  // namespace qm::e2e
