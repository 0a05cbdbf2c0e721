// The Options dialog's handling of the preference string, without the dialog.
#include <gtest/gtest.h>

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

TEST(OptionsChoices, UntickingBothIntervalsDropsTheIndex) {
    COptionsChoices choices("yyn12");
    choices.BoxClicked(1, false);
    EXPECT_TRUE(choices.Confirm(12));
    EXPECT_EQ(choices.Prefs(), "ynn|");
    EXPECT_EQ(COptionsChoices(choices.Prefs()).SelectedInterval(), -1);
}

TEST(OptionsChoices, TheSelectionReplacesTheOldIndex) {
    COptionsChoices choices("nny12");
    EXPECT_TRUE(choices.Confirm(3));
    EXPECT_EQ(choices.Prefs(), "nny3");
}

TEST(OptionsChoices, CancelPutsTheOpeningStringBack) {
    COptionsChoices choices("ynn|");
    choices.BoxClicked(0, false);
    choices.BoxClicked(2, true);
    choices.Cancel();
    EXPECT_EQ(choices.Prefs(), "ynn|");
}

TEST(OptionsChoices, AShortStringIsFilledUpInsteadOfOverrun) {
    COptionsChoices choices("y");
    choices.BoxClicked(2, true);
    EXPECT_EQ(choices.Prefs(), "yny");
    EXPECT_TRUE(choices.Confirm(4));
    EXPECT_EQ(choices.Prefs(), "yny4");
}

}  // namespace qm::test
