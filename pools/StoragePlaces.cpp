#include "pools/StoragePlaces.h"

#include <cctype>
#include <memory>

#include "platform/PathParts.h"
#include "pools/FileSearch.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm {

const char kPerUserNoticeMessage[] =
    "You may not change the settings that Quill Mere keeps for every user of this computer, so Quill Mere "
    "keeps your file lists, settings and installed files for you alone.";

namespace {

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

// Copies the machine-wide pools into the user's places. The pool file in the user's folder
// is what says the copy was made, so it takes its name last: the file is copied under the
// temporary name, the counters (and the preferences, where the user has none of their own)
// follow, and then the file is moved into place. A process ended anywhere on the way leaves
// no user pool file, and the next start makes the copy again; after the move the copy is
// whole, its counters with it.
bool CopyMachineData(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                     const std::string& userFolder) {
    const std::string temp = userFolder + kPoolTempFileName;
    bool copied = files.Copy(windowsFolder + kPoolFileName, temp);
    for (const char* key : {kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey}) {
        if (!copied) break;
        const std::string text = ReadRegistryString(registry, RegistryRoot::LocalMachine, key);
        copied = text.empty() ? registry.DeleteKey(RegistryRoot::CurrentUser, key)
                              : WriteRegistryString(registry, key, text, RegistryRoot::CurrentUser);
        // A failed read looks like a missing counter: both are read again, and a copy whose
        // counters differ from the machine's is not made this time.
        copied = copied && ReadRegistryString(registry, RegistryRoot::LocalMachine, key) ==
                               ReadRegistryString(registry, RegistryRoot::CurrentUser, key);
    }
    if (copied && ReadRegistryString(registry, RegistryRoot::CurrentUser, kPreferencesKey).empty()) {
        const std::string prefs = ReadRegistryString(registry, RegistryRoot::LocalMachine, kPreferencesKey);
        if (!prefs.empty()) copied = WriteRegistryString(registry, kPreferencesKey, prefs, RegistryRoot::CurrentUser);
        copied = copied && !(ReadRegistryString(registry, RegistryRoot::CurrentUser, kPreferencesKey).empty() &&
                             !ReadRegistryString(registry, RegistryRoot::LocalMachine, kPreferencesKey).empty());
    }
    // A rename, which never replaces: a user pool file that a failed search overlooked stays.
    if (copied && files.Rename(temp, userFolder + kPoolFileName)) return true;
    files.Delete(temp);
    return false;
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
    if (!(userPool && !machinePool) && MachinePlacesWritable(registry, files, windowsFolder, systemFolder))
        return choice;

    files.CreateFolder(userFolder.substr(0, userFolder.size() - 1));
    choice.places = StoragePlaces{true, userFolder, userFolder};
    if (machinePool && !userPool)
        choice.copiedMachineData = CopyMachineData(registry, files, windowsFolder, userFolder);
    choice.tellUser = ReadRegistryString(registry, RegistryRoot::CurrentUser, kPerUserNoticeKey).empty();
    return choice;
}

void RememberPerUserNotice(IRegistry& registry) {
    WriteRegistryString(registry, kPerUserNoticeKey, "Yes", RegistryRoot::CurrentUser);
}

}  // namespace qm
