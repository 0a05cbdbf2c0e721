// The Manage Files working copies: lists in the order the sorted list boxes give, with tile
// flags and scheme lists that stay with their entries through selection, ticks and removal.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "manage/ManageLists.h"

namespace qm {

namespace {

using Names = std::vector<std::string>;

// A list box sorts ignoring case; the model takes whatever order it is handed.
Names SortedLikeAListBox(Names paths) {
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    });
    return paths;
}

CPools MakePools() {
    CPools pools;
    pools.Reset(3);
    pools.m_wallpaperFiles = {"C:\\w\\zebra.bmp", "C:\\w\\apple.bmp", "C:\\w\\Mango.bmp"};
    pools.m_wallpaperTile = {0, 1, 7};
    pools.m_nWallpaperFiles = 3;
    pools.m_screenSaverFiles = {"C:\\s\\b.scr", "C:\\s\\a.scr"};
    pools.m_nScreenSaverFiles = 2;
    pools.m_soundFiles = {"C:\\a\\chime.wav", "C:\\a\\bell.wav", "C:\\a\\ding.wav"};
    pools.m_soundSchemes = {{{"Jungle", "Robotz"}, 3}, {{"Default"}, 3}, {{"Robotz"}, 3}};
    pools.m_nSoundFiles = 3;
    return pools;
}

// The dialog's scheme list; its length is how many names a sound's list may hold.
CManageLists Filled(const CPools& pools, Names shownSchemes = {"Default", "Jungle", "Robotz"}) {
    CManageLists lists;
    lists.Fill(pools, SortedLikeAListBox(pools.m_wallpaperFiles), SortedLikeAListBox(pools.m_screenSaverFiles),
               SortedLikeAListBox(pools.m_soundFiles), shownSchemes);
    return lists;
}

}  // namespace

TEST(ManageLists, FlagsAndSchemesFollowTheirEntriesIntoTheSortedPositions) {
    CManageLists lists = Filled(MakePools());
    EXPECT_EQ(lists.Paths(kindWallpaper), (Names{"C:\\w\\apple.bmp", "C:\\w\\Mango.bmp", "C:\\w\\zebra.bmp"}));
    EXPECT_EQ(lists.TileFlags(), (std::vector<std::int32_t>{1, 7, 0}));
    EXPECT_EQ(lists.Paths(kindSound), (Names{"C:\\a\\bell.wav", "C:\\a\\chime.wav", "C:\\a\\ding.wav"}));
    EXPECT_EQ(lists.SchemesOf(0), (Names{"Default"}));
    EXPECT_EQ(lists.SchemesOf(1), (Names{"Jungle", "Robotz"}));
    EXPECT_EQ(lists.SchemesOf(2), (Names{"Robotz"}));
    EXPECT_TRUE(lists.SchemesOf(3).empty());
}

TEST(ManageLists, EntriesWithTheSamePathEachKeepTheirOwnData) {
    CPools pools = MakePools();
    pools.m_wallpaperFiles = {"C:\\w\\x.bmp", "C:\\w\\X.BMP", "C:\\w\\x.bmp"};
    pools.m_wallpaperTile = {1, 0, 1};
    pools.m_soundFiles = {"C:\\a\\s.wav", "C:\\a\\s.wav", "C:\\a\\S.wav"};
    CManageLists lists = Filled(pools);
    // The stable case-blind sort keeps pool order among equal paths.
    EXPECT_EQ(lists.TileFlags(), (std::vector<std::int32_t>{1, 0, 1}));
    EXPECT_EQ(lists.SchemesOf(0), (Names{"Jungle", "Robotz"}));
    EXPECT_EQ(lists.SchemesOf(1), (Names{"Default"}));
    EXPECT_EQ(lists.SchemesOf(2), (Names{"Robotz"}));
}

