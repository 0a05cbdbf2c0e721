// A start with full pools: 9,500 entries in one folder are all loaded, no counter message
// appears, and the installed wallpaper is recognised among them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const char kCounterMessage[] = "Registry counter doesn't match file counter.";
const char kCountersKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\";

}  // namespace

class FullPoolStart : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        ASSERT_EQ(CountMainWindows(), 0) << "a Quill Mere window is left from elsewhere";
        media = ScratchFolder() + "full pool\\";
        CreateDirectoryA(media.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& name : created) DeleteFileA((media + name).c_str());
        RemoveDirectoryA(media.c_str());
        ResetProgramState();
    }

    std::string media;
    std::vector<std::string> created;
};

TEST_F(FullPoolStart, NineThousandFiveHundredEntriesAreAllLoadedWithoutAMessage) {
    // A third of each kind, interleaved as additions leave them; every file exists. The last
    // wallpaper alone has the size of the installed copy.
    constexpr int kEntries = 9500;
    static const char* const kExtension[] = {".wav", ".bmp", ".scr"};
    std::string pool;
    int counts[3] = {0, 0, 0};
    int lastWallpaper = -1;
    for (int i = 0; i < kEntries; ++i)
        if (i % 3 == 1) lastWallpaper = i;
    for (int i = 0; i < kEntries; ++i) {
        const int kind = i % 3;
        const std::string name = "Entry " + std::to_string(i) + kExtension[kind];
        WriteFileBytes(media + name, i == lastWallpaper ? "BM the installed one" : "BM");
        created.push_back(name);
        pool += kind == 0 ? test::Record(name, media, 1, 0, 0, 1, 0, {"Jungle"})
                          : test::Record(name, media, 0, kind == 1, kind == 2, 0, 0);
        ++counts[kind];
    }
    WriteFileBytes(WindowsDir() + "qmfiles.cfg", pool);
    WriteFileBytes(WindowsDir() + "Quill Mere.bmp", "BM the installed one");
    WriteDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "Sound Files", std::to_string(counts[0]));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "Wallpaper Files", std::to_string(counts[1]));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "ScreenSaver Files", std::to_string(counts[2]));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nynnn|;");  // the wallpaper switch on

    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    // Every entry was loaded: the counts equal the counters, so no message; and the last
    // wallpaper of the file is the one recognised as installed.
    EXPECT_FALSE(program.WaitForMessageBox(kCounterMessage, 3000));
    HWND nameField = GetDlgItem(window, IDC_WALLPAPER_NAME);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(nameField) == "Entry " + std::to_string(lastWallpaper) + ".bmp"; },
                          5000))
        << "the wallpaper name field shows \"" << TextOf(nameField) << "\"";
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    // The wallpaper switch stayed on, and nothing touched the counters.
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey), "nynnn|;");
    EXPECT_EQ(ReadDefaultValue(HKEY_LOCAL_MACHINE, std::string(kCountersKey) + "Wallpaper Files"),
              std::to_string(counts[1]));
}

}  // namespace qm::e2e
