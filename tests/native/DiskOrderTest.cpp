// A file that replaces another is on the disk before its name moves: otherwise a power loss
// right after the move can leave the pool file or system.ini empty or cut short.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "pools/PoolFileIO.h"
#include "pools/PoolRewrite.h"
#include "randomize/SystemIni.h"

namespace qm {

TEST(DiskOrder, EveryReplacementIsFlushedBeforeItsMove) {
    const std::string dir = "C:\\WINDOWS\\";
    struct Case {
        const char* label;
        std::string temp, target, content;
        std::function<bool(FakeFileSystem&)> replace;
    };
    FakeRegistry registry;
    FakeSystem system;
    const Case cases[] = {
        {"pool file", dir + kPoolTempFileName, dir + kPoolFileName, "",
         [&](FakeFileSystem& files) {
             return RewritePools(files, registry, system, "C:\\WINDOWS\\", PoolChanges()).outcome ==
                    RewriteOutcome::rewritten;
         }},
        {"system.ini", dir + kSystemIniTempName, dir + kSystemIniName, "[boot]\r\n",
         [&](FakeFileSystem& files) { return SetScreenSaverInSystemIni(files, "C:\\WINDOWS\\", "C:\\a.scr"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeFileSystem files;
        files.AddFile(c.target, c.content);
        ASSERT_TRUE(c.replace(files));
        const auto flush = std::find(files.journal.begin(), files.journal.end(), "flush " + c.temp);
        const auto move = std::find(files.journal.begin(), files.journal.end(), "move " + c.temp + " > " + c.target);
        ASSERT_NE(move, files.journal.end());
        EXPECT_LT(flush, move);
    }
}

}  // namespace qm
