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

const char kWindows[] = "C:\\WINDOWS\\";
const char kSystem[] = "C:\\WINDOWS\\system32\\";
const char kUser[] = "C:\\Users\\Ann\\AppData\\Local\\Quill Mere\\";
// What the machine-wide places must let this user write: the pool file and both copies.
const std::string kMachineFiles[] = {std::string(kWindows) + kPoolFileName, std::string(kWindows) + "Quill Mere.bmp",
                                     std::string(kSystem) + "Quill Mere.scr"};

}  // namespace

class Storage : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddFolder("C:\\WINDOWS\\system32");
        files.AddFolder("C:\\Users\\Ann\\AppData\\Local");
        userSettings.SetPerUser(true);
    }
    StorageChoice Choose() { return ChooseStoragePlaces(registry, files, kWindows, kSystem, kUser); }
    // From now on the machine is seen as a standard user of Windows Vista to 11 sees it:
    // HKEY_LOCAL_MACHINE and the Windows and system directories read but take no change.
    void StandardUser() {
        registry.Protect(RegistryRoot::LocalMachine, "");
        files.Protect(kWindows);
        files.Protect(kSystem);
    }
    // What an elevated run leaves behind: the machine-wide key, a pool file of one
    // wallpaper with its counter, and both installed copies.
    void AdministratorsInstallation() {
        ASSERT_FALSE(Choose().places.perUser);
        files.AddFile("C:\\Media\\sky.bmp", "BM");
        CPools pools;
        pools.Reset(1);
        ASSERT_EQ(AddChosenFiles(pools, registry, files, system, kWindows, ChosenFiles{"C:\\Media\\", {"sky.bmp"}})
                      .added,
                  1);
        files.AddFile(std::string(kWindows) + "Quill Mere.bmp", "BM");
        files.AddFile(std::string(kSystem) + "Quill Mere.scr", "MZ");
    }
    // What this user's next start loads.
    std::vector<std::string> Wallpapers() {
        StoragePlaces places = Choose().places;
        SettingsRegistry settings(registry);
        settings.SetPerUser(places.perUser);
        CPools pools;
        LoadPools(pools, settings, files, system, places.poolFolder, 1);
        return pools.m_wallpaperFiles;
    }
    FakeRegistry registry;
    FakeFileSystem files;
    FakeSystem system;
    SettingsRegistry userSettings{registry};  // the settings as a user with places of their own has them
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
    StandardUser();
    StorageChoice choice = Choose();
    ASSERT_TRUE(choice.places.perUser);
    EXPECT_EQ(choice.places.poolFolder, kUser);
    EXPECT_TRUE(files.IsFolder(kUser));
    EXPECT_TRUE(choice.tellUser);
    SavePreferences(userSettings, CPreferences{"yn", "nyn3"});
    SetSoundFileCount(userSettings, 4);
    files.AddFile(std::string(kUser) + kPoolFileName, "records");
    RememberPerUserNotice(userSettings);

    // The next start finds the user's places and does not tell again.
    StorageChoice again = Choose();
    EXPECT_TRUE(again.places.perUser);
    EXPECT_FALSE(again.tellUser);
    CPreferences prefs;
    EXPECT_EQ(LoadPreferences(userSettings, prefs), 1);
    EXPECT_EQ(prefs.m_strPrefs, "nyn3");
    EXPECT_EQ(GetSoundFileCount(userSettings), 4);
    EXPECT_EQ(GetSoundFileCount(registry), 0);  // nothing reached the machine-wide key
}

