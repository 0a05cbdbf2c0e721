// The random generator and its three draws.
#include <gtest/gtest.h>

#include "randomize/Random.h"

namespace qm::test {

TEST(Random, SeededWithOneGivesTheKnownSequenceAndReducesByTheCount) {
    CRandom random;
    random.Seed(1);
    std::vector<int> values;
    for (int i = 0; i < 5; ++i) values.push_back(random.NextRandom());
    EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    random.Seed(1);
    EXPECT_EQ(random.PickIndex(10), 1);     // 41
    EXPECT_EQ(random.PickIndex(1000), 467); // 18467
    EXPECT_EQ(random.PickIndex(1), 0);
    random.Seed(0x1'0000'0001LL);  // the seed is the time truncated to 32 bits
    EXPECT_EQ(random.NextRandom(), 41);
}

TEST(Random, PickAvoidingShownComparesThePathsTailIgnoringCase) {
    CRandom random;
    random.Seed(7);
    const std::vector<std::string> pool{"C:\\x\\ba.bmp", "C:\\y\\c.bmp"};
    for (int i = 0; i < 50; ++i) EXPECT_EQ(random.PickAvoidingShown(pool, "A.BMP"), 1);
    // One entry is never redrawn, even when it is shown; an empty name never redraws.
    CRandom counted;
    counted.Seed(7);
    EXPECT_EQ(counted.PickAvoidingShown({"C:\\a.bmp"}, "a.bmp"), 0);
    counted.Seed(7);
    int first = counted.PickAvoidingShown(pool, "");
    counted.Seed(7);
    EXPECT_EQ(first, counted.PickIndex(2));
}

// Every entry ends in the shown name: the draw gives up after its last redraw and returns
// that draw, the one a generator seeded alike gives after as many draws.
TEST(Random, PickAvoidingShownEndsWhenEveryEntryMatches) {
    CRandom random, alike;
    random.Seed(3);
    alike.Seed(3);
    const std::vector<std::string> pool{"C:\\one\\same.bmp", "D:\\two\\SAME.BMP", "E:\\same.bmp"};
    const int index = random.PickAvoidingShown(pool, "e.bmp");
    int last = 0;
    for (int draw = 0; draw <= CRandom::kMaxRedraws; ++draw) last = alike.PickIndex(3);
    EXPECT_EQ(index, last);
    EXPECT_EQ(random.NextRandom(), alike.NextRandom()) << "no draw more and none less";
    EXPECT_FALSE(EndsWithIgnoringCase("bmp", "a.bmp"));
    EXPECT_TRUE(EndsWithIgnoringCase("C:\\A.BMP", "a.bmp"));
}

TEST(Random, PickForSchemeDrawsOnlyEntriesThatNameTheSchemeExactly) {
    CPools pools;
    pools.Reset(5);
    auto addSound = [&](const std::string& path, std::vector<std::string> names) {
        pools.m_soundFiles.push_back(path);
        pools.m_soundSchemes.push_back(SchemeList{std::move(names), 5});
        ++pools.m_nSoundFiles;
    };
    addSound("C:\\a.wav", {"default"});
    addSound("C:\\b.wav", {"Jungle", "Default"});
    addSound("C:\\c.wav", {"Default", "Default"});
    CRandom random;
    random.Seed(11);
    int counts[3] = {};
    for (int i = 0; i < 3000; ++i) {
        std::optional<int> pick = random.PickForScheme(pools, "Default");
        ASSERT_TRUE(pick);
        ++counts[*pick];
    }
    EXPECT_EQ(counts[0], 0);             // "default" is another scheme
    EXPECT_GT(counts[2], counts[1] * 3 / 2);  // listed twice, drawn about twice as often
    EXPECT_FALSE(random.PickForScheme(pools, "Robotz"));
}

}  // namespace qm::test
