#pragma once
// What the tests of the pool file share: a fresh platform whose scratch folder stands for the
// Windows directory, a media folder beside it, and ways to make media files, the pool file
// and the counters.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/TestPlatform.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm::test {

class PoolFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform = MakeTestPlatform();
        windowsDir = platform->Scratch();
        media = windowsDir + "media\\";
        platform->WriteFile(media + "keep.txt", "");
    }
    // A media file that exists; returns its name, for its record.
    std::string File(const std::string& name) {
        platform->WriteFile(media + name, "data of " + name);
        return name;
    }
    void WritePoolFile(const std::string& bytes) { platform->WriteFile(windowsDir + kPoolFileName, bytes); }
    void SetCounters(int sounds, int wallpapers, int savers) {
        SetSoundFileCount(platform->Registry(), sounds);
        SetWallpaperFileCount(platform->Registry(), wallpapers);
        SetScreenSaverFileCount(platform->Registry(), savers);
    }

    std::unique_ptr<TestPlatform> platform;
    std::string windowsDir, media;
};

}  // namespace qm::test
