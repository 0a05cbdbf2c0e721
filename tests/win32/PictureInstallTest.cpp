// Pictures other than bitmaps installed as the wallpaper through the Windows Imaging
// Component under Wine: the pictures are made here with its own encoders.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/DisplayTestKit.h"
#include "core/TestPlatform.h"
#include "platform/win32/Win32Platform.h"
#include "randomize/Picture.h"
#include "randomize/PictureInstall.h"
#include "randomize/WallpaperRandomizer.h"
#include "win32/PictureFiles.h"

namespace qm::test {

class PictureInstall : public ::testing::Test {
protected:
    void SetUp() override {
        platform->WriteFile(dir + "keep.txt", "");
        platform->WriteFile(target, "the copy installed before");
    }
    DisplayContext Display(bool unattended) {
        return DisplayContext{platform->Registry(), platform->Files(), platform->System(), random, pools, flags, view,
                              dir, unattended, kDesktopKey, {}, &decoder};
    }
    bool Install(const std::string& source, bool centred) {
        DisplayContext display = Display(true);
        return InstallPicture(display, source, target, centred);
    }
    Bitmap Installed() { return ReadBitmap(platform->ReadFile(target)); }
    // A photo stored sideways (wider than high) with a red top-left corner, as a camera held
    // upright stores it with orientation 6.
    std::string SidewaysPhoto(const std::string& name, int width, int height) {
        const std::string path = dir + name;
        EXPECT_TRUE(Encode(path, GUID_ContainerFormatJpeg, width, height, false, [&](int x, int y) {
            return x < width / 8 && y < height / 8 ? 0x00FF0000u : 0x00FFFFFFu;
        }));
        platform->WriteFile(path, WithOrientation(platform->ReadFile(path), 6));
        return path;
    }

