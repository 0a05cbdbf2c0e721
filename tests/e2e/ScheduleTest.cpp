// Timed randomization and the start-up run of the real program, watched from outside: the
// process's threads (the interval thread is the one thread the program adds, and every
// elapse replaces it with a new one), the installed wallpaper, and the process's end.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"
#include "e2e/ThreadWatch.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

using test::Record;

const char kWallpaperCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files";
const char kSoundCounter[] = "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files";

long long SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class Schedule : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        ASSERT_EQ(CountMainWindows(), 0) << "a Quill Mere window is left from elsewhere";
    }
    void TearDown() override {
        if (HWND window = FindWindowA(nullptr, kTitle)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        program.WaitForExit(10000);
        ResetProgramState();
    }
    // An interactive run with `stored`: its window, once the interval thread has joined
    // the user-interface thread (about a second after the window); nullptr otherwise.
    HWND StartWithInterval(const std::string& stored) {
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, stored);
        if (!program.Start(ScratchFolder())) return nullptr;
        HWND window = program.WaitForMainWindow();
        if (!window || !ThreadWatch(program.Process()).WaitForCount(2, 3000)) return nullptr;
        return window;
    }
    // A wallpaper pool of two bitmaps of 100 and 300 bytes; the installed copy is the
    // smaller one, so an elapse that randomizes the wallpaper gives the copy 300 bytes.
    void TwoWallpapers() {
        const std::string media = ScratchFolder();
        WriteFileBytes(media + "small.bmp", std::string(100, 's'));
        WriteFileBytes(media + "large.bmp", std::string(300, 'l'));
        WriteFileBytes(WindowsDir() + "qmfiles.cfg",
                       Record("small.bmp", media, 0, 1, 0, 0, 0) + Record("large.bmp", media, 0, 1, 0, 0, 0));
        WriteDefaultValue(HKEY_LOCAL_MACHINE, kWallpaperCounter, "2");
        WriteFileBytes(installed, std::string(100, 's'));
    }
    // Sends a message of Windows ending the session, as Windows sends it to every top-level window.
    static LRESULT SendSessionMessage(HWND window, UINT message, WPARAM ending) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, message, ending, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer)) return -1;
        return static_cast<LRESULT>(answer);
    }
    ProgramDriver program;
    const std::string installed = WindowsDir() + "Quill Mere.bmp";
};

}  // namespace

TEST_F(Schedule, EveryIntervalStartsTheNextThreadAndTheExitLeavesAtOnce) {
    HWND window = StartWithInterval("nnnyn0;");
    ASSERT_TRUE(window);
    ThreadWatch threads(program.Process());
    const ThreadSeen first = threads.Newest();
    EXPECT_LE(first.createdMs, 2500);
    // "15s": the next thread comes 14 to 16 seconds later and replaces the first one.
    ASSERT_TRUE(WaitUntil([&] { return threads.Newest().id != first.id; }, 18000)) << "no elapse";
    const ThreadSeen second = threads.Newest();
    EXPECT_GE(second.createdMs - first.createdMs, 14000);
    EXPECT_LE(second.createdMs - first.createdMs, 16500);
    EXPECT_TRUE(threads.WaitForCount(2, 1000)) << "one chain of interval threads, not " << threads.Count() - 1;
    // The exit stops the waiting thread at once instead of waiting out the interval.
    const DWORD asked = GetTickCount();
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_LT(GetTickCount() - asked, 2000u);
}

TEST_F(Schedule, AnExitAtTheMomentOfAnElapseEndsWithoutWaiting) {
    HWND window = StartWithInterval("nnnyn0;");
    ASSERT_TRUE(window);
    ThreadWatch threads(program.Process());
    const ThreadSeen first = threads.Newest();
    // Ask for the exit in the last moments of the first interval, so that the elapse and
    // the stop meet; either order must end the program promptly.
    while (true) {
        FILETIME created, exited, kernel, user, now;
        GetProcessTimes(program.Process(), &created, &exited, &kernel, &user);
        GetSystemTimeAsFileTime(&now);
        auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        const long long sinceFirstMs = (ticks(now) - ticks(created)) / 10000 - first.createdMs;
        if (sinceFirstMs >= 14950 || threads.Newest().id != first.id) break;
        Sleep(10);
    }
    const DWORD asked = GetTickCount();
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_LT(GetTickCount() - asked, 2000u);
}