TEST(ManageLists, TicksShowExactlyTheFocusedSoundsSchemes) {
    CManageLists lists = Filled(MakePools());
    const Names items = {"Default", "Jungle", "jungle", "Robotz"};
    EXPECT_EQ(lists.TicksFor(1, items), (std::vector<bool>{false, true, false, true}));  // case counts
    EXPECT_EQ(lists.TicksFor(0, items), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(lists.TicksFor(9, items), (std::vector<bool>(4, false)));
}

TEST(ManageLists, TicksGoToEverySelectedSoundUpToTheCapacity) {
    CManageLists lists = Filled(MakePools(), {"Default", "Jungle"});
    EXPECT_EQ(lists.SchemesOf(1), (Names{"Jungle", "Robotz"}));
    lists.AssignSchemes({0, 2}, {"Default", "Jungle", "Robotz"});
    EXPECT_EQ(lists.SchemesOf(0), (Names{"Default", "Jungle"}));
    EXPECT_EQ(lists.SchemesOf(2), (Names{"Default", "Jungle"}));
    EXPECT_EQ(lists.SchemesOf(1), (Names{"Jungle", "Robotz"})) << "an unselected sound keeps its schemes";
    lists.AssignSchemes({2}, {});
    EXPECT_TRUE(lists.SchemesOf(2).empty());
    lists.AssignSchemes({-1, 3}, {"Default"});  // positions outside the list change nothing
    // Only the sounds whose ticks were set are handed on, with the names they got.
    EXPECT_EQ(lists.Result().schemes, (std::map<std::string, Names>{{"C:\\a\\bell.wav", {"Default", "Jungle"}},
                                                                   {"C:\\a\\ding.wav", {}}}));
}

TEST(ManageLists, TileRadioFollowsTheLastSelectedWallpaperAndSetsEverySelectedOne) {
    CManageLists lists = Filled(MakePools());  // flags 1, 7, 0
    EXPECT_EQ(lists.TileShownFor({0, 2}), 0);
    EXPECT_EQ(lists.TileShownFor({2, 1}), 1) << "any nonzero flag shows as tiled";
    EXPECT_EQ(lists.TileShownFor({}), -1);
    lists.SetTile({0, 1}, false);
    EXPECT_EQ(lists.TileFlags(), (std::vector<std::int32_t>{0, 0, 0}));
    lists.SetTile({2}, true);
    EXPECT_EQ(lists.TileFlags(), (std::vector<std::int32_t>{0, 0, 1}));
    EXPECT_EQ(lists.Result().tiles, (std::map<std::string, std::int32_t>{
                                        {"C:\\w\\apple.bmp", 0}, {"C:\\w\\Mango.bmp", 0}, {"C:\\w\\zebra.bmp", 1}}));
}

TEST(ManageLists, RemovingEntriesKeepsTheFollowingEntriesData) {
    CManageLists lists = Filled(MakePools());
    lists.Remove(kindSound, {1});  // the second of three sounds
    EXPECT_EQ(lists.Paths(kindSound), (Names{"C:\\a\\bell.wav", "C:\\a\\ding.wav"}));
    EXPECT_EQ(lists.SchemesOf(1), (Names{"Robotz"})) << "the third sound keeps its schemes at position 1";
    lists.Remove(kindWallpaper, {0, 2});
    EXPECT_EQ(lists.Paths(kindWallpaper), (Names{"C:\\w\\Mango.bmp"}));
    EXPECT_EQ(lists.TileFlags(), (std::vector<std::int32_t>{7}));
    lists.Remove(kindScreenSaver, {});
    EXPECT_EQ(lists.Paths(kindScreenSaver).size(), 2u);

    // Make Changes hands on what went and what was listed, nothing the user left alone.
    PoolChanges result = lists.Result();
    EXPECT_EQ(result.removed, (Names{"C:\\w\\apple.bmp", "C:\\w\\zebra.bmp", "C:\\a\\chime.wav"}));
    EXPECT_EQ(result.listed.size(), 8u);
    EXPECT_TRUE(result.tiles.empty());
    EXPECT_TRUE(result.schemes.empty());
    EXPECT_EQ(result.shownSchemes, (Names{"Default", "Jungle", "Robotz"}));
    lists.Reset();
    EXPECT_TRUE(lists.Result().Empty());
}

TEST(ManageLists, NoSoundPastTheLastSlotIsTaken) {
    CPools pools;
    pools.Reset(1);
    Names order;
    for (int i = 0; i < CManageLists::kSoundSlots + 5; ++i) {
        pools.m_soundFiles.push_back("C:\\a\\" + std::to_string(100000 + i) + ".wav");
        pools.m_soundSchemes.push_back({{"Default"}, 1});
    }
    CManageLists lists;
    lists.Fill(pools, {}, {}, pools.m_soundFiles, {"Default"});
    EXPECT_EQ(lists.Paths(kindSound).size(), static_cast<std::size_t>(CManageLists::kSoundSlots));
    lists.AssignSchemes({CManageLists::kSoundSlots, CManageLists::kSoundSlots + 4}, {"Jungle"});
    EXPECT_TRUE(lists.Result().schemes.empty());
    EXPECT_EQ(lists.SchemesOf(CManageLists::kSoundSlots - 1), (Names{"Default"}));
}

}  // namespace qm
