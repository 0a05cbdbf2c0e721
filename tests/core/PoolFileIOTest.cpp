// Reading every record of the pool file and replacing it safely, on the fakes natively and
// on real files under Wine, with a failure injected at every step of the replacement.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "platform/fault/FaultInjection.h"
#include "pools/PoolFileIO.h"
#include "pools/FileSearch.h"
#include "pools/PoolLoader.h"

namespace qm::test {

class PoolFileIO : public PoolFixture {
protected:
    // Stores `count` sound records with long names (several archive buffers' worth).
    static bool Produce(CArchive& archive, int count) {
        for (int i = 0; i < count; ++i) {
            CFileEntry entry = MakeEntry("C:\\S\\", std::string(300, 's') + std::to_string(i) + ".wav", kindSound,
                                         0, {"Default"});
            if (!entry.Serialize(archive)) return false;
        }
        return true;
    }
};

TEST_F(PoolFileIO, ReadsEveryRecordAndTellsACleanEndFromAMissingFile) {
    PoolReadResult missing = ForEachPoolRecord(platform->Files(), platform->System(), windowsDir + kPoolFileName,
                                               [](const CFileEntry&) { return true; });
    EXPECT_FALSE(missing.opened);
    ASSERT_TRUE(ReplacePoolFile(platform->Files(), windowsDir, [](CArchive& a) { return Produce(a, 30); }));
    std::vector<std::string> names;
    PoolReadResult all = ForEachPoolRecord(platform->Files(), platform->System(), windowsDir + kPoolFileName,
                                           [&](const CFileEntry& e) {
                                               names.push_back(e.GetName());
                                               return e.GetScheme(0) == "Default";
                                           });
    EXPECT_TRUE(all.opened);
    EXPECT_EQ(all.state, CArchive::State::endOfFile);
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(names.back(), std::string(300, 's') + "29.wav");
    EXPECT_EQ(platform->ReadFile(windowsDir + kPoolTempFileName), "");  // no temporary file left
}

TEST_F(PoolFileIO, AFailureAtAnyStepOfAReplacementKeepsTheOldFileByteForByte) {
    ASSERT_TRUE(ReplacePoolFile(platform->Files(), windowsDir, [](CArchive& a) { return Produce(a, 3); }));
    const std::string old = platform->ReadFile(windowsDir + kPoolFileName);
    ASSERT_FALSE(old.empty());
    FaultInjector faults;
    FaultyFileSystem files(platform->Files(), faults);
    ASSERT_TRUE(ReplacePoolFile(files, windowsDir, [](CArchive& a) { return Produce(a, 3); }));
    const int writes = faults.Calls(FileOp::Write);
    struct Step { FileOp op; int nth; } steps[] = {{FileOp::OpenWrite, 1}, {FileOp::Close, 1},
                                                    {FileOp::MoveReplacing, 1}};
    std::vector<Step> all(std::begin(steps), std::end(steps));
    for (int nth = 1; nth <= writes; ++nth) all.push_back({FileOp::Write, nth});
    for (const Step& step : all) {
        SCOPED_TRACE(static_cast<int>(step.op) * 100 + step.nth);
        faults.Reset();
        faults.FailNth(step.op, step.nth);
        EXPECT_FALSE(ReplacePoolFile(files, windowsDir, [](CArchive& a) { return Produce(a, 40); }));
        EXPECT_EQ(platform->ReadFile(windowsDir + kPoolFileName), old);
        EXPECT_FALSE(FindFileInFolder(platform->Files(), windowsDir, kPoolTempFileName));
    }
    // A producer that gives up changes nothing either.
    EXPECT_FALSE(ReplacePoolFile(platform->Files(), windowsDir, [](CArchive&) { return false; }));
    EXPECT_EQ(platform->ReadFile(windowsDir + kPoolFileName), old);
}

}  // namespace qm::test
