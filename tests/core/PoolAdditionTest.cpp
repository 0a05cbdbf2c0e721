// Adding a chooser batch to the pools, on the fakes natively and on real files and registry
// under Wine, with a failure injected at every file and registry write.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "core/TestPlatform.h"
#include "platform/fault/FaultInjection.h"
#include "pools/FileSearch.h"
#include "pools/PoolAddition.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

using Paths = std::set<std::string>;

class PoolAddition : public PoolFixture {
protected:
    PoolLoadResult Load(CPools& into) {
        return LoadPools(into, platform->Registry(), platform->Files(), platform->System(), windowsDir, 10);
    }
    AdditionOutcome Add(const std::vector<std::string>& names, std::vector<std::string> schemes = {},
                        bool tile = false) {
        return AddChosenFiles(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir,
                              ChosenFiles{media, names, std::move(schemes), tile});
    }
    static Paths All(const CPools& p) {
        Paths all(p.m_soundFiles.begin(), p.m_soundFiles.end());
        all.insert(p.m_wallpaperFiles.begin(), p.m_wallpaperFiles.end());
        all.insert(p.m_screenSaverFiles.begin(), p.m_screenSaverFiles.end());
        return all;
    }
    // The pools as the next start finds them.
    Paths Restart(bool* mismatch = nullptr) {
        CPools fresh;
        PoolLoadResult result = Load(fresh);
        if (mismatch) *mismatch = result.counterMismatch;
        EXPECT_FALSE(result.fileUnreadable);
        return All(fresh);
    }

    CPools pools;
};

TEST_F(PoolAddition, NewFilesGoToThePoolTheirEndingNamesWithTileAndSchemes) {
    Load(pools);
    AdditionOutcome outcome = Add({File("a.bmp"), File("b.wav"), File("c.SCR"), File("d.WAV"), File("a.bmp")},
                                  {"Default", "Jungle"}, true);
    EXPECT_EQ(outcome.added, 4);
    EXPECT_EQ(outcome.duplicates, 1);  // the same name twice is added once
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_FALSE(outcome.rewritten);   // the first batch creates the file by appending
    ASSERT_EQ(pools.m_nWallpaperFiles, 1);
    EXPECT_EQ(pools.m_wallpaperTile[0], 1);
    ASSERT_EQ(pools.m_nSoundFiles, 2);
    EXPECT_EQ(pools.m_soundFiles[1], media + "d.WAV");
    EXPECT_EQ(pools.m_soundSchemes[1].names, (std::vector<std::string>{"Default", "Jungle"}));
    EXPECT_EQ(pools.m_screenSaverFiles, (std::vector<std::string>{media + "c.SCR"}));
    EXPECT_EQ(GetSoundFileCount(platform->Registry()), 2);
    EXPECT_EQ(GetWallpaperFileCount(platform->Registry()), 1);
    EXPECT_EQ(GetScreenSaverFileCount(platform->Registry()), 1);
    // The records in list order, as the pool file stores them.
    EXPECT_EQ(platform->ReadFile(windowsDir + kPoolFileName),
              Record("a.bmp", media, 0, 1, 0, 0, 1) + Record("b.wav", media, 1, 0, 0, 2, 0, {"Default", "Jungle"}) +
                  Record("c.SCR", media, 0, 0, 1, 0, 0) +
                  Record("d.WAV", media, 1, 0, 0, 2, 0, {"Default", "Jungle"}));
    bool mismatch = true;
    EXPECT_EQ(Restart(&mismatch), All(pools));
    EXPECT_FALSE(mismatch);
}

TEST_F(PoolAddition, DuplicatesIgnoreCaseAndSoundsWithoutSchemesCarryNone) {
    Load(pools);
    ASSERT_EQ(AddChosenFiles(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir,
                             ChosenFiles{"c:\\a\\", {"X.BMP", "caf\xE9.bmp"}, {}, false})
                  .added,
              2);
    const std::string before = platform->ReadFile(windowsDir + kPoolFileName);
    AdditionOutcome again = AddChosenFiles(pools, platform->Registry(), platform->Files(), platform->System(),
                                           windowsDir, ChosenFiles{"C:\\A\\", {"x.bmp", "CAF\xC9.BMP"}, {}, false});
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.duplicates, 2);
    EXPECT_EQ(platform->ReadFile(windowsDir + kPoolFileName), before);  // nothing written
    EXPECT_EQ(pools.m_wallpaperFiles[1], "c:\\a\\caf\xE9.bmp");       // stored byte for byte

    EXPECT_EQ(Add({File("s.wav")}).added, 1);
    EXPECT_TRUE(pools.m_soundSchemes[0].names.empty());
    EXPECT_NE(platform->ReadFile(windowsDir + kPoolFileName).find(Record("s.wav", media, 1, 0, 0, 0, 0)),
              std::string::npos);
}

