#include "app/StartupRules.h"

#include "pools/FileSearch.h"
#include "pools/FolderListing.h"
#include "randomize/PictureInstall.h"

namespace qm {

const char kProgramTitle[] = "Quill Mere V2.01";
const char kWindowsDirFailedMessage[] = "Fatal Error (02): Could not locate your Windows directory!";
const char kProgramDirFailedMessage[] = "Fatal Error (01): Couldn't find your Quill Mere directory!";

DirectoryResult GetWindowsDir(ISystem& system) {
    DirectoryResult result;
    std::string raw;
    if (!system.WindowsDirectory(raw)) return result;
    result.ok = true;
    result.dir = raw.substr(0, raw.find('\0'));
    if (result.dir.empty() || result.dir.back() != '\\') result.dir += '\\';
    return result;
}

DirectoryResult GetProgramDir(ISystem& system) {
    DirectoryResult result;
    std::string raw;
    if (!system.CurrentDirectory(raw)) return result;
    result.ok = true;
    result.dir = raw.substr(0, raw.find('\0')) + "\\";
    return result;
}

StartDirectories BeginStartup(ISystem& system) {
    system.FailCriticalErrorsQuietly();
    return StartDirectories{GetWindowsDir(system), GetProgramDir(system)};
}

RunKind ChooseRunKind(const std::string& programDir, const std::string& windowsDir) {
    return !programDir.empty() && programDir == windowsDir ? RunKind::Startup : RunKind::Interactive;
}

bool IsFirstStart(int preferencesLoaded, RunKind kind) {
    return !preferencesLoaded && kind == RunKind::Interactive;
}


std::string FindCurrentPoolFile(IFileSystem& files, const CPools& pools, EntryKind kind,
                                const std::string& installedPath) {
    const std::uint32_t size = FileSizeOf(files, installedPath);
    const bool wallpaper = kind == kindWallpaper;
    const std::vector<std::string>& pool = wallpaper ? pools.m_wallpaperFiles : pools.m_screenSaverFiles;
    const int count = wallpaper ? pools.m_nWallpaperFiles : pools.m_nScreenSaverFiles;
    // The pool's folders are read once each; the installed copy's folder (the Windows or
    // system folder, large and named by no entry) is searched for the copy alone.
    CFolderListing folders(files);
    for (int i = 0; i < count && i < static_cast<int>(pool.size()); ++i)
        if (folders.SizeOf(pool[i]) == size) return pool[i];
    return "none";
}

std::string FindInstalledWallpaper(IRegistry& registry, IFileSystem& files, const CPools& pools,
                                   const std::string& installedPath) {
    const std::string converted = ConvertedPictureOf(registry, files, installedPath);
    for (int i = 0; !converted.empty() && i < pools.m_nWallpaperFiles && i < static_cast<int>(pools.m_wallpaperFiles.size()); ++i)
        if (pools.m_wallpaperFiles[i] == converted) return converted;
    return FindCurrentPoolFile(files, pools, kindWallpaper, installedPath);
}

}  // namespace qm
