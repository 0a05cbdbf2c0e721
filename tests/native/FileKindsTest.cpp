// The kind of a file by its whole ending, in its two spellings, with and without pictures
// other than bitmaps; the chooser lists, enables and records by that kind alone.
#include <gtest/gtest.h>

#include "chooser/ChooserRules.h"
#include "pools/FileKinds.h"

namespace qm {

TEST(FileKinds, EachEndingInLowerOrUpperCaseGivesItsKindAndPicturesNeedTheDecoder) {
    const struct {
        const char* name;
        FileKind withPictures, withoutPictures;
    } rows[] = {
        {"a.wav", FileKind::sound, FileKind::sound},           {"a.WAV", FileKind::sound, FileKind::sound},
        {"a.Wav", FileKind::none, FileKind::none},             {"a.scr", FileKind::screenSaver, FileKind::screenSaver},
        {"a.bmp", FileKind::wallpaper, FileKind::wallpaper},   {"a.BMP", FileKind::wallpaper, FileKind::wallpaper},
        {"a.jpg", FileKind::wallpaper, FileKind::none},        {"a.JPG", FileKind::wallpaper, FileKind::none},
        {"a.Jpg", FileKind::none, FileKind::none},             {"a.jpeg", FileKind::wallpaper, FileKind::none},
        {"a.JPEG", FileKind::wallpaper, FileKind::none},       {"a.png", FileKind::wallpaper, FileKind::none},
        {"a.gif", FileKind::wallpaper, FileKind::none},        {"a.tif", FileKind::wallpaper, FileKind::none},
        {"a.tiff", FileKind::wallpaper, FileKind::none},       {"a.TIFF", FileKind::wallpaper, FileKind::none},
        {"notes.txt", FileKind::none, FileKind::none},         {"jpg", FileKind::none, FileKind::none},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(KindOfName(row.name, true), row.withPictures);
        EXPECT_EQ(KindOfName(row.name, false), row.withoutPictures);
        EXPECT_EQ(ListedFileImage(row.name, true) >= 0, row.withPictures != FileKind::none);
    }
    // A picture is a wallpaper for the chooser's options and counts, and a sound record's
    // ending rule no longer turns ".jpeg" into a sound.
    EXPECT_TRUE(OptionsForSelection({"photo.jpeg"}).wallpaper);
    ChooserSelection selection = RecordSelection({"photo.jpeg", "scan.TIFF", "a.Jpg", "ding.wav"}, true);
    EXPECT_EQ(selection.names, (std::vector<std::string>{"photo.jpeg", "scan.TIFF", "ding.wav"}));
    EXPECT_EQ(selection.bmpCount, 2);
    EXPECT_EQ(selection.wavCount, 1);
    EXPECT_EQ(RecordSelection({"photo.jpeg"}, false).names.size(), 0u);
}

}  // namespace qm
