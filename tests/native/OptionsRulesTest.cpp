// The Options dialog's handling of the preference string, without the dialog.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "prefs/OptionsRules.h"

namespace qm::test {

TEST(OptionsChoices, OpeningShowsTheFlagsAndTheInterval) {
    COptionsChoices none("nnn|");
    for (int flag = 0; flag < 3; ++flag) EXPECT_FALSE(none.BoxTicked(flag));
    EXPECT_EQ(none.SelectedInterval(), -1);

    COptionsChoices daily("yyn12");
    EXPECT_TRUE(daily.BoxTicked(0));
    EXPECT_TRUE(daily.BoxTicked(1));
    EXPECT_FALSE(daily.BoxTicked(2));
    EXPECT_EQ(daily.SelectedInterval(), 12);

    EXPECT_EQ(COptionsChoices("nyn0").SelectedInterval(), 0);
    EXPECT_EQ(COptionsChoices("nyn13").SelectedInterval(), -1) << "no entry 13";
    EXPECT_EQ(COptionsChoices("yn").SelectedInterval(), 0) << "an empty field reads as 0";
    EXPECT_FALSE(COptionsChoices("").BoxTicked(0));
}

TEST(OptionsChoices, ConfirmWithoutAnIntervalIsRefusedAndKeepsEverything) {
    COptionsChoices choices("nnn|");
    choices.BoxClicked(1, true);
    EXPECT_EQ(choices.Prefs(), "nyn|") << "a click takes effect at once";
    EXPECT_FALSE(choices.Confirm(-1));
    EXPECT_EQ(choices.Prefs(), "nyn|");
    EXPECT_TRUE(choices.Confirm(7));
    EXPECT_EQ(choices.Prefs(), "nyn7");
}

// Clicks on the boxes, then OK with an interval entry (or Cancel): the string the options
// keep, and the interval a reopened dialog shows.
TEST(OptionsChoices, ClicksThenConfirmOrCancelGiveTheString) {
    const int kCancel = -2;
    const struct {
        const char* label;
        const char* opening;
        std::vector<std::pair<int, bool>> clicks;
        const char* afterClicks;  // nullptr: not looked at
        int confirm;
        const char* expected;
        int reopened;
    } rows[] = {
        {"unticking both intervals drops the index", "yyn12", {{1, false}}, nullptr, 12, "ynn|", -1},
        {"the selection replaces the old index", "nny12", {}, nullptr, 3, "nny3", 3},
        {"cancel puts the opening string back", "ynn|", {{0, false}, {2, true}}, nullptr, kCancel, "ynn|", -1},
        {"a short string is filled up instead of overrun", "y", {{2, true}}, "yny", 4, "yny4", 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        COptionsChoices choices(row.opening);
        for (const auto& [box, ticked] : row.clicks) choices.BoxClicked(box, ticked);
        if (row.afterClicks) EXPECT_EQ(choices.Prefs(), row.afterClicks);
        if (row.confirm == kCancel) choices.Cancel();
        else EXPECT_TRUE(choices.Confirm(row.confirm));
        EXPECT_EQ(choices.Prefs(), row.expected);
        EXPECT_EQ(COptionsChoices(choices.Prefs()).SelectedInterval(), row.reopened);
    }
}

}  // namespace qm::test