TEST_F(Storage, FilesAStandardUserAddsAreInTheirPoolsAfterARestart) {
    StandardUser();
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

// Finding the administrator's key and files says nothing of what a standard user may do:
// the user gets places of their own, with a copy of the machine's pools, and what they add
// there is in their pools at the next start.
TEST_F(Storage, AStandardUserAfterAnAdministratorGetsTheirOwnPlacesWithACopy) {
    AdministratorsInstallation();
    // The key alone decides where the files would let the user write (Wine's registry
    // refuses nothing, so only here is this half seen).
    registry.Protect(RegistryRoot::LocalMachine, "");
    FakeFileSystem writableFiles = files;
    EXPECT_TRUE(ChooseStoragePlaces(registry, writableFiles, kWindows, kSystem, kUser).places.perUser);
    StandardUser();
    StorageChoice choice = Choose();
    ASSERT_TRUE(choice.places.perUser);
    EXPECT_TRUE(choice.copiedMachineData);
    files.AddFile("C:\\Media\\sea.bmp", "BM");
    CPools pools;
    LoadPools(pools, userSettings, files, system, kUser, 1);
    EXPECT_EQ(AddChosenFiles(pools, userSettings, files, system, kUser, ChosenFiles{"C:\\Media\\", {"sea.bmp"}}).added,
              1);
    EXPECT_EQ(Wallpapers(), (std::vector<std::string>{"C:\\Media\\sky.bmp", "C:\\Media\\sea.bmp"}));
    EXPECT_EQ(GetWallpaperFileCount(registry), 1);  // the machine's counter as the administrator left it
}

TEST_F(Storage, AStandardUsersOwnPoolsAreUsedAfterAnAdministratorsInstallation) {
    AdministratorsInstallation();
    files.AddFolder(kUser);
    files.AddFile("C:\\Media\\mine.bmp", "BM");
    CPools none;
    none.Reset(1);
    ASSERT_EQ(AddChosenFiles(none, userSettings, files, system, kUser, ChosenFiles{"C:\\Media\\", {"mine.bmp"}}).added, 1);
    StandardUser();
    StorageChoice choice = Choose();
    EXPECT_TRUE(choice.places.perUser);
    EXPECT_FALSE(choice.copiedMachineData);
    EXPECT_EQ(Wallpapers(), std::vector<std::string>{"C:\\Media\\mine.bmp"});
}

// Read-only copies in a writable Windows directory: the places are not taken, and nothing
// there is changed or left behind, not even the machine key the check had to create.
TEST_F(Storage, ReadOnlyCopiesInTheWindowsDirectorySendTheUserToTheirOwnPlacesTouchingNothing) {
    for (const std::string& path : kMachineFiles) {
        files.AddFile(path, "kept");
        files.Protect(path);
    }
    EXPECT_TRUE(Choose().places.perUser);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "Software\\Corvalith"));
    EXPECT_EQ(files.Content(std::string(kWindows) + "qmfiles.cfg"), "kept");
    EXPECT_EQ(files.Content(std::string(kSystem) + "Quill Mere.scr"), "kept");
    // A file another program holds open is still one this user may write.
    FakeFileSystem inUse;
    inUse.AddFolder("C:\\WINDOWS\\system32");
    inUse.AddFile(std::string(kWindows) + "Quill Mere.bmp", "shown");
    inUse.Lock(std::string(kWindows) + "Quill Mere.bmp");
    EXPECT_FALSE(ChooseStoragePlaces(registry, inUse, kWindows, kSystem, kUser).places.perUser);
}

TEST_F(Storage, AFolderStandingWhereAFileMustBeWrittenSendsTheUserToTheirOwnPlaces) {
    for (const std::string& path : kMachineFiles) {
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
    StandardUser();
    StorageChoice choice = Choose();
    ASSERT_TRUE(choice.places.perUser);
    EXPECT_TRUE(choice.copiedMachineData);
    EXPECT_EQ(files.Content(std::string(kUser) + kPoolFileName), "machine records");
    EXPECT_EQ(GetWallpaperFileCount(userSettings), 3);
    CPreferences prefs;
    EXPECT_EQ(LoadPreferences(userSettings, prefs), 1);
    EXPECT_EQ(prefs.m_strDisplayFlags, "ny");
    // The user's own changes are not overwritten by a second copy.
    SetWallpaperFileCount(userSettings, 1);
    EXPECT_FALSE(Choose().copiedMachineData);
    EXPECT_EQ(GetWallpaperFileCount(userSettings), 1);
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
