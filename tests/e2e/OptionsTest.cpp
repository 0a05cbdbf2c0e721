// The Options dialog of the real program: its template, what it shows on opening, its
// boxes, the confirm and cancel operations, and what the "&Settings" command stores.
#include <gtest/gtest.h>

#include <iterator>

#include "e2e/DialogTemplate.h"
#include "e2e/ProgramDriver.h"
#include "e2e/ThreadWatch.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const std::vector<ExpectedControl> kOptionsControls = {
    {IDOK, "Button", "OK", 15, 100, 50, 14},
    {IDCANCEL, "Button", "Cancel", 95, 100, 65, 15},
    {IDC_OPTIONS_GROUP, "Button", "Options", 5, 5, 165, 90},
    {IDC_OPTIONS_STARTUP, "Button", "Randomize Choices at Windows Startup", 10, 20, 145, 10},
    {IDC_OPTIONS_WALLPAPER, "Button", "Randomize Wallpaper on Timed Interval", 10, 35, 150, 10},
    {IDC_OPTIONS_SOUNDS, "Button", "Randomize Sound Events on Timed Interval", 10, 50, 155, 10},
    {IDC_OPTIONS_INTERVAL, "ComboBox", "", 10, 74, 155, 75},
    {IDC_OPTIONS_PROMPT, "Static", "Choose a Time Interval", 10, 65, 155, 10},
};

const char* const kIntervalTexts[] = {"15 Seconds", "30 Seconds", "1 Minute",  "5 Minutes", "10 Minutes",
                                      "15 Minutes", "30 Minutes", "1 Hour",    "2 Hours",   "3 Hours",
                                      "5 Hours",    "10 Hours",   "24 Hours"};

const char kSelectInterval[] = "Please select a time interval first.";

bool Ticked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
LRESULT Selection(HWND dialog) { return SendMessageA(GetDlgItem(dialog, IDC_OPTIONS_INTERVAL), CB_GETCURSEL, 0, 0); }
void Select(HWND dialog, int index) {
    SendMessageA(GetDlgItem(dialog, IDC_OPTIONS_INTERVAL), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ChooserText(HWND dialog, int index) {
    wchar_t text[64] = {};
    SendMessageW(GetDlgItem(dialog, IDC_OPTIONS_INTERVAL), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text));
    char narrow[64] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        ASSERT_EQ(CountMainWindows(), 0) << "a Quill Mere window is left from elsewhere";
    }
    void TearDown() override {
        if (window) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        program.WaitForExit(10000);
        ResetProgramState();
    }
    // Starts the program with `stored` as its preferences value and waits for its window.
    void StartWith(const std::string& stored) {
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, stored);
        ASSERT_TRUE(program.Start(ScratchFolder()));
        window = program.WaitForMainWindow();
        ASSERT_TRUE(window);
    }
    // The "&Settings" command; the modal dialog it opens, found by its title.
    HWND OpenOptions() {
        PostMessageA(window, WM_COMMAND, ID_OPTIONS_SETTINGS, 0);
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = FindWindowA(nullptr, "Options");
            DWORD pid = 0;
            if (dialog) GetWindowThreadProcessId(dialog, &pid);
            return dialog && pid == program.ProcessId() && IsWindowVisible(dialog);
        }, 10000);
        return dialog;
    }
    // Presses a button of the dialog and waits for the dialog to close.
    bool Close(HWND dialog, int button) {
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
        return WaitUntil([&] { return !IsWindow(dialog); }, 5000);
    }
    std::string Stored() { return ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey); }

    ProgramDriver program;
    HWND window = nullptr;
};

}  // namespace

