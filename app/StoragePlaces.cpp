#include "app/StoragePlaces.h"

#include <cctype>
#include <memory>

#include "app/StartupRules.h"
#include "platform/PathParts.h"
#include "pools/FileSearch.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"
#include "prefs/Preferences.h"

namespace qm {

const char kProgramKeyPath[] = "Software\\Corvalith\\Quill Mere";
const char kPerUserNoticeKey[] = "Software\\Corvalith\\Quill Mere\\2.0\\Per-User Notice";
const char kPerUserNoticeMessage[] =
    "You may not change the settings that Quill Mere keeps for every user of this computer, so Quill Mere "
    "keeps your file lists, settings and installed files for you alone.";

namespace {

const char kVersionKey[] = "Software\\Corvalith\\Quill Mere\\2.0";

// Whether a file may be written at `path`: nothing but a file (or nothing) stands there, and
// where nothing stands a file can be created (the trial file is removed again at once).
bool CanWriteFileAt(IFileSystem& files, const std::string& path) {
    const PathParts parts = SplitPath(path);
    bool folder = false, file = false;
    files.Search(path, [&](const FoundEntry& entry) {
        if (!files.SameName(entry.name, parts.name)) return true;
        (entry.isFolder ? folder : file) = true;
        return false;
    });
    if (folder) return false;
    if (file) return true;
    std::unique_ptr<IWriteStream> trial = files.OpenWrite(path, WriteMode::CreateAlways);
    if (!trial) return false;
    bool closed = trial->Close();
    trial.reset();
    files.Delete(path);
    return closed;
}

bool MachinePlacesWritable(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                           const std::string& systemFolder) {
    return registry.CreateKey(RegistryRoot::LocalMachine, kVersionKey) &&
           CanWriteFileAt(files, windowsFolder + kPoolFileName) &&
           CanWriteFileAt(files, windowsFolder + kInstalledWallpaperName) &&
           CanWriteFileAt(files, systemFolder + kInstalledScreenSaverName);
}

// Copies the machine-wide pools into the user's places: the pool file first, and only when
// it arrived whole the counters and the preferences, so that counters never count records
// the user's file lacks.
bool CopyMachineData(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                     const std::string& userFolder) {
    if (!files.Copy(windowsFolder + kPoolFileName, userFolder + kPoolFileName)) return false;
    for (const char* key : {kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey, kPreferencesKey}) {
        std::string text = ReadRegistryString(registry, RegistryRoot::LocalMachine, key);
        if (!text.empty()) WriteRegistryString(registry, key, text, RegistryRoot::CurrentUser);
    }
    return true;
}

}  // namespace

std::string StoragePlaces::PoolFile() const { return poolFolder + kPoolFileName; }
std::string StoragePlaces::WallpaperCopy() const { return poolFolder + kInstalledWallpaperName; }
std::string StoragePlaces::ScreenSaverCopy() const { return screenSaverFolder + kInstalledScreenSaverName; }

std::string SystemFolderOf(const std::string& windowsFolder, bool windowsNT) {
    return windowsFolder + (windowsNT ? "system32\\" : "system\\");
}

bool IsProgramKey(const std::string& path) {
    const std::string prefix = "software\\corvalith";
    if (path.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[i])) != prefix[i]) return false;
    return path.size() == prefix.size() || path[prefix.size()] == '\\';
}

StorageChoice ChooseStoragePlaces(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                                  const std::string& systemFolder, const std::string& userFolder) {
    StorageChoice choice;
    choice.places = StoragePlaces{false, windowsFolder, systemFolder};
    if (userFolder.empty() || windowsFolder.empty()) return choice;

    const bool machinePool = FindFileInFolder(files, windowsFolder, kPoolFileName);
    const bool userPool = FindFileInFolder(files, userFolder, kPoolFileName);
    const bool userHasPlaces = userPool || registry.KeyExists(RegistryRoot::CurrentUser, kVersionKey);
    if (!(userPool && !machinePool) && MachinePlacesWritable(registry, files, windowsFolder, systemFolder))
        return choice;

    files.CreateFolder(userFolder.substr(0, userFolder.size() - 1));
    choice.places = StoragePlaces{true, userFolder, userFolder};
    if (machinePool && !userHasPlaces)
        choice.copiedMachineData = CopyMachineData(registry, files, windowsFolder, userFolder);
    choice.tellUser = ReadRegistryString(registry, RegistryRoot::CurrentUser, kPerUserNoticeKey).empty();
    return choice;
}

void RememberPerUserNotice(IRegistry& registry) {
    WriteRegistryString(registry, kPerUserNoticeKey, "Yes", RegistryRoot::CurrentUser);
}

}  // namespace qm
