// Loading the pools from the pool file and the registry counters.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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

// The pool file and the counters against what a load keeps: whether it reports a mismatch,
// and the files each pool then holds, in file order.
TEST_F(PoolLoad, TheCountersAndTheRecordsDecideWhatIsKeptAndReported) {
    using Names = std::vector<std::string>;
    struct Row {
        std::string label;
        std::optional<std::string> file;  // none: no pool file at all
        int sounds, wallpapers, savers;   // the counters
        bool mismatch;
        Names keptSounds, keptWallpapers, keptSavers;
    };
    const std::string a = Record(File("a.bmp"), media, 0, 1, 0, 0, 0), b = Record(File("b.bmp"), media, 0, 1, 0, 0, 0);
    std::vector<Row> rows = {
        {"no pool file: empty, no message", std::nullopt, 3, 2, 1, false, {}, {}, {}},
        {"zero counters read nothing from a full file",
         Record(File("b.bmp"), media, 0, 1, 0, 0, 1) + Record(File("c.scr"), media, 0, 0, 1, 0, 0), 0, 0, 0, false, {},
         {}, {}},
        {"records of missing files are skipped and reported",
         Record("gone.bmp", media, 0, 1, 0, 0, 0) + b +
             Record("b.bmp", media.substr(0, media.size() - 1), 0, 1, 0, 0, 0),  // folder lacks its backslash
         0, 3, 0, true, {}, {"b.bmp"}, {}},
        {"surplus records beyond the counters are not read", a + b, 0, 1, 0, false, {}, {"a.bmp"}, {}},
        // A file missing at the last load is back: two wallpapers, but the counter says one.
        {"a pool fuller than its counter grows", a + b + Record(File("c.wav"), media, 1, 0, 0, 0, 0), 1, 1, 1, true,
         {"c.wav"}, {"a.bmp", "b.bmp"}, {}},
        {"corrupt counters neither allocate nor overflow", a, 2147483647, 2147483647, -5, true, {}, {"a.bmp"}, {}},
    };
    // Cut anywhere inside the second record: the first is kept and the shortfall reported once.
    for (std::size_t cut = (a + b).size() / 2 + 1; cut < (a + b).size(); ++cut)
        rows.push_back({"cut at " + std::to_string(cut), (a + b).substr(0, cut), 0, 2, 0, true, {}, {"a.bmp"}, {}});
    auto inMedia = [&](Names names) {
        for (std::string& name : names) name = media + name;
        return names;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        platform->DeleteFile(windowsDir + kPoolFileName);
        if (row.file) WritePoolFile(*row.file);
        SetCounters(row.sounds, row.wallpapers, row.savers);
        pools = CPools();
        const PoolLoadResult result = Load();
        EXPECT_EQ(result.counterMismatch, row.mismatch);
        EXPECT_FALSE(result.fileUnreadable);
        EXPECT_EQ(pools.m_soundFiles, inMedia(row.keptSounds));
        EXPECT_EQ(pools.m_wallpaperFiles, inMedia(row.keptWallpapers));
        EXPECT_EQ(pools.m_screenSaverFiles, inMedia(row.keptSavers));
        EXPECT_EQ(pools.m_nSoundFiles, static_cast<int>(row.keptSounds.size()));
        EXPECT_EQ(pools.m_nWallpaperFiles, static_cast<int>(row.keptWallpapers.size()));
        EXPECT_EQ(pools.m_nScreenSaverFiles, static_cast<int>(row.keptSavers.size()));
        EXPECT_EQ(pools.m_wallpaperTile.size(), row.keptWallpapers.size());
        EXPECT_LE(pools.m_soundFiles.capacity(), static_cast<std::size_t>(CPools::kSoundSlots));
    }
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
