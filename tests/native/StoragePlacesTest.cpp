// Where the settings, counters and pool file live when the machine-wide places refuse writes.
#include <gtest/gtest.h>

#include "pools/StoragePlaces.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "pools/PoolAddition.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"

namespace qm::test {

namespace {

// HKEY_LOCAL_MACHINE as a standard user sees it: readable, not writable.
class MachineReadOnly : public FakeRegistry {
public:
    bool refuse = true;
    bool CreateKey(RegistryRoot root, const std::string& path) override {
        return !(refuse && root == RegistryRoot::LocalMachine) && FakeRegistry::CreateKey(root, path);
    }
    bool DeleteKey(RegistryRoot root, const std::string& path) override {
        return !(refuse && root == RegistryRoot::LocalMachine) && FakeRegistry::DeleteKey(root, path);
    }
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override {
        return !(refuse && root == RegistryRoot::LocalMachine) && FakeRegistry::SetValue(root, path, name, text);
    }
};

const char kWindows[] = "C:\\WINDOWS\\";
const char kSystem[] = "C:\\WINDOWS\\system32\\";
const char kUser[] = "C:\\Users\\Ann\\AppData\\Local\\Quill Mere\\";

}  // namespace

class Storage : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddFolder("C:\\WINDOWS\\system32");
        files.AddFolder("C:\\Users\\Ann\\AppData\\Local");
        registry.refuse = false;
    }
    StorageChoice Choose() { return ChooseStoragePlaces(registry, files, kWindows, kSystem, kUser); }
    MachineReadOnly registry;
    FakeFileSystem files;
};

TEST_F(Storage, WritableMachinePlacesAreUsedAsAlwaysAndLeftAsTheyWere) {
    StorageChoice choice = Choose();
    EXPECT_FALSE(choice.places.perUser);
    EXPECT_EQ(choice.places.poolFolder, kWindows);
    EXPECT_EQ(choice.places.screenSaverFolder, kSystem);
    EXPECT_FALSE(choice.tellUser);
    EXPECT_FALSE(files.Exists(std::string(kWindows) + kPoolFileName));  // the trial file is gone
    EXPECT_FALSE(files.Exists(kUser));
}

TEST_F(Storage, AStandardUsersSettingsCountersAndPoolFileSurviveARestartInTheirOwnPlaces) {
    registry.refuse = true;
    StorageChoice choice = Choose();
    ASSERT_TRUE(choice.places.perUser);
    EXPECT_EQ(choice.places.poolFolder, kUser);
    EXPECT_TRUE(files.IsFolder(kUser));
    EXPECT_TRUE(choice.tellUser);
    SettingsRegistry settings(registry);
    settings.SetPerUser(true);
    SavePreferences(settings, CPreferences{"yn", "nyn3"});
    SetSoundFileCount(settings, 4);
    files.AddFile(std::string(kUser) + kPoolFileName, "records");
    RememberPerUserNotice(settings);

    // The next start finds the user's places and does not tell again.
    StorageChoice again = Choose();
    EXPECT_TRUE(again.places.perUser);
    EXPECT_FALSE(again.tellUser);
    SettingsRegistry reread(registry);
    reread.SetPerUser(true);
    CPreferences prefs;
    EXPECT_EQ(LoadPreferences(reread, prefs), 1);
    EXPECT_EQ(prefs.m_strPrefs, "nyn3");
    EXPECT_EQ(GetSoundFileCount(reread), 4);
    EXPECT_EQ(GetSoundFileCount(registry), 0);  // nothing reached the machine-wide key
}

TEST_F(Storage, FilesAStandardUserAddsAreInTheirPoolsAfterARestart) {
    registry.refuse = true;
    FakeSystem system;
    files.AddFile("C:\\Media\\sky.bmp", "BM");
    files.AddFile("C:\\Media\\ding.wav", "RIFF");
    StoragePlaces places = Choose().places;
    SettingsRegistry settings(registry);
    settings.SetPerUser(places.perUser);
    CPools pools;
    pools.Reset(3);
    AdditionOutcome added = AddChosenFiles(pools, settings, files, system, places.poolFolder,
                                           ChosenFiles{"C:\\Media\\", {"ding.wav", "sky.bmp"}, {"Default"}, true});
    EXPECT_EQ(added.added, 2);
    EXPECT_TRUE(added.messages.empty());
    EXPECT_FALSE(files.Exists(std::string(kWindows) + kPoolFileName));

    StoragePlaces next = Choose().places;
    SettingsRegistry reread(registry);
    reread.SetPerUser(next.perUser);
    CPools loaded;
    PoolLoadResult result = LoadPools(loaded, reread, files, system, next.poolFolder, 3);
    EXPECT_FALSE(result.counterMismatch);
    EXPECT_EQ(loaded.m_soundFiles, std::vector<std::string>{"C:\\Media\\ding.wav"});
    EXPECT_EQ(loaded.m_wallpaperFiles, std::vector<std::string>{"C:\\Media\\sky.bmp"});
    EXPECT_EQ(loaded.m_wallpaperTile, std::vector<std::int32_t>{1});
}