TEST_F(PoolAddition, AnAdditionAfterALoadWithAMissingFileSurvivesARestartAndKeepsThatRecord) {
    platform->WriteFile(windowsDir + kPoolFileName,
                        Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record("gone.wav", media, 1, 0, 0, 0, 0) +
                            Record(File("c.scr"), media, 0, 0, 1, 0, 0));
    SetCounters(1, 1, 1);
    Load(pools);
    ASSERT_EQ(pools.m_nSoundFiles, 0);
    AdditionOutcome outcome = Add({File("new.bmp"), File("new.wav")});
    EXPECT_EQ(outcome.added, 2);
    EXPECT_TRUE(outcome.rewritten);
    EXPECT_EQ(Restart(), (Paths{media + "a.bmp", media + "c.scr", media + "new.bmp", media + "new.wav"}));
    // The unplugged drive comes back: its sound is in the pool again.
    File("gone.wav");
    EXPECT_EQ(Restart().count(media + "gone.wav"), 1u);
    EXPECT_EQ(GetSoundFileCount(platform->Registry()), 2);
}

// The file was missing at the load and is added again before the next start: it is in the
// pools at once, counted, from its own record, which takes this batch's ticks.
TEST_F(PoolAddition, ReAddingAFileMissingAtTheLoadTakesItsRecordWithTheBatchsData) {
    platform->WriteFile(windowsDir + kPoolFileName, Record("back.wav", media, 1, 0, 0, 1, 0, {"Old"}) +
                                                        Record(File("a.bmp"), media, 0, 1, 0, 0, 0));
    SetCounters(1, 1, 0);
    Load(pools);
    ASSERT_EQ(pools.m_nSoundFiles, 0);
    AdditionOutcome outcome = Add({File("BACK.wav")}, {"Jungle"});
    EXPECT_EQ(outcome.added, 1);
    EXPECT_EQ(outcome.duplicates, 0);
    EXPECT_EQ(pools.m_soundFiles, std::vector<std::string>{media + "back.wav"});
    EXPECT_EQ(platform->ReadFile(windowsDir + kPoolFileName),
              Record("back.wav", media, 1, 0, 0, 1, 0, {"Jungle"}) + Record("a.bmp", media, 0, 1, 0, 0, 0));
    bool mismatch = true;
    EXPECT_EQ(Restart(&mismatch), (Paths{media + "a.bmp", media + "back.wav"}));
    EXPECT_FALSE(mismatch);
}

TEST_F(PoolAddition, RecordsBeyondTheCountersAndATornEndAreHealedByTheNextAddition) {
    std::string whole = Record(File("a.bmp"), media, 0, 1, 0, 0, 0) + Record(File("lost.scr"), media, 0, 0, 1, 0, 0);
    std::string torn = Record("torn.wav", media, 1, 0, 0, 0, 0).substr(0, 9);
    platform->WriteFile(windowsDir + kPoolFileName, whole + torn);
    SetCounters(0, 1, 0);
    Load(pools);
    EXPECT_EQ(Add({File("b.wav")}).added, 1);
    bool mismatch = true;
    EXPECT_EQ(Restart(&mismatch), (Paths{media + "a.bmp", media + "lost.scr", media + "b.wav"}));
    EXPECT_FALSE(mismatch);
}

TEST_F(PoolAddition, APathTooLongOrNoRoomLeftIsRefusedWithAMessageAndTheRestIsAdded) {
    Load(pools);
    std::vector<std::string> many;
    for (int i = 0; i < kMaxPoolEntries - 1; ++i) many.push_back("w" + std::to_string(i) + ".bmp");
    ASSERT_EQ(Add(many).added, kMaxPoolEntries - 1);
    AdditionOutcome outcome = Add({"x.bmp", "y.bmp", "z.wav", std::string(kLongestPath, 'n') + ".wav"});
    EXPECT_EQ(outcome.added, 2);  // one wallpaper fits, and the sound
    EXPECT_EQ(outcome.refusedFull, 1);
    EXPECT_EQ(outcome.refusedTooLong, 1);
    EXPECT_EQ(outcome.messages, (std::vector<std::string>{kPoolsFullMessage, kPathTooLongMessage}));
    EXPECT_EQ(GetWallpaperFileCount(platform->Registry()), kMaxPoolEntries);
    EXPECT_EQ(pools.m_nWallpaperFiles, kMaxPoolEntries);
    EXPECT_EQ(pools.m_soundFiles, (std::vector<std::string>{media + "z.wav"}));
}

