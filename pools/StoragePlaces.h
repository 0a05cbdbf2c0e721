#pragma once
// Where the program keeps what it stores: the preferences and the three pool counters in the
// registry, the pool file and the installed wallpaper and screen-saver copies on disk. The
// machine-wide places (HKEY_LOCAL_MACHINE, the Windows and system directories) are used
// wherever the program may write there, exactly as always. A user who may not (a standard
// user on Windows Vista and later) gets places of their own: HKEY_CURRENT_USER under the
// same key path, and a folder under the local application data. The counters and the pool
// file always move together.
#include <string>

#include "platform/FileSystem.h"
#include "platform/ProxyRegistry.h"
#include "pools/ProgramKeys.h"

namespace qm {

extern const char kPerUserNoticeMessage[];

struct StoragePlaces {
    bool perUser = false;           // settings and counters under HKEY_CURRENT_USER
    std::string poolFolder;         // "qmfiles.cfg" and "Quill Mere.bmp"; ends in a backslash
    std::string screenSaverFolder;  // "Quill Mere.scr"; ends in a backslash

    // The machine-wide places: the Windows directory, and the system directory for the
    // screen saver; and a user's own, all in their folder.
    static StoragePlaces MachineWide(const std::string& windowsFolder, const std::string& systemFolder);
    static StoragePlaces PerUser(const std::string& userFolder);

    std::string PoolFile() const;
    std::string WallpaperCopy() const;    // the installed wallpaper copy, "Quill Mere.bmp"
    std::string ScreenSaverCopy() const;  // the installed screen-saver copy, "Quill Mere.scr"
};

// The system directory the program installs its screen saver in: "system32" on Windows NT,
// "system" on Windows 95 and 98.
std::string SystemFolderOf(const std::string& windowsFolder, bool windowsNT);

struct StorageChoice {
    StoragePlaces places;
    bool copiedMachineData = false;  // the machine-wide pools were copied into the user's places
    bool tellUser = false;           // per-user places, and this user has not been told yet
};

// Chooses the places before anything is loaded. `systemFolder` is the system directory
// (ends in a backslash); `userFolder` is the program's folder under the user's local
// application data (ends in a backslash; empty when the shell cannot tell, which keeps
// the machine-wide places). Reading prefers the place that holds a pool file. A user who
// falls back while only the machine-wide place holds pools gets a copy of them (pool file,
// counters and preferences), which leaves the machine-wide data as it was.
StorageChoice ChooseStoragePlaces(IRegistry& registry, IFileSystem& files, const std::string& windowsFolder,
                                  const std::string& systemFolder, const std::string& userFolder);

// Records that this user has been told about the per-user places.
void RememberPerUserNotice(IRegistry& registry);

// True when `path` names a key of the program below HKEY_LOCAL_MACHINE (letter case ignored).
bool IsProgramKey(const std::string& path);

// The registry as the program's settings see it: with per-user places, the program's keys
// below HKEY_LOCAL_MACHINE are read and written below HKEY_CURRENT_USER instead; every other
// key is passed through untouched.
class SettingsRegistry : public ProxyRegistry {
public:
    explicit SettingsRegistry(IRegistry& inner) : ProxyRegistry(inner) {}
    void SetPerUser(bool perUser) { m_perUser = perUser; }

    bool KeyExists(RegistryRoot root, const std::string& path) override {
        return m_inner.KeyExists(Root(root, path), path);
    }
    bool EnumValue(RegistryRoot root, const std::string& path, unsigned index, RegistryValue& out) override {
        return m_inner.EnumValue(Root(root, path), path, index, out);
    }
    bool EnumSubkey(RegistryRoot root, const std::string& path, unsigned index, std::string& name) override {
        return m_inner.EnumSubkey(Root(root, path), path, index, name);
    }
    bool DeleteKey(RegistryRoot root, const std::string& path) override {
        return m_inner.DeleteKey(Root(root, path), path);
    }
    bool CreateKey(RegistryRoot root, const std::string& path) override {
        return m_inner.CreateKey(Root(root, path), path);
    }
    bool ReadValue(RegistryRoot root, const std::string& path, const std::string& name, std::string& data) override {
        return m_inner.ReadValue(Root(root, path), path, name, data);
    }
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override {
        return m_inner.SetValue(Root(root, path), path, name, text);
    }
    bool KeyWritable(RegistryRoot root, const std::string& path) override {
        return m_inner.KeyWritable(Root(root, path), path);
    }
    bool Contents(RegistryRoot root, const std::string& path, KeyContents& out) override {
        return m_inner.Contents(Root(root, path), path, out);
    }
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override {
        return m_inner.DeleteValue(Root(root, path), path, name);
    }

private:
    RegistryRoot Root(RegistryRoot root, const std::string& path) const {
        return m_perUser && root == RegistryRoot::LocalMachine && IsProgramKey(path) ? RegistryRoot::CurrentUser
                                                                                     : root;
    }
    bool m_perUser = false;
};

}  // namespace qm