TEST_F(Schedule, TheInstalledWallpaperChangesEveryFifteenSeconds) {
    TwoWallpapers();  // the installed copy matches an entry, so the wallpaper switch stays on
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nynyn0;");
    const DWORD started = GetTickCount();
    ASSERT_TRUE(program.Start(ScratchFolder()));
    ASSERT_TRUE(program.WaitForMainWindow());
    // Two entries: each draw avoids the one shown, so every elapse changes the size. The
    // first change comes after up to a second of start-up wait and one interval.
    long long size = 100;  // small.bmp is installed
    DWORD from = started;
    for (DWORD latest : {17500u, 16500u}) {
        // A copy in progress can show any size: only the size of the other whole bitmap counts.
        ASSERT_TRUE(WaitUntil([&] { return SizeOf(installed) == 400 - size; }, 20000)) << "no change " << latest;
        const DWORD after = GetTickCount() - from;
        from = GetTickCount();
        EXPECT_GE(after, 13500u);
        EXPECT_LE(after, latest);
        size = 400 - size;  // the other bitmap is installed now
    }
}

TEST_F(Schedule, AStartupRunWithTheStartupFlagAloneEndsByItself) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnynn|;");
    ASSERT_TRUE(program.Start(WindowsDir()));
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(15000, &exitCode)) << "display randomized, no sounds, no interval: it ends";
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(Schedule, AStartupRunWithNothingToDoEndsAtOnce) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    const DWORD started = GetTickCount();
    ASSERT_TRUE(program.Start(WindowsDir()));
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_LT(GetTickCount() - started, 8000u) << "no wait of any kind";
}

TEST_F(Schedule, AStartupRunWithAnIntervalStaysInTheNotificationArea) {
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnyn12;");
    ASSERT_TRUE(program.Start(WindowsDir()));
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    ThreadWatch threads(program.Process());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000)) << "hidden in the notification area";
    EXPECT_TRUE(threads.WaitForCount(2, 5000)) << "the interval thread waits its day";
    EXPECT_FALSE(program.WaitForExit(3000)) << "a run with an interval stays resident";
    const DWORD asked = GetTickCount();
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_LT(GetTickCount() - asked, 2000u) << "a 24-hour wait is stopped at once";
}

// Log-off: once Windows has asked whether the session may end, an elapse randomizes
// nothing; at the end of the session the switch changed in the window is stored.
TEST_F(Schedule, ALogOffStoresTheRunsSwitchesAndAnElapseMeanwhileWritesNothing) {
    TwoWallpapers();
    HWND window = StartWithInterval("nnnyn0;");  // the wallpaper every 15 seconds, its switch off
    ASSERT_TRUE(window);
    SendMessageA(GetDlgItem(window, IDC_WALLPAPER_ENABLED), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !TextOf(GetDlgItem(window, IDC_WALLPAPER_NAME)).empty(); }, 5000));
    const std::string copy = ReadFileBytes(installed);
    const std::string shown = TextOf(GetDlgItem(window, IDC_WALLPAPER_NAME));
    WriteValue(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "left by the test");
    EXPECT_EQ(SendSessionMessage(window, WM_QUERYENDSESSION, 0), TRUE);

    // The next elapse is handled (its interval thread is replaced) and installs nothing.
    ThreadWatch threads(program.Process());
    const ThreadSeen waiting = threads.Newest();
    ASSERT_TRUE(WaitUntil([&] { return threads.Newest().id != waiting.id; }, 18000)) << "no elapse";
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    EXPECT_EQ(ReadFileBytes(installed), copy);
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_WALLPAPER_NAME)), shown);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper"), "left by the test");
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nnnyn0;") << "stored before the end";

    EXPECT_EQ(SendSessionMessage(window, WM_ENDSESSION, TRUE), 0);
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nynyn0;");
}

TEST_F(Schedule, ACancelledLogOffLetsTheNextElapseRandomize) {
    TwoWallpapers();
    HWND window = StartWithInterval("nynyn0;");
    ASSERT_TRUE(window);
    EXPECT_EQ(SendSessionMessage(window, WM_QUERYENDSESSION, 0), TRUE);
    EXPECT_EQ(SendSessionMessage(window, WM_ENDSESSION, FALSE), 0);
    EXPECT_TRUE(WaitUntil([&] { return SizeOf(installed) == 300; }, 18000)) << "the elapse installed nothing";
}

// Slow: the start-up run waits its 90 seconds before the sounds.
TEST_F(Schedule, AStartupRunWithSoundsWaitsAboutNinetySecondsThenEnds) {
    const std::string media = ScratchFolder();
    WriteFileBytes(media + "ding.wav", "RIFF not really");
    WriteFileBytes(WindowsDir() + "qmfiles.cfg", Record("ding.wav", media, 1, 0, 0, 0, 0));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kSoundCounter, "1");
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnynn|;");
    ASSERT_TRUE(program.Start(WindowsDir()));
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000)) << "waiting in the notification area";
    EXPECT_FALSE(program.WaitForExit(80000)) << "ended before the 90-second wait was over";
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(25000, &exitCode)) << "the run did not end after the sounds";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace qm::e2e
