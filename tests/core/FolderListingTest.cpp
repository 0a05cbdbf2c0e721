// The folder listing of a load against the directory search it stands in for: the same
// answers for every kind of name, each folder read once, and bounded memory.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "platform/ProxyFileSystem.h"
#include "pools/FileSearch.h"
#include "pools/FolderListing.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

namespace {

// Counts the directory searches that reach the file system.
class CountingFileSystem : public ProxyFileSystem {
public:
    using ProxyFileSystem::ProxyFileSystem;
    void Search(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) override {
        ++searches;
        ProxyFileSystem::Search(pattern, visit);
    }
    int searches = 0;
};

const char kAccented[] = "Caf\xE9 cr\xE8me.wav";       // Café crème.wav in code page 1252
const char kAccentedUpper[] = "CAF\xC9 CR\xC8ME.WAV";  // the same name in capitals

}  // namespace

class FolderListingTest : public PoolFixture {
protected:
    void SetUp() override {
        PoolFixture::SetUp();
        platform->WriteFile(media + "Photo One.BMP", "1234567");
        platform->WriteFile(media + kAccented, "12345");
        platform->WriteFile(media + "a rather long file name.wav", "123");
        platform->WriteFile(media + "Sub Folder\\inside.bmp", "12");
    }
    // Asks the listing and the search the same question and expects the same answer.
    void ExpectSameAnswer(CFolderListing& listing, const std::string& folder, const std::string& name,
                          bool expected) {
        SCOPED_TRACE(folder + name);
        IFileSystem& files = platform->Files();
        EXPECT_EQ(FindFileInFolder(files, folder, name), expected);
        EXPECT_EQ(listing.Contains(folder, name), expected);
        EXPECT_EQ(listing.SizeOf(folder + name), FileSizeOf(files, folder + name));
    }
};

TEST_F(FolderListingTest, AnswersAsTheSearchForEveryKindOfName) {
    CFolderListing listing(platform->Files());
    ExpectSameAnswer(listing, media, "Photo One.BMP", true);
    ExpectSameAnswer(listing, media, "photo one.bmp", true);  // another letter case
    ExpectSameAnswer(listing, media, "PHOTO ONE.BMP", true);
    ExpectSameAnswer(listing, media, "Photo Two.BMP", false);  // missing
    ExpectSameAnswer(listing, media, "sub folder", true);      // a folder counts; its size is 0
    ExpectSameAnswer(listing, media, "Photo*.BMP", false);     // wildcards match nothing
    ExpectSameAnswer(listing, media, "Photo?One.BMP", false);
    ExpectSameAnswer(listing, media, "*", false);
    ExpectSameAnswer(listing, media, kAccented, true);
    ExpectSameAnswer(listing, media, kAccentedUpper, true);
    ExpectSameAnswer(listing, media, "ARATHE~1.WAV", false);  // looks like a short alias
    ExpectSameAnswer(listing, media, "Photo One.BMP.", false);
    ExpectSameAnswer(listing, media, "Sub Folder\\inside.bmp", false);  // a name, not a path
    ExpectSameAnswer(listing, media, "", false);
    ExpectSameAnswer(listing, media + "Sub Folder\\", "INSIDE.bmp", true);
    ExpectSameAnswer(listing, platform->Scratch() + "no such folder\\", "Photo One.BMP", false);
    ExpectSameAnswer(listing, media.substr(0, media.size() - 1), "Photo One.BMP", false);  // no final backslash
    EXPECT_EQ(listing.SizeOf(media + "photo one.bmp"), 7u);
    EXPECT_EQ(listing.SizeOf(media + kAccented), 5u);
    EXPECT_EQ(listing.SizeOf(media + "sub folder"), 0u);
}

