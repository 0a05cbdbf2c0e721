// The program's small text rules: its two letter-case folds and its two readings of the
// interval index.
#include <gtest/gtest.h>

#include "platform/LetterCase.h"
#include "prefs/Preferences.h"

namespace qm {

TEST(TextRules, NamesFoldTheWesternAccentsAndProgramTextsOnlyAscii) {
    const struct {
        std::string a, b;
        bool sameName, sameAscii, asciiLess;
    } rows[] = {
        {"Quill.BMP", "quill.bmp", true, true, false},
        {"\xE9t\xE9", "\xC9T\xC9", true, false, false},  // accented letters: a name's rule only
        {"\xF7", "\xD7", false, false, false},            // the division sign is no letter
        {"Ab", "_a", false, false, true},                 // '_' sorts after the letters
        {"ab", "abc", false, false, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(EqualIgnoringCase(row.a, row.b), row.sameName) << row.a;
        EXPECT_EQ(FoldPath(row.a) == FoldPath(row.b), row.sameName) << row.a;
        EXPECT_EQ(EqualIgnoringAsciiCase(row.a, row.b), row.sameAscii) << row.a;
        EXPECT_EQ(LessIgnoringAsciiCase(row.a, row.b), row.asciiLess) << row.a;
    }
}

TEST(TextRules, TheOptionsFieldReadsThreeCharactersTheStoredStringAll) {
    const struct {
        const char* prefs;
        int field, stored;
    } rows[] = {
        {"nyn0012", 1, 12}, {"nyn12", 12, 12}, {"nyn13", -1, -1}, {"nyn-1", -1, -1},
        {"yn", 0, 0},       {"nyn|", 0, 0},    {"nyn 5x", 5, 5},  {"nyn99999999999", -1, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IntervalIndexInField(row.prefs), row.field) << row.prefs;
        EXPECT_EQ(IntervalIndexStored(row.prefs), row.stored) << row.prefs;
        EXPECT_EQ(IntervalCodeFromPrefs(row.prefs), row.stored < 0 ? kNoInterval : kIntervalTable[row.stored].code);
    }
}

}  // namespace qm
