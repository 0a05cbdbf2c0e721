// Start-up and shutdown of the real program: one instance, the kind of run, the endings.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"

namespace qm::e2e {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        ASSERT_EQ(CountMainWindows(), 0) << "a Quill Mere window is left from elsewhere";
    }
    void TearDown() override { ResetProgramState(); }
};

TEST_F(Startup, InteractiveStartShowsTheWindowAndEscapeSavesAndEnds) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnynn|;");
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != 0; }, 5000));
    EXPECT_FALSE(program.WaitForExit(1500)) << "an interactive run stays open";
    // The exit saves the switches and the preference string as they were loaded.
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "changed;");
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnynn|;");
}

TEST_F(Startup, CloseBoxEndsTheProgramWithDefaultsSaved) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(program.WaitForExit(10000));
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnnn|;");
}

TEST_F(Startup, ASecondStartShowsTheRunningWindowAndEnds) {
    // The window of a case before, ended but not yet gone on a loaded machine, would be the
    // one the second start finds.
    ASSERT_TRUE(WaitUntil([] { return CountMainWindows() == 0; }, 10000));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    ProgramDriver first;
    ASSERT_TRUE(first.Start(ScratchFolder()));
    HWND window = first.WaitForMainWindow();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, IDOK, 0);  // to the notification area
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));

    ProgramDriver second;
    ASSERT_TRUE(second.Start(ScratchFolder()));
    DWORD exitCode = 99;
    EXPECT_TRUE(second.WaitForExit(10000, &exitCode)) << "the second start must end by itself";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != 0; }, 5000));
    EXPECT_EQ(CountMainWindows(), 1);
    EXPECT_FALSE(first.WaitForExit(0));
}

// An Explorer window showing a folder named like the program carries the program's title;
// it is no running instance, so the start goes on and leaves that window as it is.
TEST_F(Startup, AWindowOfAnotherClassWithTheProgramsTitleIsNoRunningInstance) {
    WNDCLASSA kind = {};
    kind.lpfnWndProc = DefWindowProcA;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = "CabinetWClass";
    RegisterClassA(&kind);
    struct Window {
        HWND handle;
        ~Window() { DestroyWindow(handle); }
    } folder{CreateWindowExA(0, kind.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                             kind.hInstance, nullptr)};
    ASSERT_TRUE(folder.handle);
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    // This thread handles the folder window's messages meanwhile: a program that showed it
    // is not held up waiting for them.
    HWND window = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
        window = program.WaitForMainWindow(0);
        return window && IsWindowVisible(window);
    }, 15000)) << "the program did not show its own window";
    EXPECT_FALSE(program.WaitForExit(0));
    EXPECT_FALSE(IsWindowVisible(folder.handle)) << "the program showed the folder window";
    if (window) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(Startup, AStartFromTheWindowsDirectoryIsAStartupRunThatEndsByItself) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nynnn|;");
    ProgramDriver program;
    ASSERT_TRUE(program.Start(WindowsDir()));
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(20000, &exitCode)) << "a start-up run with nothing to do ends by itself";
    EXPECT_EQ(exitCode, 0u);
    // A start-up run that ends by itself stores nothing.
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nynnn|;");
}

TEST_F(Startup, ACounterMismatchIsReportedOnceAtStart) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files", "2");
    std::string media = ScratchFolder();
    WriteFileBytes(media + "sky.bmp", "BM not really");
    std::string record = std::string(1, 7) + "sky.bmp" + std::string(1, static_cast<char>(media.size())) + media +
                         std::string("\0\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20);
    WriteFileBytes(WindowsDir() + "qmfiles.cfg", record);
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND box = program.WaitForMessageBox("Registry counter doesn't match file counter.");
    ASSERT_TRUE(box) << "the counter message was not shown";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    EXPECT_FALSE(program.WaitForMessageBox("Registry counter doesn't match file counter.", 1500));
    // The pool entry that exists was loaded: its size matches no installed copy, so the
    // wallpaper switch stays off and the counters keep their values.
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files"), "2");
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

namespace {

const char kUnreadable[] =
    "Couldn't read the file list qmfiles.cfg. Changes to the file lists can't be saved until Quill Mere is "
    "started again.";

// A pool file that another program holds open, so that Quill Mere cannot read it.
HANDLE LockedPoolFile() {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files", "1");
    const std::string poolFile = WindowsDir() + "qmfiles.cfg";
    WriteFileBytes(poolFile, test::Record("a.bmp", "C:\\", 0, 0, 0, 0, 0));
    return CreateFileA(poolFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void CloseMessageBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
}

}  // namespace

TEST_F(Startup, AnUnreadablePoolFileIsReportedAndNothingIsWrittenOverIt) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    HANDLE lock = LockedPoolFile();
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const char* unreadable = kUnreadable;
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND box = program.WaitForMessageBox(unreadable);
    ASSERT_TRUE(box) << "the failed load was not reported";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    for (WPARAM command : {32774, 32777}) {  // Add Files, Modify Selected Files
        PostMessageA(window, WM_COMMAND, command, 0);
        box = program.WaitForMessageBox(unreadable, 5000);
        ASSERT_TRUE(box) << "command " << command << " was not refused";
        CloseMessageBox(box);
    }
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    CloseHandle(lock);
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files"), "1");
}

TEST_F(Startup, TheFirstStartRunsTheAddFilesCommand) {
    // No stored preferences: the first start. Add Files, refused here because the pool
    // file cannot be read, shows that it ran right after the start-up's own report.
    HANDLE lock = LockedPoolFile();
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND first = program.WaitForMessageBox(kUnreadable);
    ASSERT_TRUE(first);
    CloseMessageBox(first);
    HWND second = program.WaitForMessageBox(kUnreadable, 5000);
    ASSERT_TRUE(second) << "the first start did not run Add Files";
    CloseMessageBox(second);
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    CloseHandle(lock);
    // The preferences stored at the end make the next start an ordinary one.
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnnn|;");
}

}  // namespace qm::e2e
