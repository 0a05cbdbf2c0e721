#include "chooser/ChooserBrowser.h"

#include <algorithm>

#include "chooser/ChooserRules.h"
#include "platform/LetterCase.h"
#include "platform/PathParts.h"
#include "pools/FileSearch.h"

namespace qm {

const char kDesktopEntry[] = "Desktop";
const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace {

const char* KindText(DriveKind kind) {
    switch (kind) {
        case DriveKind::Removable: return "Floppy Drive";
        case DriveKind::Fixed: return "Fixed Drive";
        case DriveKind::Remote: return "Network Drive";
        case DriveKind::CdRom: return "CD-ROM Drive";
        default: return nullptr;
    }
}

bool FolderExists(IFileSystem& files, const std::string& folder) {
    const PathParts parts = SplitPath(folder.size() > 1 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1)
                                                                                 : folder);
    return !parts.name.empty() && FindFileInFolder(files, parts.folder, parts.name);
}

}  // namespace

CChooserBrowser::CChooserBrowser(IFileSystem& files, IRegistry& registry, ISystem& system, std::string windowsDir)
    : m_files(files), m_registry(registry), m_system(system), m_windowsDir(std::move(windowsDir)) {}

FolderContents CChooserBrowser::List() {
    FolderContents listing;
    if (!m_strPath.empty()) {
        m_files.Search(m_strPath + "*", [&](const FoundEntry& entry) {
            if (entry.isFolder) {
                if (entry.name != "." && entry.name != ".." &&
                    m_strPath.size() + entry.name.size() + 1 <= kLongestPath)
                    listing.folders.push_back(ListedName{entry.name, imageFolder});
            } else if (m_strPath.size() + entry.name.size() <= kLongestPath) {
                const int image = ListedFileImage(entry.name, m_bPictures);
                if (image >= 0) listing.files.push_back(ListedName{entry.name, image});
            }
            return true;
        });
    }
    AddToHistory(m_strPath);
    return listing;
}

void CChooserBrowser::AddToHistory(const std::string& path) {
    const std::string folded = FoldPath(path);
    m_history.erase(std::remove_if(m_history.begin(), m_history.end(),
                                   [&](const std::string& entry) { return FoldPath(entry) == folded; }),
                    m_history.end());
    m_history.insert(m_history.begin(), path);
}

bool CChooserBrowser::OpenFolder(const std::string& name) {
    if (name.empty()) return false;
    m_strPrevPath = m_strPath;
    m_strPath += name + "\\";
    return true;
}

bool CChooserBrowser::UpLevel() {
    m_strPrevPath = m_strPath;
    if (m_strPath.size() > 3) {
        m_strPath.pop_back();
        while (!m_strPath.empty() && m_strPath.back() != '\\') m_strPath.pop_back();
    }
    return true;
}

bool CChooserBrowser::Back() {
    if (m_strPrevPath.empty()) return false;
    std::swap(m_strPath, m_strPrevPath);
    return true;
}

bool CChooserBrowser::ChooseDriveEntry(const std::string& entry) {
    m_strPrevPath = m_strPath;
    if (entry == kDesktopEntry) {
        const std::string desktop = DesktopFolder();
        if (desktop.empty() || desktop == m_strPath) return false;
        m_strPath = desktop;
        return true;
    }
    if (entry.size() < 3) return false;
    const char letter = entry[2];
    if (m_strPath.empty() || letter != m_strPath[0]) m_strPath = std::string(1, letter) + ":\\";
    return true;
}

bool CChooserBrowser::ChooseHistoryEntry(const std::string& entry) {
    m_strPrevPath = m_strPath;
    if (entry.size() <= 3 || FolderExists(m_files, entry)) {
        m_strPath = entry;
    } else {
        m_history.erase(std::remove(m_history.begin(), m_history.end(), entry), m_history.end());
    }
    return true;
}

std::vector<std::string> CChooserBrowser::DriveEntries() {
    std::vector<std::string> entries{kDesktopEntry};
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const char* kind = KindText(m_files.KindOfDrive(std::string(1, letter) + ":\\"));
        if (kind) entries.push_back(std::string("[-") + letter + "-]  --  " + kind);
    }
    return entries;
}

std::string CChooserBrowser::CurrentDrivePrefix() const {
    return m_strPath.empty() ? std::string() : std::string("[-") + m_strPath[0] + "-]";
}

// On Windows NT the profile folder is the History shell folder less its last component,
// and the Desktop lies in it. Where History lives elsewhere (as from Windows 2000 on) that
// rule names a folder that does not exist; the user's real Desktop folder is taken then.
std::string CChooserBrowser::DesktopFolder() {
    if (!m_system.IsWindowsNT()) return m_windowsDir + "Desktop\\";
    std::string history, desktop;
    RegistryValue value;
    for (unsigned index = 0; index < 50 && m_registry.EnumValue(RegistryRoot::CurrentUser, kShellFoldersKey, index, value);
         ++index) {
        const std::string text = value.data.substr(0, value.data.find('\0'));
        if (value.name == "History" && history.empty()) history = text;
        if (value.name == "Desktop" && desktop.empty()) desktop = text;
    }
    if (history.size() > 7) {
        const std::string fromHistory = history.substr(0, history.size() - 7) + "Desktop\\";
        if (FolderExists(m_files, fromHistory)) return fromHistory;
    }
    if (!desktop.empty()) return WithFinalBackslash(desktop);
    std::string shell;
    if (m_system.ShellFolderPath(ISystem::ShellFolder::Desktop, shell) && !shell.empty())
        return WithFinalBackslash(shell);
    return std::string();
}

bool CChooserBrowser::NewFolder(const std::string& name) { return m_files.CreateFolder(m_strPath + name); }

bool CChooserBrowser::Rename(const std::string& from, const std::string& to) {
    return m_files.Rename(m_strPath + from, m_strPath + to);
}

void CChooserBrowser::Remove(const std::string& folder, const std::string& file) {
    if (!folder.empty()) m_files.RemoveFolder(m_strPath + folder);
    if (!file.empty()) m_files.Delete(m_strPath + file);
}

}  // namespace qm
