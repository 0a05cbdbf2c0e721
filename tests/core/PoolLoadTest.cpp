// Loading the pools from the pool file and the registry counters.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "core/TestPlatform.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

class PoolLoad : public PoolFixture {
protected:
    PoolLoadResult Load(int schemeCapacity = 100) {
        return LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir,
                         schemeCapacity);
    }

    CPools pools;
};

TEST_F(PoolLoad, EntriesGoToTheirPoolsInFileOrder) {
    WritePoolFile(Record(File("a.wav"), media, 1, 0, 0, 2, 0, {"Default", "Jungle"}) +
                  Record(File("b.bmp"), media, 0, 1, 0, 0, 1) + Record(File("c.scr"), media, 0, 0, 1, 0, 0) +
                  Record(File("d.bmp"), media, 0, 1, 0, 0, 0) +
                  Record(File("e.scr"), media, 0, 0, 0, 0, 0));  // neither flag: a screen saver
    SetCounters(1, 2, 2);
    PoolLoadResult result = Load();
    EXPECT_FALSE(result.counterMismatch);
    ASSERT_EQ(pools.m_nSoundFiles, 1);
    EXPECT_EQ(pools.m_soundFiles[0], media + "a.wav");
    EXPECT_EQ(pools.m_soundSchemes[0].names, (std::vector<std::string>{"Default", "Jungle"}));
    ASSERT_EQ(pools.m_nWallpaperFiles, 2);
    EXPECT_EQ(pools.m_wallpaperFiles[1], media + "d.bmp");
    EXPECT_EQ(pools.m_wallpaperTile, (std::vector<std::int32_t>{1, 0}));
    ASSERT_EQ(pools.m_nScreenSaverFiles, 2);
    EXPECT_EQ(pools.m_screenSaverFiles[1], media + "e.scr");
    EXPECT_EQ(pools.m_soundSchemes.size(), 1u);  // one scheme list per sound
}

TEST_F(PoolLoad, ZeroCountersReadNothingFromAFullFile) {
    WritePoolFile(Record(File("b.bmp"), media, 0, 1, 0, 0, 1) + Record(File("c.scr"), media, 0, 0, 1, 0, 0));
    SetCounters(0, 0, 0);
    EXPECT_FALSE(Load().counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles + pools.m_nScreenSaverFiles + pools.m_nSoundFiles, 0);
}

TEST_F(PoolLoad, NoPoolFileLeavesPoolsEmptyWithoutMessage) {
    SetCounters(3, 2, 1);
    PoolLoadResult result = Load();
    EXPECT_FALSE(result.counterMismatch);
    EXPECT_FALSE(result.fileUnreadable);
    EXPECT_EQ(pools.m_nWallpaperFiles + pools.m_nScreenSaverFiles + pools.m_nSoundFiles, 0);
}

TEST_F(PoolLoad, EachSoundKeepsOnlyItsOwnSchemeNames) {
    WritePoolFile(Record(File("a.wav"), media, 1, 0, 0, 5, 0, {"s1", "s2", "s3", "s4", "s5"}) +
                  Record(File("b.wav"), media, 1, 0, 0, 2, 0, {"t1", "t2"}) +
                  Record(File("c.wav"), media, 1, 0, 0, 3, 0, {"", "", ""}) +
                  Record(File("d.wav"), media, 1, 0, 0, -4, 0) +
                  Record(File("e.wav"), media, 1, 0, 0, 3, 0, {"u1", "", "u3"}));
    SetCounters(5, 0, 0);
    EXPECT_FALSE(Load().counterMismatch);
    ASSERT_EQ(pools.m_nSoundFiles, 5);
    EXPECT_EQ(pools.m_soundSchemes[0].names.size(), 5u);
    EXPECT_EQ(pools.m_soundSchemes[1].names, (std::vector<std::string>{"t1", "t2"}));
    EXPECT_TRUE(pools.m_soundSchemes[2].names.empty());
    EXPECT_TRUE(pools.m_soundSchemes[3].names.empty());
    EXPECT_EQ(pools.m_soundSchemes[4].names, (std::vector<std::string>{"u1"}));
}

TEST_F(PoolLoad, SchemeListsStopAtTheirCapacityAndLongListsKeepRecordsAligned) {
    std::vector<std::string> many;
    for (int i = 0; i < 130; ++i) many.push_back("scheme" + std::to_string(i));
    WritePoolFile(Record(File("a.wav"), media, 1, 0, 0, 130, 0, many) + Record(File("b.bmp"), media, 0, 1, 0, 0, 1));
    SetCounters(1, 1, 0);
    EXPECT_FALSE(Load(3).counterMismatch);
    EXPECT_EQ(pools.m_soundSchemes[0].names, (std::vector<std::string>{"scheme0", "scheme1", "scheme2"}));
    ASSERT_EQ(pools.m_nWallpaperFiles, 1);
    EXPECT_EQ(pools.m_wallpaperFiles[0], media + "b.bmp");
}

