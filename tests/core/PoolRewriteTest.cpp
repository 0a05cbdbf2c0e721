// Applying the Manage Files changes to the pool file and the counters, on the fakes natively
// and on the real registry and files under Wine, with a failure injected at every write.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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
    // The dialog as the pools fill it, before the user changes anything.
    PoolChanges Listed() {
        LoadPools(loaded, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100);
        PoolChanges changes;
        for (const auto* pool : {&loaded.m_wallpaperFiles, &loaded.m_screenSaverFiles, &loaded.m_soundFiles})
            changes.listed.insert(changes.listed.end(), pool->begin(), pool->end());
        changes.shownSchemes = {"Default", "Jungle", "Robotz"};
        return changes;
    }
    RewriteResult Rewrite(const PoolChanges& changes) { return Rewrite(platform->Files(), platform->Registry(), changes); }
    RewriteResult Rewrite(IFileSystem& files, IRegistry& registry, const PoolChanges& changes) {
        return RewritePools(files, registry, platform->System(), windowsDir, changes);
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

    CPools loaded;  // what Listed() showed
};

// What the user changed in the dialog, applied: the records the rewritten file holds, in
// order, and the counters, which a fresh load then finds matching.
TEST_F(PoolRewrite, TheUsersChangesGiveTheseRecordsAndCounters) {
    struct Row {
        const char* label;
        std::function<void()> prepare;
        std::size_t listed;                           // entries the dialog shows
        std::function<void(PoolChanges&)> change;     // what the user did there
        std::string expected;                         // the file afterwards
        std::vector<int> counters;                    // sounds, wallpapers, screen savers
        std::vector<int> recounts;                    // counters lost or inflated, then the same changes again
    };
    const Row rows[] = {
        {"removals, a tile flag and cleared ticks; everything else stays in order", [&] { PrepareMixedPools(); }, 9,
         [&](PoolChanges& changes) {
             changes.removed = {media + "a.wav", media + "b.scr"};
             changes.tiles[media + "c.bmp"] = 1;
             changes.schemes[media + "b.wav"] = {};
         },
         // The gone file's record goes with the rewrite.
         Record("a.bmp", media, 0, 1, 0, 0, 0) + Record("a.scr", media, 0, 0, 1, 0, 0) +
             Record("b.bmp", media, 0, 1, 0, 0, 1) + Record("b.wav", media, 1, 0, 0, 0, 0) +  // ticks cleared: count 0
             Record("c.bmp", media, 0, 1, 0, 0, 1) +                                           // only its tile field
             Record("c.wav", media, 1, 0, 0, 1, 0, {"Default"}) + Record("c.scr", media, 0, 0, 1, 0, 0),
         {2, 3, 2}, {}},
        {"removing everything leaves an empty file", [&] { PrepareMixedPools(); }, 9,
         [&](PoolChanges& changes) { changes.removed = changes.listed; }, "", {0, 0, 0}, {}},
        // A scheme the dialog did not list (its application missing for this run) could be neither
        // seen nor unticked: the sound keeps it, after the ticked ones.
        {"paths match exactly and a sound keeps the schemes the dialog did not show",
         [&] {
             Prepare(Record(File("a.wav"), media, 1, 0, 0, 2, 0, {"Gone App", "Jungle"}) +
                         Record(File("b.bmp"), media, 0, 1, 0, 0, 0) +
                         Record(File("c.wav"), media, 1, 0, 0, 1, 0, {"Gone App"}),
                     2, 1, 0);
         },
         3,
         [&](PoolChanges& changes) {
             changes.removed = {media + "B.BMP"};  // another letter case is another path
             changes.schemes[media + "a.wav"] = {"Robotz"};
         },
         Record("a.wav", media, 1, 0, 0, 2, 0, {"Robotz", "Gone App"}) + Record("b.bmp", media, 0, 1, 0, 0, 0) +
             Record("c.wav", media, 1, 0, 0, 1, 0, {"Gone App"}),  // untouched: all its names
         {2, 1, 0}, {}},
        // Counted: two records; beyond the counters one whose file exists and one whose file is gone.
        {"records the dialog never showed are kept while their file exists",
         [&] {
             Prepare(Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("b.bmp"), media, 0, 1, 0, 0, 0) +
                         Record(File("c.bmp"), media, 0, 1, 0, 0, 1) + Record("gone.bmp", media, 0, 1, 0, 0, 0),
                     0, 2, 0);
         },
         2, [](PoolChanges&) {},
         Record("a.bmp", media, 0, 1, 0, 0, 0) + Record("b.bmp", media, 0, 1, 0, 0, 0) +
             Record("c.bmp", media, 0, 1, 0, 0, 1),
         {0, 3, 0}, {0, 7}},  // the file decides, not the counters
        {"a record flagged both sound and wallpaper stays the sound the load made of it",
         [&] { Prepare(Record(File("odd.wav"), media, 1, 1, 0, 1, 0, {"Jungle"}), 1, 0, 0); }, 1,
         [&](PoolChanges& changes) { changes.schemes[media + "odd.wav"] = {"Robotz"}; },
         Record("odd.wav", media, 1, 1, 0, 1, 0, {"Robotz"}), {1, 0, 0}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        row.prepare();
        PoolChanges changes = Listed();
        ASSERT_EQ(changes.listed.size(), row.listed);
        row.change(changes);
        std::vector<int> recounts = row.recounts;
        recounts.insert(recounts.begin(), -1);  // -1: the counters as prepared
        for (int counter : recounts) {
            SCOPED_TRACE(counter);
            if (counter >= 0) SetCounters(counter, counter, counter);
            const RewriteResult result = Rewrite(changes);
            EXPECT_EQ(result.outcome, RewriteOutcome::rewritten);
            EXPECT_EQ(RewriteMessage(result.outcome), "");
            EXPECT_TRUE(FindFileInFolder(platform->Files(), windowsDir, kPoolFileName));
            EXPECT_EQ(PoolFile(), row.expected);
            EXPECT_EQ(Counters(), row.counters);
            EXPECT_FALSE(TempLeft());
            CPools pools;
            EXPECT_FALSE(LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100)
                             .counterMismatch);
        }
    }
}

