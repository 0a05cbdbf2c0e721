// The fault-injecting wrappers over the platform under test (the fakes natively, the real
// registry and files under Wine), and what a load and a pool-file write do when the
// platform fails part-way.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "core/TestPlatform.h"
#include "platform/fault/FaultInjection.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        platform = MakeTestPlatform();
        dir = platform->Scratch();
    }
    // Writes `records` wallpaper records with long names through `files`, as a writer of
    // the pool file does; true when every byte was stored and the file closed cleanly.
    bool WritePoolFile(IFileSystem& files, int records) {
        std::unique_ptr<IWriteStream> out = files.OpenWrite(dir + kPoolFileName, WriteMode::CreateAlways);
        if (!out) return false;
        bool stored = true;
        {
            CArchive archive(*out);
            CFileEntry entry;
            for (int i = 0; i < records && stored; ++i) {
                entry.SetFile(std::string(200, 'a') + std::to_string(i) + ".bmp", dir, kindWallpaper);
                stored = entry.Serialize(archive);
            }
            stored = stored && archive.Flush();
        }
        return out->Close() && stored;
    }

    std::unique_ptr<TestPlatform> platform;
    std::string dir;
    FaultInjector faults;
};

// 100 records of about 230 bytes fill the archive's 4,096-byte buffer five times and more.
TEST_F(Faults, TheNthWriteOfAPoolFileFailsAndTheWriterSaysSo) {
    FaultyFileSystem files(platform->Files(), faults);
    ASSERT_TRUE(WritePoolFile(files, 100));
    const int writes = faults.Calls(FileOp::Write);
    ASSERT_GE(writes, 5);
    for (int nth : {1, 2, writes}) {
        SCOPED_TRACE(nth);
        faults.Reset();
        faults.FailNth(FileOp::Write, nth);
        EXPECT_FALSE(WritePoolFile(files, 100));
        EXPECT_EQ(faults.Calls(FileOp::Write), nth);  // the archive stops at the first failure
        // Every buffer before the failed one reached the file, and nothing after it.
        EXPECT_EQ(platform->ReadFile(dir + kPoolFileName).size(), static_cast<std::size_t>(nth - 1) * 4096);
    }
}

TEST_F(Faults, AFaultStrikesOnceOrFromTheNthCallOn) {
    FaultyFileSystem files(platform->Files(), faults);
    platform->WriteFile(dir + "a.bmp", "picture");
    faults.FailNth(FileOp::Copy, 2);
    EXPECT_TRUE(files.Copy(dir + "a.bmp", dir + "b.bmp"));
    EXPECT_FALSE(files.Copy(dir + "a.bmp", dir + "c.bmp"));
    EXPECT_TRUE(files.Copy(dir + "a.bmp", dir + "d.bmp"));
    EXPECT_EQ(platform->ReadFile(dir + "d.bmp"), "picture");

    faults.Reset();
    faults.FailNth(FileOp::Copy, 2, true);
    EXPECT_TRUE(files.Copy(dir + "a.bmp", dir + "e.bmp"));
    EXPECT_FALSE(files.Copy(dir + "a.bmp", dir + "f.bmp"));
    EXPECT_FALSE(files.Copy(dir + "a.bmp", dir + "g.bmp"));
    EXPECT_EQ(platform->ReadFile(dir + "g.bmp"), "");  // a failed call never reaches the platform
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
        for (int i = 0; i < count; ++i) {
            std::string name = "file" + std::to_string(i) + ".bmp";
            platform->WriteFile(dir + name, "x");
            bytes += Record(name, dir, 0, 1, 0, 0, 0);
        }
        platform->WriteFile(dir + kPoolFileName, bytes);
        SetWallpaperFileCount(platform->Registry(), count);
    }
    PoolLoadResult Load() {
        FaultyFileSystem files(platform->Files(), faults);
        return LoadPools(pools, platform->Registry(), files, platform->System(), dir, 10);
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
    WriteRecords(200);  // about 5,000 bytes: two buffers
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