TEST_F(PoolAddition, TheAddCommandIsRefusedOnlyAbove9500CountedEntries) {
    SetCounters(4000, 3000, 2500);
    EXPECT_FALSE(PoolsAreFull(platform->Registry()));
    SetScreenSaverFileCount(platform->Registry(), 2501);
    EXPECT_TRUE(PoolsAreFull(platform->Registry()));
}

// A failure at any one write of an addition: every record readable before stays readable,
// the pools in memory never count an entry whose record is not stored, nothing torn is
// counted, and the user is told.
class PoolAdditionFaults : public PoolAddition {
protected:
    // Either a file whose counters match it (appending) or one with a missing file (rewriting).
    void Prepare(bool withMissingFile) {
        platform->DeleteFile(media + "gone.wav");
        platform->WriteFile(windowsDir + kPoolFileName,
                            Record(File("a.bmp"), media, 0, 1, 0, 0, 0) +
                                (withMissingFile ? Record("gone.wav", media, 1, 0, 0, 0, 0) : std::string()) +
                                Record(File("c.scr"), media, 0, 0, 1, 0, 0));
        SetCounters(withMissingFile ? 1 : 0, 1, 1);
        pools = CPools();
        Load(pools);
    }
    AdditionOutcome AddThrough(FaultInjector& faults) {
        FaultyFileSystem files(platform->Files(), faults);
        FaultyRegistry registry(platform->Registry(), faults);
        std::vector<std::string> names;
        for (int i = 0; i < 60; ++i) names.push_back(File(std::string(90, 'n') + std::to_string(i) + ".wav"));
        names.push_back(File("new.bmp"));
        return AddChosenFiles(pools, registry, files, platform->System(), windowsDir,
                              ChosenFiles{media, names, {"Default"}, false});
    }
    void Check(bool withMissingFile, const AdditionOutcome& outcome, const Paths& before) {
        const Paths inMemory = All(pools);
        const Paths batch = [&] {
            Paths all;
            for (int i = 0; i < 60; ++i) all.insert(media + std::string(90, 'n') + std::to_string(i) + ".wav");
            all.insert(media + "new.bmp");
            return all;
        }();
        if (outcome.fileFailed) EXPECT_EQ(inMemory, before);
        else EXPECT_EQ(inMemory.size(), before.size() + batch.size());
        EXPECT_EQ(outcome.messages.empty(), !outcome.fileFailed && !outcome.countersFailed);
        bool mismatch = false;
        Paths after = Restart(&mismatch);
        for (const std::string& path : before) EXPECT_EQ(after.count(path), 1u) << path;
        for (const std::string& path : after) EXPECT_TRUE(before.count(path) || batch.count(path)) << path;
        if (!outcome.fileFailed && !outcome.countersFailed) {
            EXPECT_EQ(after, inMemory);
            EXPECT_EQ(mismatch, withMissingFile);  // the missing file is still counted
        }
        if (withMissingFile) {
            File("gone.wav");
            EXPECT_EQ(Restart().count(media + "gone.wav"), 1u);
        }
    }
};

TEST_F(PoolAdditionFaults, EveryFileAndRegistryWriteFailingInTurn) {
    for (bool withMissingFile : {false, true}) {
        Prepare(withMissingFile);
        FaultInjector counting;
        ASSERT_TRUE(AddThrough(counting).messages.empty());
        std::vector<std::pair<int, int>> steps;  // (operation, nth)
        for (FileOp op : {FileOp::Search, FileOp::OpenRead, FileOp::OpenWrite, FileOp::Write, FileOp::Close,
                          FileOp::MoveReplacing})
            for (int nth = 1; nth <= counting.Calls(op); ++nth) steps.push_back({static_cast<int>(op), nth});
        for (RegistryOp op : {RegistryOp::DeleteKey, RegistryOp::CreateKey, RegistryOp::SetValue})
            for (int nth = 1; nth <= counting.Calls(op); ++nth) steps.push_back({100 + static_cast<int>(op), nth});
        ASSERT_GE(steps.size(), 9u);
        for (auto [op, nth] : steps) {
            SCOPED_TRACE(std::to_string(withMissingFile) + " op " + std::to_string(op) + " call " +
                         std::to_string(nth));
            Prepare(withMissingFile);
            const Paths before = All(pools);
            FaultInjector faults;
            if (op < 100) faults.FailNth(static_cast<FileOp>(op), nth);
            else faults.FailNth(static_cast<RegistryOp>(op - 100), nth);
            AdditionOutcome outcome = AddThrough(faults);
            Check(withMissingFile, outcome, before);
        }
    }
}

}  // namespace qm::test