TEST(OptionsTemplate, HoldsEveryControlInItsPlace) {
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(g_programPath, IDD_OPTIONS, dialog));
    EXPECT_EQ(dialog.title, "Options");
    EXPECT_EQ(dialog.cx, 177);
    EXPECT_EQ(dialog.cy, 121);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    ExpectControls(dialog, kOptionsControls);
    for (const auto& expected : kOptionsControls) {
        SCOPED_TRACE(expected.id);
        const TemplateItem* item = nullptr;
        for (const auto& candidate : dialog.items)
            if (candidate.id == expected.id) item = &candidate;
        ASSERT_TRUE(item);
        if (expected.id >= IDC_OPTIONS_STARTUP && expected.id <= IDC_OPTIONS_SOUNDS) {
            EXPECT_EQ(item->style & 0xF, DWORD(BS_AUTOCHECKBOX));
        } else if (expected.id == IDOK) {
            EXPECT_EQ(item->style & 0xF, DWORD(BS_DEFPUSHBUTTON));
        } else if (expected.id == IDC_OPTIONS_GROUP) {
            EXPECT_EQ(item->style & 0xF, DWORD(BS_GROUPBOX));
        } else if (expected.id == IDC_OPTIONS_PROMPT) {
            EXPECT_EQ(item->style & SS_TYPEMASK, DWORD(SS_CENTER));
        } else if (expected.id == IDC_OPTIONS_INTERVAL) {
            EXPECT_EQ(item->style & (CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL), DWORD(CBS_DROPDOWN | WS_VSCROLL));
        }
    }
}

TEST_F(Options, OpeningWithNothingOnShowsNoBoxAndNoIntervalAndThePictures) {
    StartWith("nnnnn|;");
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    for (int box : {IDC_OPTIONS_STARTUP, IDC_OPTIONS_WALLPAPER, IDC_OPTIONS_SOUNDS}) EXPECT_FALSE(Ticked(dialog, box));
    EXPECT_EQ(Selection(dialog), CB_ERR);
    ASSERT_EQ(SendMessageA(GetDlgItem(dialog, IDC_OPTIONS_INTERVAL), CB_GETCOUNT, 0, 0), 13);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(ChooserText(dialog, i), kIntervalTexts[i]);
    EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(dialog, IDOK), GWLP_USERDATA), IDB_OK);
    EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(dialog, IDCANCEL), GWLP_USERDATA), IDB_CANCEL);
    EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(dialog, IDC_OPTIONS_GROUP), GWLP_USERDATA), IDB_SETTINGS);
    EXPECT_FALSE(IsWindowEnabled(window)) << "the dialog is modal";
    ASSERT_TRUE(Close(dialog, IDCANCEL));
}

TEST_F(Options, OpeningWithADailyIntervalShowsItsBoxesAndTheInterval) {
    StartWith("nnyyn12;");
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Ticked(dialog, IDC_OPTIONS_STARTUP));
    EXPECT_TRUE(Ticked(dialog, IDC_OPTIONS_WALLPAPER));
    EXPECT_FALSE(Ticked(dialog, IDC_OPTIONS_SOUNDS));
    EXPECT_EQ(Selection(dialog), 12);
    ASSERT_TRUE(Close(dialog, IDCANCEL));
}

TEST_F(Options, AnIntervalMustBeChosenBeforeTimedRandomizationIsStored) {
    StartWith("nnnnn|;");
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_OPTIONS_WALLPAPER);
    ASSERT_TRUE(Ticked(dialog, IDC_OPTIONS_WALLPAPER));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND box = program.WaitForMessageBox(kSelectInterval, 5000);
    ASSERT_TRUE(box) << "the missing interval was not reported";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
    EXPECT_TRUE(Ticked(dialog, IDC_OPTIONS_WALLPAPER));
    EXPECT_EQ(Stored(), "nnnnn|;");
    Select(dialog, 7);  // "1 Hour"
    ASSERT_TRUE(Close(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Stored() == "nnnyn7;"; }, 5000)) << Stored();
}

