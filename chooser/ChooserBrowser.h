#pragma once
// The chooser's browsing state: the folder shown, the one shown before it, the folders
// visited, and every navigation and folder operation, without a window. The dialog shows
// what this holds.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace qm {

extern const char kDesktopEntry[];  // "Desktop"
extern const char kShellFoldersKey[];

struct ListedName {
    std::string name;
    int image = 0;  // ChooserImage
};

struct FolderContents {
    std::vector<ListedName> folders;
    std::vector<ListedName> files;
};

class CChooserBrowser {
public:
    CChooserBrowser(IFileSystem& files, IRegistry& registry, ISystem& system, std::string windowsDir);

    // Whether pictures other than bitmaps are listed: only where they can be decoded.
    void SetPicturesListed(bool listed) { m_bPictures = listed; }
    bool PicturesListed() const { return m_bPictures; }

    const std::string& Path() const { return m_strPath; }
    const std::string& PrevPath() const { return m_strPrevPath; }
    // The folders shown so far, the most recent first, each once.
    const std::vector<std::string>& History() const { return m_history; }

    // The folder of the first showing (a path ending in a backslash).
    void SetPath(const std::string& path) { m_strPath = path; }
    // Before every showing: no previous folder.
    void ResetForShow() { m_strPrevPath.clear(); }

    // Lists the folder shown and records it at the top of the history. A folder that cannot
    // be listed gives two empty lists. Names whose full path the platform's calls cannot
    // reach are left out.
    FolderContents List();
    void AddToHistory(const std::string& path);

    // Navigation. Each returns true when the lists are to be listed again.
    bool OpenFolder(const std::string& name);  // a double-click on a folder
    bool UpLevel();
    bool Back();                                // false when there is no previous folder
    bool ChooseDriveEntry(const std::string& entry);
    bool ChooseHistoryEntry(const std::string& entry);  // a vanished folder leaves the history

    // "Desktop" and one "[-C-]  --  Fixed Drive" entry per drive of a known kind.
    std::vector<std::string> DriveEntries();
    // The beginning of the drive entry of the folder shown ("[-C-]"), empty before any.
    std::string CurrentDrivePrefix() const;
    // The folder "Desktop" stands for, ending in a backslash; empty when none can be found.
    std::string DesktopFolder();

    // Folder operations on names in the folder shown.
    bool NewFolder(const std::string& name);
    bool Rename(const std::string& from, const std::string& to);
    // Removes the folder if it is empty and deletes the file; either name may be empty.
    void Remove(const std::string& folder, const std::string& file);

private:
    IFileSystem& m_files;
    IRegistry& m_registry;
    ISystem& m_system;
    std::string m_windowsDir;
    std::string m_strPath;
    std::string m_strPrevPath;
    std::vector<std::string> m_history;
    bool m_bPictures = false;  // pictures other than bitmaps are listed
};

}  // namespace qm