TEST_F(Storage, AFolderStandingWhereAFileMustBeWrittenSendsTheUserToTheirOwnPlaces) {
    for (const std::string& path : {std::string(kWindows) + kPoolFileName, std::string(kWindows) + "Quill Mere.bmp",
                                   std::string(kSystem) + "Quill Mere.scr"}) {
        SCOPED_TRACE(path);
        FakeFileSystem blocked = files;
        blocked.AddFolder(path);
        EXPECT_TRUE(ChooseStoragePlaces(registry, blocked, kWindows, kSystem, kUser).places.perUser);
    }
}

TEST_F(Storage, AMachineWideInstallationIsCopiedForTheUserOnceAndKeptAsItWas) {
    files.AddFile(std::string(kWindows) + kPoolFileName, "machine records");
    SetWallpaperFileCount(registry, 3);
    SavePreferences(registry, CPreferences{"ny", "ynn|"});
    registry.refuse = true;
    StorageChoice choice = Choose();
    ASSERT_TRUE(choice.places.perUser);
    EXPECT_TRUE(choice.copiedMachineData);
    EXPECT_EQ(files.Content(std::string(kUser) + kPoolFileName), "machine records");
    SettingsRegistry settings(registry);
    settings.SetPerUser(true);
    EXPECT_EQ(GetWallpaperFileCount(settings), 3);
    CPreferences prefs;
    EXPECT_EQ(LoadPreferences(settings, prefs), 1);
    EXPECT_EQ(prefs.m_strDisplayFlags, "ny");
    // The user's own changes are not overwritten by a second copy.
    SetWallpaperFileCount(settings, 1);
    EXPECT_FALSE(Choose().copiedMachineData);
    EXPECT_EQ(GetWallpaperFileCount(settings), 1);
    EXPECT_EQ(GetWallpaperFileCount(registry), 3);
    EXPECT_EQ(files.Content(std::string(kWindows) + kPoolFileName), "machine records");
}

TEST_F(Storage, ReadingPrefersThePlaceThatHoldsAPoolFile) {
    files.AddFolder(kUser);
    files.AddFile(std::string(kUser) + kPoolFileName, "mine");
    EXPECT_TRUE(Choose().places.perUser);  // although the machine-wide places are writable
    files.AddFile(std::string(kWindows) + kPoolFileName, "everyone's");
    EXPECT_FALSE(Choose().places.perUser);
}

TEST(SettingsRegistry, RedirectsOnlyTheProgramsMachineWideKeys) {
    EXPECT_TRUE(IsProgramKey("SOFTWARE\\Corvalith\\Quill Mere\\2.0\\Preferences"));
    EXPECT_TRUE(IsProgramKey("Software\\Corvalith"));
    EXPECT_FALSE(IsProgramKey("Software\\CorvalithOther"));
    EXPECT_FALSE(IsProgramKey("Control Panel\\Desktop"));
    FakeRegistry inner;
    SettingsRegistry settings(inner);
    settings.SetPerUser(true);
    inner.CreateKey(RegistryRoot::CurrentUser, "Control Panel\\Desktop");
    WriteRegistryString(settings, "Control Panel\\Desktop\\X", "x", RegistryRoot::CurrentUser);
    WriteRegistryString(settings, "Software\\Other", "o", RegistryRoot::LocalMachine);
    EXPECT_EQ(ReadRegistryString(inner, RegistryRoot::LocalMachine, "Software\\Other"), "o");
    EXPECT_EQ(ReadRegistryString(inner, RegistryRoot::CurrentUser, "Control Panel\\Desktop\\X"), "x");
}

}  // namespace qm::test
