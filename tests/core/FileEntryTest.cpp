// The pool entry record and its bytes in the pool file.
#include <gtest/gtest.h>

#include "core/PoolBytes.h"
#include "core/TestPlatform.h"

namespace qm::test {

TEST(FileEntry, SetFileChoosesKindAndClearsSchemesAndTile) {
    CFileEntry entry = MakeEntry("C:\\Sounds\\", "ding.wav", kindSound, 0, {"Default", "Jungle"});
    entry.SetTile(1);
    entry.SetFile("x.scr", "C:\\S\\", 7);  // any kind other than 0 and 1 is a screen saver
    EXPECT_EQ(entry.IsScreenSaver(), 1);
    EXPECT_EQ(entry.IsSound() + entry.IsWallpaper(), 0);
    EXPECT_EQ(entry.GetTile(), 0);
    EXPECT_EQ(entry.GetSchemeCount(), 0);
    EXPECT_EQ(entry.GetScheme(0), "");
    entry.SetFile("a.bmp", "C:\\W\\", kindWallpaper);
    EXPECT_EQ(entry.IsWallpaper(), 1);
    entry.SetFile("a.wav", "C:\\W\\", kindSound);
    EXPECT_EQ(entry.IsSound(), 1);
}

TEST(FileEntry, FullPathJoinsFolderAndNameWithoutSeparator) {
    EXPECT_EQ(MakeEntry("C:\\Images\\", "clouds.bmp", kindWallpaper).GetFullPath(), "C:\\Images\\clouds.bmp");
    EXPECT_EQ(MakeEntry("C:\\Images", "clouds.bmp", kindWallpaper).GetFullPath(), "C:\\Imagesclouds.bmp");
}

TEST(FileEntry, AppendSchemeFillsHundredSlotsThenRefuses) {
    CFileEntry entry = MakeEntry("C:\\", "a.wav", kindSound);
    EXPECT_TRUE(entry.AppendScheme("S0"));
    EXPECT_EQ(entry.GetSchemeCount(), 1);
    EXPECT_EQ(entry.GetScheme(0), "S0");
    for (int i = 1; i < 100; ++i) entry.AppendScheme("S" + std::to_string(i));
    EXPECT_EQ(entry.GetSchemeCount(), 100);
    EXPECT_FALSE(entry.AppendScheme("one too many"));
    EXPECT_EQ(entry.GetSchemeCount(), 100);
    EXPECT_EQ(entry.GetScheme(99), "S99");
    EXPECT_EQ(entry.GetScheme(100), "");  // outside the slots: empty, no overrun
    EXPECT_EQ(entry.GetScheme(-1), "");
    EXPECT_FALSE(entry.AppendScheme(""));  // an empty name would read as a gap
    entry.ClearSchemes();
    EXPECT_EQ(entry.GetSchemeCount(), 0);
}

TEST(PoolRecordBytes, TiledWallpaperIsTheFortyTwoByteExample) {
    CFileEntry entry = MakeEntry("C:\\Images\\", "clouds.bmp", kindWallpaper, 1);
    std::string expected = std::string("\x0A") + "clouds.bmp" + "\x0A" + "C:\\Images\\" + I32(0) + I32(1) + I32(0) +
                           I32(0) + I32(1);
    std::string bytes = Encode(entry);
    EXPECT_EQ(bytes.size(), 42u);
    EXPECT_EQ(bytes, expected);
}

TEST(PoolRecordBytes, StringLengthPrefixesTakeTheirThreeForms) {
    auto prefixOf = [](std::size_t length) {
        CFileEntry entry = MakeEntry("", std::string(length, 'n'), kindScreenSaver);
        return Encode(entry).substr(0, length < 255 ? 1 : length < 65534 ? 3 : 7);
    };
    EXPECT_EQ(prefixOf(0), std::string(1, '\0'));
    EXPECT_EQ(prefixOf(254), "\xFE");
    EXPECT_EQ(prefixOf(255), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(prefixOf(65533), std::string("\xFF\xFD\xFF", 3));
    EXPECT_EQ(prefixOf(65534), std::string("\xFF\xFF\xFF", 3) + I32(65534));
}

// Writes entries to a real file of the platform and reads them back through the archive.
TEST(PoolRecordBytes, EntriesRoundTripThroughAFile) {
    auto platform = MakeTestPlatform();
    std::string path = platform->Scratch() + "roundtrip.cfg";
    std::vector<CFileEntry> entries = {
        MakeEntry("C:\\Sounds\\", "ding.wav", kindSound, 0, {"Default", "Jungle", "Utopia"}),
        MakeEntry("C:\\Images\\", std::string(300, 'w') + ".bmp", kindWallpaper, 1),
        MakeEntry("C:\\Savers\\", "", kindScreenSaver),
        MakeEntry(std::string("C:\\\xC9t\xE9\\"), "\xE0 la plage.wav", kindSound),
    };
    {
        auto out = platform->Files().OpenWrite(path, WriteMode::CreateAlways);
        ASSERT_TRUE(out);
        CArchive archive(*out);
        for (auto& entry : entries) ASSERT_TRUE(entry.Serialize(archive));
        ASSERT_TRUE(archive.Flush());
        ASSERT_TRUE(out->Close());
    }
    auto in = platform->Files().OpenRead(path);
    ASSERT_TRUE(in);
    CArchive archive(*in, nullptr);
    for (auto& written : entries) {
        CFileEntry read;
        ASSERT_TRUE(read.Serialize(archive));
        EXPECT_EQ(read.GetFullPath(), written.GetFullPath());
        EXPECT_EQ(read.IsSound(), written.IsSound());
        EXPECT_EQ(read.GetTile(), written.GetTile());
        EXPECT_EQ(read.GetSchemeCount(), written.GetSchemeCount());
        EXPECT_EQ(read.GetScheme(2), written.GetScheme(2));
        EXPECT_EQ(Encode(read), Encode(written));
    }
    CFileEntry past;
    EXPECT_FALSE(past.Serialize(archive));
    EXPECT_EQ(archive.GetState(), CArchive::State::endOfFile);
}

TEST(PoolRecordBytes, SixteenBitTextIsConvertedToTheAnsiCodePage) {
    auto platform = MakeTestPlatform();
    std::string path = platform->Scratch() + "wide.cfg";
    // "caf\u00e9.wav" stored as FF FEFF, a second length prefix, then UTF-16LE.
    std::string wideName = std::string("\xFF\xFE\xFF\x08", 4);
    for (char16_t c : std::u16string(u"caf\u00e9.wav")) wideName += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    std::string bytes = wideName + Str("C:\\Sounds\\") + I32(1) + I32(0) + I32(0) + I32(0) + I32(0);
    platform->WriteFile(path, bytes);
    auto in = platform->Files().OpenRead(path);
    ASSERT_TRUE(in);
    CArchive archive(*in, [&](const std::u16string& text) { return platform->System().WideToAnsi(text); });
    CFileEntry entry;
    ASSERT_TRUE(entry.Serialize(archive));
    EXPECT_EQ(entry.GetName(), "caf\xE9.wav");
    EXPECT_EQ(entry.GetFolder(), "C:\\Sounds\\");
}

TEST(PoolRecordBytes, DamagedRecordsEndTheReadWithoutHarm) {
    auto platform = MakeTestPlatform();
    const std::string good = Record("a.bmp", "C:\\", 0, 1, 0, 0, 0);
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"length beyond the file", std::string("\xFF\xFF\xFF", 3) + I32(-1) + "abc"},
        {"16-bit length beyond the file", std::string("\xFF\x00\x10", 3) + "abc"},
        {"odd 16-bit text", std::string("\xFF\xFE\xFF\x03", 4) + std::string("a\0b\0c", 5)},
        {"huge scheme count", Str("a.wav") + Str("C:\\") + I32(1) + I32(0) + I32(0) + I32(0x7FFFFFFF) + I32(0) + Str("x")},
        {"cut in an integer", Str("a.wav") + Str("C:\\") + I32(1) + std::string("\x00\x00", 2)},
    };
    for (const auto& [what, bytes] : damaged) {
        SCOPED_TRACE(what);
        std::string path = platform->Scratch() + "damaged.cfg";
        platform->WriteFile(path, good + bytes);
        auto in = platform->Files().OpenRead(path);
        ASSERT_TRUE(in);
        CArchive archive(*in, nullptr);
        CFileEntry entry;
        EXPECT_TRUE(entry.Serialize(archive));
        EXPECT_FALSE(entry.Serialize(archive));
        EXPECT_EQ(archive.GetState(), CArchive::State::endOfFile);
    }
}

}  // namespace qm::test
