// Applying the Manage Files changes to the pool file and the counters, on the fakes natively
// and on the real registry and files under Wine, with a failure injected at every write.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "core/TestPlatform.h"
#include "platform/fault/FaultInjection.h"
#include "pools/FileSearch.h"
#include "pools/PoolFileIO.h"
#include "pools/PoolLoader.h"
#include "pools/PoolRewrite.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

class PoolRewrite : public PoolFixture {
protected:
    void Prepare(const std::string& bytes, int sounds, int wallpapers, int savers) {
        WritePoolFile(bytes);
        SetCounters(sounds, wallpapers, savers);
    }
    // The dialog's lists as the pools fill them: every loaded entry, with its own data.
    PoolChanges Listed() {
        CPools pools;
        LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100);
        PoolChanges changes;
        changes.wallpapers = pools.m_wallpaperFiles;
        changes.tileFlags = pools.m_wallpaperTile;
        changes.screenSavers = pools.m_screenSaverFiles;
        changes.sounds = pools.m_soundFiles;
        for (const SchemeList& list : pools.m_soundSchemes) changes.schemeLists.push_back(list.names);
        loaded = pools.m_nSoundFiles + pools.m_nWallpaperFiles + pools.m_nScreenSaverFiles;
        return changes;
    }
    RewriteResult Rewrite(const PoolChanges& changes) { return Rewrite(platform->Files(), platform->Registry(), changes); }
    RewriteResult Rewrite(IFileSystem& files, IRegistry& registry, const PoolChanges& changes) {
        return RewritePools(files, registry, platform->System(), windowsDir, changes, loaded);
    }
    std::string PoolFile() { return platform->ReadFile(windowsDir + kPoolFileName); }
    std::vector<int> Counters() {
        return {GetSoundFileCount(platform->Registry()), GetWallpaperFileCount(platform->Registry()),
                GetScreenSaverFileCount(platform->Registry())};
    }
    bool TempLeft() { return FindFileInFolder(platform->Files(), windowsDir, kPoolTempFileName); }

    // Three of each kind, interleaved, and one record of a file that is gone.
    void PrepareMixedPools() {
        Prepare(Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("a.wav"), media, 1, 0, 0, 1, 0, {"Jungle"}) +
                    Record("gone.wav", media, 1, 0, 0, 0, 0) + Record(File("a.scr"), media, 0, 0, 1, 0, 0) +
                    Record(File("b.bmp"), media, 0, 1, 0, 0, 1) +
                    Record(File("b.wav"), media, 1, 0, 0, 2, 0, {"Jungle", "Robotz"}) +
                    Record(File("b.scr"), media, 0, 0, 1, 0, 0) + Record(File("c.bmp"), media, 0, 1, 0, 0, 0) +
                    Record(File("c.wav"), media, 1, 0, 0, 1, 0, {"Default"}) + Record(File("c.scr"), media, 0, 0, 1, 0, 0),
                4, 3, 3);
    }

    long long loaded = 0;
};

TEST_F(PoolRewrite, KeepsListedRecordsInOrderWithTheNewTileFlagsAndSchemes) {
    PrepareMixedPools();
    PoolChanges changes = Listed();
    ASSERT_EQ(changes.sounds.size(), 3u);
    // Remove a.wav and b.scr, tile c.bmp (the third wallpaper), clear b.wav's schemes.
    changes.sounds.erase(changes.sounds.begin());
    changes.schemeLists.erase(changes.schemeLists.begin());
    changes.schemeLists[0].clear();
    changes.screenSavers.erase(changes.screenSavers.begin() + 1);
    changes.tileFlags[2] = 1;

    RewriteResult result = Rewrite(changes);
    EXPECT_EQ(result.outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(RewriteMessage(result.outcome), "");
    const std::string expected =
        Record("a.bmp", media, 0, 1, 0, 0, 0) + Record("a.scr", media, 0, 0, 1, 0, 0) +
        Record("b.bmp", media, 0, 1, 0, 0, 1) + Record("b.wav", media, 1, 0, 0, 0, 0) +  // ticks cleared: count 0
        Record("c.bmp", media, 0, 1, 0, 0, 1) +                                           // only its tile field
        Record("c.wav", media, 1, 0, 0, 1, 0, {"Default"}) + Record("c.scr", media, 0, 0, 1, 0, 0);
    EXPECT_EQ(PoolFile(), expected);
    EXPECT_EQ(Counters(), (std::vector<int>{2, 3, 2}));
    EXPECT_FALSE(TempLeft());
    // The gone file's record went with the rewrite, so the next load finds no mismatch.
    CPools pools;
    EXPECT_FALSE(LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100)
                     .counterMismatch);
}

