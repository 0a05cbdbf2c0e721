// Which name Windows NT is told for the installed screen saver: the fixed "QUILLM~1.SCR"
// where that is the copy's short name, else the copy's own short name, else its full name.
#include <gtest/gtest.h>

#include "core/DisplayTestKit.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "randomize/ScreenSaverRandomizer.h"

namespace qm::test {

TEST(ScreenSaverShortName, FollowsTheShortNameTheFileSystemMade) {
    const std::string copy = "C:\\WINDOWS\\system32\\Quill Mere.scr";
    const struct { const char* shortName; std::string told; } cases[] = {
        {"QUILLM~1.SCR", "C:\\WINDOWS\\System32\\QUILLM~1.SCR"},
        {"QUILLM~2.SCR", "C:\\WINDOWS\\system32\\QUILLM~2.SCR"},
        {nullptr, copy},  // no short names made on this volume
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.told);
        FakeFileSystem files;
        FakeRegistry registry;
        FakeSystem system;
        files.AddFile("C:\\Media\\stars.scr", "MZ");
        files.AddFolder("C:\\WINDOWS\\system32");
        if (row.shortName) files.shortNames[copy] = row.shortName;
        registry.CreateKey(RegistryRoot::CurrentUser, kDesktopKey);
        CPools pools;
        pools.m_screenSaverFiles = {"C:\\Media\\stars.scr"};
        pools.m_nScreenSaverFiles = 1;
        CRandom random;
        std::string flags = "yn";
        EventLog log;
        RecordingView view{log, flags};
        DisplayContext display{registry, files, system, random, pools, flags, view, "C:\\WINDOWS\\", false, kDesktopKey, {}};
        files.AddFile(copy, "old");  // the copy exists before it is replaced, as its short name does
        RandomizeScreenSaver(display);
        std::string told;
        ASSERT_TRUE(registry.ReadValue(RegistryRoot::CurrentUser, kDesktopKey, "SCRNSAVE.EXE", told));
        EXPECT_EQ(told.substr(0, told.find('\0')), row.told);
    }
}

}  // namespace qm::test