TEST_F(PoolRewrite, WithoutAPoolFileNothingIsTouchedAndOnlyListedEntriesAreReported) {
    SetSoundFileCount(platform->Registry(), 2);
    RewriteResult quiet = Rewrite(PoolChanges());
    EXPECT_EQ(quiet.outcome, RewriteOutcome::nothingToDo);
    EXPECT_EQ(RewriteMessage(quiet.outcome), "");
    PoolChanges changes;
    changes.listed = {media + "a.wav"};
    RewriteResult told = Rewrite(changes);
    EXPECT_EQ(told.outcome, RewriteOutcome::noPoolFile);
    EXPECT_EQ(RewriteMessage(told.outcome), kManagePoolFileMissingMessage);
    EXPECT_FALSE(FindFileInFolder(platform->Files(), windowsDir, kPoolFileName));
    EXPECT_EQ(Counters(), (std::vector<int>{2, 0, 0}));
}

TEST_F(PoolRewrite, AFileFailureAtAnyStepKeepsTheOldFileAndCounters) {
    PrepareMixedPools();
    PoolChanges changes = Listed();
    changes.removed = loaded.m_soundFiles;
    const std::string old = PoolFile();
    const std::vector<int> oldCounters = Counters();
    FaultInjector faults;
    FaultyFileSystem files(platform->Files(), faults);
    {
        // Count the calls of a rewrite on a copy of the state, then put the state back.
        ASSERT_EQ(Rewrite(files, platform->Registry(), changes).outcome, RewriteOutcome::rewritten);
        Prepare(old, oldCounters[0], oldCounters[1], oldCounters[2]);
    }
    std::vector<std::pair<FileOp, int>> steps = {{FileOp::OpenRead, 1}, {FileOp::OpenWrite, 1},
                                                 {FileOp::FlushToDisk, 1}, {FileOp::Close, 1},
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
    ASSERT_EQ(Rewrite(platform->Files(), registry, changes).outcome, RewriteOutcome::rewritten);
    EXPECT_EQ(Counters(), (std::vector<int>{0, 1, 2}));
    std::vector<std::pair<RegistryOp, int>> steps;
    for (RegistryOp op : {RegistryOp::Contents, RegistryOp::CreateKey, RegistryOp::SetValue})
        for (int nth = 1; nth <= faults.Calls(op); ++nth) steps.push_back({op, nth});
    ASSERT_GE(steps.size(), 9u);
    int failures = 0;
    for (const auto& [op, nth] : steps) {
        SCOPED_TRACE(static_cast<int>(op) * 100 + nth);
        Prepare(old, 2, 1, 0);
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