TEST_F(FolderListingTest, ReadsEachFolderOnceHoweverOftenItIsAsked) {
    CountingFileSystem counting(platform->Files());
    CFolderListing listing(counting);
    for (int round = 0; round < 3; ++round) {
        EXPECT_TRUE(listing.Contains(media, "Photo One.BMP"));
        EXPECT_TRUE(listing.Contains(media, "PHOTO ONE.bmp"));
        EXPECT_FALSE(listing.Contains(media, "gone.bmp"));
        EXPECT_EQ(listing.SizeOf(media + kAccented), 5u);
        EXPECT_TRUE(listing.Contains(media + "Sub Folder\\", "inside.bmp"));
        EXPECT_FALSE(listing.Contains(platform->Scratch() + "no such folder\\", "x.bmp"));
    }
    EXPECT_EQ(counting.searches, 3);
    EXPECT_EQ(listing.FoldersRead(), 3);
}

TEST_F(FolderListingTest, StaysWithinItsMemoryAndStillAnswersRight) {
    const std::string sub = media + "Sub Folder\\";
    CFolderListing measureMedia(platform->Files()), measureSub(platform->Files());
    measureMedia.Contains(media, "x");
    measureSub.Contains(sub, "x");
    const std::size_t mediaBytes = measureMedia.KeptBytes(), subBytes = measureSub.KeptBytes();
    ASSERT_GT(subBytes, 0u);

    // Room for either folder but not both: asking about them in turn drops and reads again.
    const std::size_t limit = std::max(mediaBytes, subBytes) + std::min(mediaBytes, subBytes) / 2;
    CFolderListing small(platform->Files(), limit);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(small.Contains(media, "photo one.bmp"));
        EXPECT_LE(small.KeptBytes(), limit);
        EXPECT_TRUE(small.Contains(sub, "inside.bmp"));
        EXPECT_FALSE(small.Contains(sub, "Photo One.BMP"));
        EXPECT_LE(small.KeptBytes(), limit);
    }
    EXPECT_EQ(small.FoldersRead(), 4);

    // A folder larger than the whole limit is never kept: each question is a search.
    CountingFileSystem counting(platform->Files());
    CFolderListing tiny(counting, 10);
    EXPECT_TRUE(tiny.Contains(media, "Photo One.BMP"));
    EXPECT_FALSE(tiny.Contains(media, "gone.bmp"));
    EXPECT_EQ(tiny.SizeOf(media + "PHOTO ONE.BMP"), 7u);
    EXPECT_EQ(counting.searches, 1 + 3);  // the cut-off listing, then one search per question
    EXPECT_LE(tiny.KeptBytes(), media.size() + 200);
}

TEST_F(FolderListingTest, ALoadReadsEachFolderOnceAndKeepsWhatTheSearchWould) {
    const std::string other = windowsDir + "other\\";
    platform->WriteFile(other + "b.scr", "s");
    std::string bytes;
    for (int i = 0; i < 20; ++i) {
        bytes += Record("Photo One.BMP", media, 0, 1, 0, 0, i % 2);  // wallpapers
        bytes += Record(i % 2 ? "B.SCR" : "missing.scr", other, 0, 0, 1, 0, 0);
    }
    bytes += Record(kAccentedUpper, media, 1, 0, 0, 1, 0, {"Jungle"});
    WritePoolFile(bytes);
    SetCounters(1, 20, 20);

    CountingFileSystem counting(platform->Files());
    CPools pools;
    PoolLoadResult result = LoadPools(pools, platform->Registry(), counting, platform->System(), windowsDir, 3);
    EXPECT_TRUE(result.counterMismatch);  // ten screen savers are missing
    EXPECT_EQ(pools.m_nWallpaperFiles, 20);
    EXPECT_EQ(pools.m_nScreenSaverFiles, 10);
    ASSERT_EQ(pools.m_nSoundFiles, 1);
    EXPECT_EQ(pools.m_soundFiles[0], media + kAccentedUpper);
    // The pool file, each of the two folders once, and the accented name spelled otherwise
    // than on disk, which only the search itself can judge.
    EXPECT_EQ(counting.searches, 1 + 2 + 1);
}

}  // namespace qm::test
