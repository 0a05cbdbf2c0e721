// The fault-injecting wrappers over the platform under test (the fakes natively, the real
// registry and files under Wine), and what a load and a pool-file write do when the
// platform fails part-way.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "platform/fault/FaultInjection.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

class Faults : public PoolFixture {
protected:
    // Writes `records` wallpaper records with long names through `files`, as a writer of
    // the pool file does; true when every byte was stored and the file closed cleanly.
    bool WriteLongRecords(IFileSystem& files, int records) {
        std::unique_ptr<IWriteStream> out = files.OpenWrite(windowsDir + kPoolFileName, WriteMode::CreateAlways);
        if (!out) return false;
        bool stored = true;
        {
            CArchive archive(*out);
            CFileEntry entry;
            for (int i = 0; i < records && stored; ++i) {
                entry.SetFile(std::string(200, 'a') + std::to_string(i) + ".bmp", windowsDir, kindWallpaper);
                stored = entry.Serialize(archive);
            }
            stored = stored && archive.Flush();
        }
        return out->Close() && stored;
    }

    FaultInjector faults;
};

// 100 records of about 230 bytes fill the archive's 4,096-byte buffer five times and more.
TEST_F(Faults, TheNthWriteOfAPoolFileFailsAndTheWriterSaysSo) {
    FaultyFileSystem files(platform->Files(), faults);
    ASSERT_TRUE(WriteLongRecords(files, 100));
    const int writes = faults.Calls(FileOp::Write);
    ASSERT_GE(writes, 5);
    for (int nth : {1, 2, writes}) {
        SCOPED_TRACE(nth);
        faults.Reset();
        faults.FailNth(FileOp::Write, nth);
        EXPECT_FALSE(WriteLongRecords(files, 100));
        EXPECT_EQ(faults.Calls(FileOp::Write), nth);  // the archive stops at the first failure
        // Every buffer before the failed one reached the file, and nothing after it.
        EXPECT_EQ(platform->ReadFile(windowsDir + kPoolFileName).size(), static_cast<std::size_t>(nth - 1) * 4096);
    }
}

TEST_F(Faults, AFaultStrikesOnceOrFromTheNthCallOn) {
    FaultyFileSystem files(platform->Files(), faults);
    platform->WriteFile(windowsDir + "a.bmp", "picture");
    faults.FailNth(FileOp::Copy, 2);
    EXPECT_TRUE(files.Copy(windowsDir + "a.bmp", windowsDir + "b.bmp"));
    EXPECT_FALSE(files.Copy(windowsDir + "a.bmp", windowsDir + "c.bmp"));
    EXPECT_TRUE(files.Copy(windowsDir + "a.bmp", windowsDir + "d.bmp"));
    EXPECT_EQ(platform->ReadFile(windowsDir + "d.bmp"), "picture");

    faults.Reset();
    faults.FailNth(FileOp::Copy, 2, true);
    EXPECT_TRUE(files.Copy(windowsDir + "a.bmp", windowsDir + "e.bmp"));
    EXPECT_FALSE(files.Copy(windowsDir + "a.bmp", windowsDir + "f.bmp"));
    EXPECT_FALSE(files.Copy(windowsDir + "a.bmp", windowsDir + "g.bmp"));
    EXPECT_EQ(platform->ReadFile(windowsDir + "g.bmp"), "");  // a failed call never reaches the platform
    EXPECT_EQ(faults.Calls(FileOp::Copy), 3);
}

TEST_F(Faults, ARegistryWriteThatFailsKeepsTheOldText) {
    FaultyRegistry registry(platform->Registry(), faults);
    SetSoundFileCount(registry, 7);
    faults.Reset();
    faults.FailNth(RegistryOp::SetValue, 1);
    SetSoundFileCount(registry, 9);
    EXPECT_EQ(GetSoundFileCount(platform->Registry()), 7);
    SetSoundFileCount(registry, 12);
    EXPECT_EQ(GetSoundFileCount(platform->Registry()), 12);
}

class LoadFaults : public Faults {
protected:
    void WriteRecords(int count) {
        std::string bytes;
        for (int i = 0; i < count; ++i) bytes += Record(File("file" + std::to_string(i) + ".bmp"), media, 0, 1, 0, 0, 0);
        WritePoolFile(bytes);
        SetCounters(0, count, 0);
    }
    PoolLoadResult Load() {
        FaultyFileSystem files(platform->Files(), faults);
        return LoadPools(pools, platform->Registry(), files, platform->System(), windowsDir, 10);
    }
    CPools pools;
};

TEST_F(LoadFaults, AReadErrorInTheFirstBufferKeepsNothingAndMarksTheFileUnreadable) {
    WriteRecords(2);
    faults.FailNth(FileOp::Read, 1);
    PoolLoadResult result = Load();
    EXPECT_TRUE(result.fileUnreadable);
    EXPECT_TRUE(pools.m_bPoolFileUnreadable);
    EXPECT_TRUE(result.counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 0);
    EXPECT_EQ(GetWallpaperFileCount(platform->Registry()), 2);  // the load never writes the counters
}

TEST_F(LoadFaults, AReadErrorAfterTheFirstBufferKeepsTheEntriesOfThatBuffer) {
    WriteRecords(200);  // several buffers
    faults.FailNth(FileOp::Read, 2);
    PoolLoadResult result = Load();
    EXPECT_TRUE(result.fileUnreadable);
    EXPECT_GT(pools.m_nWallpaperFiles, 0);
    EXPECT_LT(pools.m_nWallpaperFiles, 200);
}

TEST_F(LoadFaults, NoWindowsDirectoryMeansNoPoolFile) {
    WriteRecords(1);
    PoolLoadResult result = LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), "", 10);
    EXPECT_FALSE(result.counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 0);
}

}  // namespace qm::test