TEST_F(PoolLoad, RecordsOfMissingFilesAreSkippedAndReported) {
    WritePoolFile(Record("gone.bmp", media, 0, 1, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0) +
                  Record("b.bmp", media.substr(0, media.size() - 1), 0, 1, 0, 0, 0));  // folder lacks its backslash
    SetCounters(0, 3, 0);
    EXPECT_TRUE(Load().counterMismatch);
    ASSERT_EQ(pools.m_nWallpaperFiles, 1);
    EXPECT_EQ(pools.m_wallpaperFiles[0], media + "b.bmp");
}

TEST_F(PoolLoad, ATruncatedFileKeepsWhatWasReadAndReportsOnce) {
    std::string full = Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0);
    for (std::size_t cut = full.size() / 2 + 1; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        WritePoolFile(full.substr(0, cut));
        SetCounters(0, 2, 0);
        PoolLoadResult result = Load();
        EXPECT_TRUE(result.counterMismatch);
        EXPECT_FALSE(result.fileUnreadable);
        EXPECT_EQ(pools.m_nWallpaperFiles, 1);
    }
}

TEST_F(PoolLoad, SurplusRecordsBeyondTheCountersAreNotRead) {
    WritePoolFile(Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0));
    SetCounters(0, 1, 0);
    EXPECT_FALSE(Load().counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 1);
}

TEST_F(PoolLoad, APoolFullerThanItsCounterGrowsAndKeepsEveryEntry) {
    // A file missing at the last load is back: two wallpapers, but the counter says one.
    WritePoolFile(Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0) +
                  Record(File("c.wav"), media, 1, 0, 0, 0, 0));
    SetCounters(1, 1, 1);
    EXPECT_TRUE(Load().counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 2);
    EXPECT_EQ(pools.m_wallpaperTile.size(), 2u);
    EXPECT_EQ(pools.m_nSoundFiles, 1);
    EXPECT_EQ(pools.m_nScreenSaverFiles, 0);
}

TEST_F(PoolLoad, TheSoundPoolStopsAtItsTenThousandSlots) {
    // Records beyond the sound pool's slots stay in the file and out of memory; the
    // wallpaper after them still loads.
    const int sounds = CPools::kSoundSlots + 2;
    std::string record = Record(File("a.wav"), media, 1, 0, 0, 1, 0, {"Default"});
    std::string bytes;
    bytes.reserve(record.size() * sounds + 64);
    for (int i = 0; i < sounds; ++i) bytes += record;
    WritePoolFile(bytes + Record(File("b.bmp"), media, 0, 1, 0, 0, 0));
    SetCounters(sounds, 1, 0);
    EXPECT_TRUE(Load().counterMismatch);
    EXPECT_EQ(pools.m_nSoundFiles, CPools::kSoundSlots);
    EXPECT_EQ(pools.m_soundFiles.size(), static_cast<std::size_t>(CPools::kSoundSlots));
    EXPECT_EQ(pools.m_soundSchemes.back().names, std::vector<std::string>{"Default"});
    EXPECT_EQ(pools.m_nWallpaperFiles, 1);
}

TEST_F(PoolLoad, CorruptCountersNeitherAllocateNorOverflow) {
    WritePoolFile(Record(File("a.bmp"), media, 0, 1, 0, 0, 0));
    SetCounters(2147483647, 2147483647, -5);
    PoolLoadResult result = Load();
    EXPECT_TRUE(result.counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 1);
    EXPECT_LE(pools.m_soundFiles.capacity(), static_cast<std::size_t>(CPools::kSoundSlots));
}

TEST_F(PoolLoad, ALockedPoolFileIsRecordedAsUnreadable) {
    WritePoolFile(Record(File("a.bmp"), media, 0, 1, 0, 0, 0));
    SetCounters(0, 1, 0);
    if (!platform->LockFile(windowsDir + kPoolFileName)) GTEST_SKIP() << "this platform cannot lock a file";
    PoolLoadResult result = Load();
    EXPECT_TRUE(result.fileUnreadable);
    EXPECT_TRUE(pools.m_bPoolFileUnreadable);
    EXPECT_TRUE(result.counterMismatch);
    EXPECT_EQ(pools.m_nWallpaperFiles, 0);
}

TEST_F(PoolLoad, NamesAreMatchedIgnoringCaseAndKeepTheirHighCharacters) {
    std::string accented = "\xC9t\xE9.bmp";  // "Été.bmp" in the Western code page
    platform->WriteFile(media + accented, "x");
    WritePoolFile(Record("\xE9t\xE9.BMP", media, 0, 1, 0, 0, 0));
    SetCounters(0, 1, 0);
    EXPECT_FALSE(Load().counterMismatch);
    ASSERT_EQ(pools.m_nWallpaperFiles, 1);
    EXPECT_EQ(pools.m_wallpaperFiles[0], media + "\xE9t\xE9.BMP");
}

}  // namespace qm::test