TEST_F(Options, UntickingBothIntervalsDropsTheIndexAndReopeningShowsNone) {
    StartWith("nnyyn12;");
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_OPTIONS_WALLPAPER);
    ASSERT_TRUE(Close(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Stored() == "nnynn|;"; }, 5000)) << Stored();
    dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Selection(dialog), CB_ERR);
    EXPECT_TRUE(Ticked(dialog, IDC_OPTIONS_STARTUP));
    EXPECT_FALSE(Ticked(dialog, IDC_OPTIONS_WALLPAPER));
    ASSERT_TRUE(Close(dialog, IDCANCEL));
}

TEST_F(Options, CancelAndAnUnchangedConfirmStoreNothing) {
    StartWith("nnnyn3;");
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    // Stored by hand once the program has loaded its preferences (the window appears
    // before that): only a change of the options writes over it.
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "marker;");
    Click(dialog, IDC_OPTIONS_STARTUP);
    Click(dialog, IDC_OPTIONS_SOUNDS);
    ASSERT_TRUE(Close(dialog, IDCANCEL));
    dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Ticked(dialog, IDC_OPTIONS_STARTUP)) << "cancel put the string back";
    EXPECT_FALSE(Ticked(dialog, IDC_OPTIONS_SOUNDS));
    EXPECT_EQ(Selection(dialog), 3);
    ASSERT_TRUE(Close(dialog, IDOK));
    Sleep(500);
    EXPECT_EQ(Stored(), "marker;");
}

TEST_F(Options, AChangeRestartsTheIntervalAndTurningItOffStopsIt) {
    StartWith("nnnyn0;");
    ThreadWatch threads(program.Process());
    // The user-interface thread and, about a second after the window, the interval thread.
    ASSERT_TRUE(threads.WaitForCount(2, 3000)) << threads.Count();
    const ThreadSeen running = threads.Newest();

    // Only the start-up box: stored, and the interval starts again from zero on a new thread.
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_OPTIONS_STARTUP);
    const DWORD confirmed = GetTickCount();
    ASSERT_TRUE(Close(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Stored() == "nnyyn0;"; }, 5000)) << Stored();
    EXPECT_TRUE(WaitUntil([&] { return threads.Newest().id != running.id; }, 3000)) << "the interval did not restart";
    EXPECT_LT(GetTickCount() - confirmed, 3000u);
    EXPECT_TRUE(threads.WaitForCount(2, 2000)) << "one interval thread, not " << threads.Count() - 1;

    // Both interval boxes off: the thread stops and none starts.
    dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_OPTIONS_WALLPAPER);
    ASSERT_TRUE(Close(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Stored() == "nnynn|;"; }, 5000)) << Stored();
    EXPECT_TRUE(threads.WaitForCount(1, 3000)) << "the interval thread is still there";
}

TEST_F(Options, CancelLeavesTheRunningIntervalAlone) {
    StartWith("nnnyn0;");
    ThreadWatch threads(program.Process());
    ASSERT_TRUE(threads.WaitForCount(2, 3000));
    const ThreadSeen running = threads.Newest();
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_OPTIONS_SOUNDS);
    ASSERT_TRUE(Close(dialog, IDCANCEL));
    Sleep(1000);
    EXPECT_EQ(threads.Newest().id, running.id) << "cancel restarted the interval";
    EXPECT_EQ(Stored(), "nnnyn0;");
}

TEST_F(Options, AQuitWhileItIsOpenStoresNothingHalfEdited) {
    StartWith("nnnnn|;");
    HWND dialog = OpenOptions();
    ASSERT_TRUE(dialog);
    // Stored by hand once the program has loaded its preferences: whatever it stores from
    // now on writes over it.
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "marker;");
    Click(dialog, IDC_OPTIONS_STARTUP);
    // The quit that the end of a start-up run posts to the main window.
    PostMessageA(window, WM_QUIT, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    EXPECT_EQ(Stored(), "marker;");
}

}  // namespace qm::e2e
