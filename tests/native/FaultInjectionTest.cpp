// What a load does when the platform fails in the middle of the pool file.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "platform/fake/FoldCase.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

TEST(PoolLoadFaults, AReadErrorMidFileKeepsEarlierEntriesAndMarksTheFileUnreadable) {
    FakeFileSystem files;
    FakeRegistry registry;
    FakeSystem system;
    files.AddFile("C:\\M\\a.bmp", "x");
    files.AddFile("C:\\M\\b.bmp", "x");
    std::string first = Record("a.bmp", "C:\\M\\", 0, 1, 0, 0, 0);
    files.AddFile("C:\\WINDOWS\\qmfiles.cfg", first + Record("b.bmp", "C:\\M\\", 0, 1, 0, 0, 0));
    files.readErrorAfter[FoldCase("C:\\WINDOWS\\qmfiles.cfg")] = static_cast<long>(first.size() + 3);
    SetWallpaperFileCount(registry, 2);
    CPools pools;
    // The error strikes inside the archive's first 4,096-byte fill, so nothing is read.
    PoolLoadResult result = LoadPools(pools, registry, files, system, "C:\\WINDOWS\\", 10);
    EXPECT_TRUE(result.fileUnreadable);
    EXPECT_TRUE(pools.m_bPoolFileUnreadable);
    EXPECT_TRUE(result.counterMismatch);
    EXPECT_EQ(GetWallpaperFileCount(registry), 2);  // the load never writes the counters
}

TEST(PoolLoadFaults, AnErrorAfterTheFirstBufferKeepsTheEntriesOfThatBuffer) {
    FakeFileSystem files;
    FakeRegistry registry;
    FakeSystem system;
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        std::string name = "file" + std::to_string(i) + ".bmp";
        files.AddFile("C:\\M\\" + name, "x");
        bytes += Record(name, "C:\\M\\", 0, 1, 0, 0, 0);
    }
    files.AddFile("C:\\WINDOWS\\qmfiles.cfg", bytes);
    files.readErrorAfter[FoldCase("C:\\WINDOWS\\qmfiles.cfg")] = 4096;
    SetWallpaperFileCount(registry, 200);
    CPools pools;
    PoolLoadResult result = LoadPools(pools, registry, files, system, "C:\\WINDOWS\\", 10);
    EXPECT_TRUE(result.fileUnreadable);
    EXPECT_GT(pools.m_nWallpaperFiles, 0);
    EXPECT_LT(pools.m_nWallpaperFiles, 200);
}

TEST(PoolLoadFaults, NoWindowsDirectoryMeansNoPoolFile) {
    FakeFileSystem files;
    FakeRegistry registry;
    FakeSystem system;
    files.AddFile("qmfiles.cfg", Record("a.bmp", "", 0, 1, 0, 0, 0));
    files.AddFile("a.bmp", "x");
    SetWallpaperFileCount(registry, 1);
    CPools pools;
    PoolLoadResult result = LoadPools(pools, registry, files, system, "", 10);
    EXPECT_FALSE(result.counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 0);
}

}  // namespace qm::test