    ComScope com;
    std::unique_ptr<TestPlatform> platform = MakeTestPlatform();
    const std::string dir = platform->Scratch();
    const std::string target = dir + "Quill Mere.bmp";
    Win32PictureDecoder decoder;
    CRandom random;
    CPools pools;
    std::string flags = "ny";
    EventLog log;
    RecordingView view{log, flags};
};

TEST_F(PictureInstall, ASidewaysPhotoIsTurnedUprightAndScaledToTheScreen) {
    ASSERT_TRUE(decoder.Available());
    int screenWidth = 0, screenHeight = 0;
    ASSERT_TRUE(platform->System().PrimaryScreenSize(screenWidth, screenHeight));
    for (const auto& [label, width, height, centred] :
         {std::make_tuple("small", 160, 120, true), std::make_tuple("larger than the screen", 2400, 1800, true),
          std::make_tuple("tiled, not scaled", 2400, 1800, false)}) {
        SCOPED_TRACE(label);
        ASSERT_TRUE(Install(SidewaysPhoto("photo.jpg", width, height), centred));
        const PictureSize expected = centred ? FitWithin({height, width}, {screenWidth, screenHeight})
                                             : PictureSize{height, width};
        const Bitmap bitmap = Installed();
        EXPECT_EQ(bitmap.bits, 24);
        ASSERT_EQ(bitmap.width, expected.width);
        ASSERT_EQ(bitmap.height, expected.height);
        // Turned a quarter clockwise: the stored top-left corner is now the top-right one.
        EXPECT_TRUE(Near(bitmap.At(bitmap.width - 2, 1), kRed));
        EXPECT_TRUE(Near(bitmap.At(1, 1), kWhite));
        EXPECT_TRUE(Near(bitmap.At(bitmap.width - 2, bitmap.height - 2), kWhite));
        EXPECT_EQ(ConvertedPictureOf(platform->Registry(), platform->Files(), target), dir + "photo.jpg");
    }
}

TEST_F(PictureInstall, TransparencyShowsTheDesktopColour) {
    const std::string path = dir + "clear.png";
    ASSERT_TRUE(Encode(path, GUID_ContainerFormatPng, 40, 30, true,
                       [](int x, int y) { return x < 10 && y < 10 ? 0x00000000u : 0xFF00FF00u; }));
    ASSERT_TRUE(Install(path, true));
    const std::uint32_t desktop = platform->System().DesktopColour();
    const Bitmap bitmap = Installed();
    ASSERT_EQ(bitmap.width, 40);
    EXPECT_EQ(bitmap.At(2, 2), (Pixel{static_cast<std::uint8_t>(desktop >> 16), static_cast<std::uint8_t>(desktop >> 8),
                                      static_cast<std::uint8_t>(desktop)}));
    EXPECT_EQ(bitmap.At(30, 20), (Pixel{0, 255, 0}));
}

// A text file named like a picture, and a JPEG cut short: the installed copy stays as it was,
// and the randomizer tells it as a copy that failed.
TEST_F(PictureInstall, WhatCannotBeDecodedLeavesTheInstalledCopyAlone) {
    platform->WriteFile(dir + "notes.jpg", "these are notes, not a picture");
    const std::string whole = platform->ReadFile(SidewaysPhoto("whole.jpg", 320, 240));
    platform->WriteFile(dir + "cut.jpg", whole.substr(0, whole.size() / 3));
    for (const char* name : {"notes.jpg", "cut.jpg", "missing.png"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Install(dir + name, true));
        EXPECT_EQ(platform->ReadFile(target), "the copy installed before");
    }
    pools.m_wallpaperFiles = {dir + "notes.jpg"};
    pools.m_wallpaperTile = {0};
    pools.m_nWallpaperFiles = 1;
    view.ApplySwitches();
    log.clear();
    DisplayContext display = Display(false);
    RandomizeWallpaper(display);
    EXPECT_EQ(log, EventLog{"message Couldn't copy " + dir + "notes.jpg."});
    EXPECT_EQ(platform->ReadFile(target), "the copy installed before");
}

// Run by its own CTest entry with the Imaging Component switched off for the process
// (WINEDLLOVERRIDES=windowscodecs=d); the ordinary run leaves it out.
TEST(PictureDecoderMissing, DISABLED_OnlyBitmapsAreDrawnAndAPictureAloneIsAFailedCopy) {
    ComScope com;
    std::unique_ptr<TestPlatform> platform = MakeTestPlatform();
    const std::string dir = platform->Scratch();
    Win32PictureDecoder decoder;
    ASSERT_FALSE(decoder.Available());
    platform->WriteFile(dir + "photo.jpg", "a picture this run cannot decode");
    platform->WriteFile(dir + "sky.bmp", "BM the bitmap");
    CRandom random;
    CPools pools;
    std::string flags = "ny";
    EventLog log;
    RecordingView view{log, flags};
    pools.m_wallpaperFiles = {dir + "photo.jpg", dir + "sky.bmp"};
    pools.m_wallpaperTile = {0, 0};
    pools.m_nWallpaperFiles = 2;
    DisplayContext display{platform->Registry(), platform->Files(), platform->System(), random, pools, flags,
                           view, dir, false, "Software\\Corvalith\\Test Desktop", {}, &decoder};
    platform->Registry().CreateKey(RegistryRoot::CurrentUser, display.desktopKey);
    for (int draw = 0; draw < 5; ++draw) {
        view.names[1].clear();
        RandomizeWallpaper(display);
        EXPECT_EQ(platform->ReadFile(dir + "Quill Mere.bmp"), "BM the bitmap");
    }
    pools.m_wallpaperFiles = {dir + "photo.jpg"};
    pools.m_wallpaperTile = {0};
    pools.m_nWallpaperFiles = 1;
    platform->DeleteFile(dir + "Quill Mere.bmp");
    log.clear();
    RandomizeWallpaper(display);
    EXPECT_EQ(log, EventLog{"message Couldn't copy " + dir + "photo.jpg."});
    EXPECT_EQ(flags, "ny");  // the switch stays on
    EXPECT_EQ(platform->ReadFile(dir + "Quill Mere.bmp"), "");
    DeleteKeyTree(platform->Registry(), RegistryRoot::CurrentUser, "Software\\Corvalith");
}

}  // namespace qm::test