TEST_F(PoolRewrite, RemovingEverythingLeavesAnEmptyFileAndZeroCounters) {
    PrepareMixedPools();
    Listed();
    EXPECT_EQ(Rewrite(PoolChanges()).outcome, RewriteOutcome::rewritten);
    EXPECT_TRUE(FindFileInFolder(platform->Files(), windowsDir, kPoolFileName));
    EXPECT_EQ(PoolFile(), "");
    EXPECT_EQ(Counters(), (std::vector<int>{0, 0, 0}));
}

TEST_F(PoolRewrite, PathsMatchExactlyAndEveryListedCopyOfASoundGivesItsSchemes) {
    Prepare(Record(File("a.wav"), media, 1, 0, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0), 1, 1, 0);
    PoolChanges changes;
    changes.sounds = {media + "a.wav", media + "a.wav"};
    changes.schemeLists = {{"Jungle"}, {"Robotz", ""}};
    changes.wallpapers = {media + "B.BMP"};  // another letter case is another path
    changes.tileFlags = {1};
    EXPECT_EQ(Rewrite(changes).outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(PoolFile(), Record("a.wav", media, 1, 0, 0, 2, 0, {"Jungle", "Robotz"}));
    EXPECT_EQ(Counters(), (std::vector<int>{1, 0, 0}));
}

TEST_F(PoolRewrite, ReadsOnlyTheCountedRecordsAndTakesAnEarlyEndAsTheEnd) {
    // Counted: two records; a third lies beyond the counters and was never loaded.
    Prepare(Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0) +
                Record(File("c.bmp"), media, 0, 1, 0, 0, 0),
            0, 2, 0);
    PoolChanges changes = Listed();
    changes.wallpapers.push_back(media + "c.bmp");  // even listed, an uncounted record is not read
    changes.tileFlags.push_back(0);
    EXPECT_EQ(Rewrite(changes).outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(PoolFile(), Record("a.bmp", media, 0, 1, 0, 0, 0) + Record("b.bmp", media, 0, 1, 0, 0, 0));

    // Counters promising more records than the file holds: the copy ends with the file.
    SetWallpaperFileCount(platform->Registry(), 7);
    EXPECT_EQ(Rewrite(changes).outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(PoolFile(), Record("a.bmp", media, 0, 1, 0, 0, 0) + Record("b.bmp", media, 0, 1, 0, 0, 0));
    EXPECT_EQ(Counters(), (std::vector<int>{0, 2, 0}));
}

TEST_F(PoolRewrite, ARecordFlaggedBothSoundAndWallpaperIsKeptAsTheSoundTheLoadMadeOfIt) {
    Prepare(Record(File("odd.wav"), media, 1, 1, 0, 1, 0, {"Jungle"}), 1, 0, 0);
    PoolChanges changes = Listed();
    ASSERT_EQ(changes.sounds.size(), 1u);
    changes.schemeLists[0] = {"Robotz"};
    EXPECT_EQ(Rewrite(changes).outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(PoolFile(), Record("odd.wav", media, 1, 1, 0, 1, 0, {"Robotz"}));
    EXPECT_EQ(Counters(), (std::vector<int>{1, 0, 0}));
}

TEST_F(PoolRewrite, WithoutAPoolFileNothingIsTouchedAndOnlyListedEntriesAreReported) {
    SetSoundFileCount(platform->Registry(), 2);
    RewriteResult quiet = Rewrite(PoolChanges());
    EXPECT_EQ(quiet.outcome, RewriteOutcome::nothingToDo);
    EXPECT_EQ(RewriteMessage(quiet.outcome), "");
    PoolChanges changes;
    changes.sounds = {media + "a.wav"};
    changes.schemeLists = {{}};
    RewriteResult told = Rewrite(changes);
    EXPECT_EQ(told.outcome, RewriteOutcome::noPoolFile);
    EXPECT_EQ(RewriteMessage(told.outcome), kManagePoolFileMissingMessage);
    EXPECT_FALSE(FindFileInFolder(platform->Files(), windowsDir, kPoolFileName));
    EXPECT_EQ(Counters(), (std::vector<int>{2, 0, 0}));
}

TEST_F(PoolRewrite, CountersThatNoLongerCoverTheLoadedEntriesLeaveTheFileAlone) {
    PrepareMixedPools();
    PoolChanges changes = Listed();
    const std::string old = PoolFile();
    SetSoundFileCount(platform->Registry(), 0);  // the counter reads 0 now: a failed read looks the same
    EXPECT_EQ(Rewrite(changes).outcome, RewriteOutcome::fileFailed);
    EXPECT_EQ(PoolFile(), old);
}

TEST_F(PoolRewrite, AFileFailureAtAnyStepKeepsTheOldFileAndCounters) {
    PrepareMixedPools();
    PoolChanges changes = Listed();
    changes.sounds.clear();
    changes.schemeLists.clear();
    const std::string old = PoolFile();
    const std::vector<int> oldCounters = Counters();
    FaultInjector faults;
    FaultyFileSystem files(platform->Files(), faults);
    {
        // Count the calls of a rewrite on a copy of the state, then put the state back.
        ASSERT_EQ(Rewrite(files, platform->Registry(), changes).outcome, RewriteOutcome::rewritten);
        platform->WriteFile(windowsDir + kPoolFileName, old);
        SetSoundFileCount(platform->Registry(), oldCounters[0]);
        SetWallpaperFileCount(platform->Registry(), oldCounters[1]);
        SetScreenSaverFileCount(platform->Registry(), oldCounters[2]);
    }
    std::vector<std::pair<FileOp, int>> steps = {{FileOp::OpenRead, 1}, {FileOp::OpenWrite, 1}, {FileOp::Close, 1},
                                                 {FileOp::MoveReplacing, 1}};
    for (int nth = 1; nth <= faults.Calls(FileOp::Write); ++nth) steps.push_back({FileOp::Write, nth});
    for (int nth = 1; nth <= faults.Calls(FileOp::Read); ++nth) steps.push_back({FileOp::Read, nth});
    for (const auto& [op, nth] : steps) {
        SCOPED_TRACE(static_cast<int>(op) * 100 + nth);
        faults.Reset();
        faults.FailNth(op, nth);
        RewriteResult result = Rewrite(files, platform->Registry(), changes);
        EXPECT_EQ(result.outcome, RewriteOutcome::fileFailed);
        EXPECT_EQ(RewriteMessage(result.outcome), kManagePoolFileFailedMessage);
        EXPECT_EQ(PoolFile(), old);
        EXPECT_EQ(Counters(), oldCounters);
        EXPECT_FALSE(TempLeft());
    }
}

TEST_F(PoolRewrite, ACounterFailureAtAnyWriteLeavesCountersThatReadEveryNewRecord) {
    // The counters do not follow the kinds of the file: the sound counter falls to 0 while
    // the screen-saver counter rises, so a careless order would hide records.
    Prepare(Record(File("a.scr"), media, 0, 0, 1, 0, 0) + Record(File("b.scr"), media, 0, 0, 1, 0, 0) +
                Record(File("c.bmp"), media, 0, 1, 0, 0, 0),
            2, 1, 0);
    PoolChanges changes = Listed();
    const std::string old = PoolFile();
    FaultInjector faults;
    FaultyRegistry registry(platform->Registry(), faults);
    auto restore = [&] {
        platform->WriteFile(windowsDir + kPoolFileName, old);
        SetSoundFileCount(platform->Registry(), 2);
        SetWallpaperFileCount(platform->Registry(), 1);
        SetScreenSaverFileCount(platform->Registry(), 0);
    };
    ASSERT_EQ(Rewrite(platform->Files(), registry, changes).outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(Counters(), (std::vector<int>{0, 1, 2}));
    std::vector<std::pair<RegistryOp, int>> steps;
    for (RegistryOp op : {RegistryOp::Contents, RegistryOp::CreateKey, RegistryOp::SetValue})
        for (int nth = 1; nth <= faults.Calls(op); ++nth) steps.push_back({op, nth});
    ASSERT_GE(steps.size(), 9u);
    int failures = 0;
    for (const auto& [op, nth] : steps) {
        SCOPED_TRACE(static_cast<int>(op) * 100 + nth);
        restore();
        faults.Reset();
        faults.FailNth(op, nth);
        RewriteResult result = Rewrite(platform->Files(), registry, changes);
        // A failed write that left its counter at the right count changes nothing.
        if (result.outcome == RewriteOutcome::rewritten)
            EXPECT_EQ(Counters(), (std::vector<int>{0, 1, 2}));
        else
            EXPECT_EQ(RewriteMessage(result.outcome), kManageCountersFailedMessage);
        EXPECT_EQ(PoolFile(), Record("a.scr", media, 0, 0, 1, 0, 0) + Record("b.scr", media, 0, 0, 1, 0, 0) +
                                  Record("c.bmp", media, 0, 1, 0, 0, 0));
        EXPECT_FALSE(TempLeft());
        CPools pools;
        LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100);
        EXPECT_EQ(pools.m_nScreenSaverFiles, 2) << "every record of the new file is read";
        EXPECT_EQ(pools.m_nWallpaperFiles, 1);
        failures += result.outcome == RewriteOutcome::countersFailed;
    }
    // A failed look at a key still writes it; a failed set leaves a counter short and is reported.
    EXPECT_GE(failures, 2) << "failed sets of a counter are reported";
}

}  // namespace qm::test
