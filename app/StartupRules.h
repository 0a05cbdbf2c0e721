#pragma once
// The decisions of start-up that need no window: the two directories, the kind of run,
// the first start, and which pool file is the installed wallpaper or screen saver.
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "pools/FileEntry.h"
#include "pools/Pools.h"
#include "randomize/DisplaySettings.h"  // the installed copies' names

namespace qm {

extern const char kProgramTitle[];          // "Quill Mere V2.01", also the window title
extern const char kWindowsDirFailedMessage[];
extern const char kProgramDirFailedMessage[];

struct DirectoryResult {
    std::string dir;  // ends in a backslash; empty after a failure
    bool ok = false;
};

// The Windows directory with every character kept and a final backslash.
DirectoryResult GetWindowsDir(ISystem& system);
// The working folder at launch, always with a backslash appended (so "C:\" gives "C:\\").
DirectoryResult GetProgramDir(ISystem& system);

struct StartDirectories {
    DirectoryResult windowsDir, programDir;
};
// The first step of every start, before any file is touched: critical-error boxes are
// turned off for the process (see ISystem::FailCriticalErrorsQuietly), so that a pool entry
// or a chooser folder on a drive without its medium is a missing file; then the two
// directories are read.
StartDirectories BeginStartup(ISystem& system);

enum class RunKind { Interactive, Startup };
// A start whose working folder is exactly (letter case included) the Windows directory is
// the start made by Windows at log-on.
RunKind ChooseRunKind(const std::string& programDir, const std::string& windowsDir);

// The first start on a machine is an interactive start that finds no stored preferences:
// every interactive run stores them when it ends, so their absence means the program has
// never been left the normal way on this machine.
bool IsFirstStart(int preferencesLoaded, RunKind kind);

// The first entry of the wallpaper or screen-saver pool whose size equals the installed
// copy's, or "none".
std::string FindCurrentPoolFile(IFileSystem& files, const CPools& pools, EntryKind kind,
                                const std::string& installedPath);
// The installed wallpaper's pool entry: the picture it was converted from, while the copy
// is still that conversion and the picture is in the pool; else as FindCurrentPoolFile.
std::string FindInstalledWallpaper(IRegistry& registry, IFileSystem& files, const CPools& pools,
                                   const std::string& installedPath);

}  // namespace qm
