#include "pools/StoragePlaces.h"

#include <memory>
#include <string_view>

#include "platform/LetterCase.h"
#include "pools/FileSearch.h"
#include "pools/PoolLoader.h"
#include "pools/RegistryAccess.h"

namespace qm {

const char kPerUserNoticeMessage[] =
    "You may not change the settings that Quill Mere keeps for every user of this computer, so Quill Mere "
    "keeps your file lists, settings and installed files for you alone.";

namespace {

// Whether this user may write a file at `path`: an existing file is opened for writing (a
// file held open by another program counts, since the rights are there), and where none
// exists a file is created and removed again at once. Windows lets a standard user read but
// not write the Windows directory's files; merely finding a file says nothing.
bool CanWriteFileAt(IFileSystem& files, const std::string& path) {
    switch (files.ProbeWrite(path)) {
    case WriteAccess::allowed:
    case WriteAccess::inUse: return true;
    case WriteAccess::denied: return false;
    case WriteAccess::missing: break;
    }
    std::unique_ptr<IWriteStream> trial = files.OpenWrite(path, WriteMode::CreateAlways);
    if (!trial) return false;
    bool closed = trial->Close();
    trial.reset();
    files.Delete(path);
    return closed;
}

// The program's machine-wide key and the keys above it that may still be missing.
const char* const kMachineKeys[] = {kCompanyKeyPath, kProgramKeyPath, kVersionKey};

// Whether this user may write the program's machine-wide key. An existing key is opened for
// setting values and creating subkeys (RegCreateKey would open it for a standard user too,
// with read access alone); a missing one is tried by creating it. `created` gets the first
// key the trial made, so that it can be removed again when the places are not taken.
bool MachineKeyWritable(IRegistry& registry, std::string& created) {
    created.clear();
    if (registry.KeyExists(RegistryRoot::LocalMachine, kVersionKey))
        return registry.KeyWritable(RegistryRoot::LocalMachine, kVersionKey);
    for (const char* key : kMachineKeys)
        if (!registry.KeyExists(RegistryRoot::LocalMachine, key)) {
            created = key;
            break;
        }
    return registry.CreateKey(RegistryRoot::LocalMachine, kVersionKey);
}

// Removes what a trial creation made, from the version key up to the first key it created.
void RemoveTrialKeys(IRegistry& registry, const std::string& created) {
    if (created.empty()) return;
    for (int i = 2; i >= 0; --i) {
        registry.DeleteKey(RegistryRoot::LocalMachine, kMachineKeys[i]);
        if (created == kMachineKeys[i]) break;
    }
}

bool MachinePlacesWritable(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                           const std::string& systemFolder) {
    std::string created;
    if (!MachineKeyWritable(registry, created)) return false;
    if (CanWriteFileAt(files, windowsFolder + kPoolFileName) &&
        CanWriteFileAt(files, windowsFolder + kInstalledWallpaperName) &&
        CanWriteFileAt(files, systemFolder + kInstalledScreenSaverName))
        return true;
    RemoveTrialKeys(registry, created);
    return false;
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

StoragePlaces StoragePlaces::MachineWide(const std::string& windowsFolder, const std::string& systemFolder) {
    return StoragePlaces{false, windowsFolder, systemFolder};
}
StoragePlaces StoragePlaces::PerUser(const std::string& userFolder) {
    return StoragePlaces{true, userFolder, userFolder};
}

std::string StoragePlaces::PoolFile() const { return poolFolder + kPoolFileName; }
std::string StoragePlaces::WallpaperCopy() const { return poolFolder + kInstalledWallpaperName; }
std::string StoragePlaces::ScreenSaverCopy() const { return screenSaverFolder + kInstalledScreenSaverName; }

std::string SystemFolderOf(const std::string& windowsFolder, bool windowsNT) {
    return windowsFolder + (windowsNT ? "system32\\" : "system\\");
}

bool IsProgramKey(const std::string& path) {
    const std::string_view company = kCompanyKeyPath;
    if (path.size() < company.size() || !EqualIgnoringCase(std::string_view(path).substr(0, company.size()), company))
        return false;
    return path.size() == company.size() || path[company.size()] == '\\';
}

StorageChoice ChooseStoragePlaces(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                                  const std::string& systemFolder, const std::string& userFolder) {
    StorageChoice choice;
    choice.places = StoragePlaces::MachineWide(windowsFolder, systemFolder);
    if (userFolder.empty() || windowsFolder.empty()) return choice;

    const bool machinePool = FindFileInFolder(files, windowsFolder, kPoolFileName);
    const bool userPool = FindFileInFolder(files, userFolder, kPoolFileName);
    if (!(userPool && !machinePool) && MachinePlacesWritable(registry, files, windowsFolder, systemFolder))
        return choice;

    files.CreateFolder(userFolder.substr(0, userFolder.size() - 1));
    choice.places = StoragePlaces::PerUser(userFolder);
    if (machinePool && !userPool)
        choice.copiedMachineData = CopyMachineData(registry, files, windowsFolder, userFolder);
    choice.tellUser = ReadRegistryString(registry, RegistryRoot::CurrentUser, kPerUserNoticeKey).empty();
    return choice;
}

void RememberPerUserNotice(IRegistry& registry) {
    WriteRegistryString(registry, kPerUserNoticeKey, "Yes", RegistryRoot::CurrentUser);
}

}  // namespace qm
