#pragma once
// The file system interface over POSIX calls, so that the benchmark measures the pool load
// against real files, directory searches and reads on Linux.
//
// Paths keep the program's convention (backslashes) and are mapped onto POSIX paths:
//   - a leading drive ("C:", any letter) is dropped, so "C:\tmp\x\" and "\tmp\x\" are the
//     same folder /tmp/x/;
//   - every backslash becomes a slash;
//   - a path that does not start with a backslash is relative to the working directory.
//
// Differences from the Windows directory search that the benchmark does not depend on:
//   - a search for a name without wildcards is a stat of that exact path, so its letter case
//     must match the file on disk (Linux file systems are case sensitive); the entry found
//     reports the name as it was asked for;
//   - a wildcard search matches names with fnmatch ignoring case, where "*.*" needs a dot in
//     the name; "." and ".." are never reported; '[' in a pattern is an ordinary character.
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace qm::bench {

class PosixFileSystem : public IFileSystem {
public:
    void Search(const std::string& pattern,
                const std::function<bool(const FoundEntry&)>& visit) override;
    std::unique_ptr<IReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) override;
    bool SameName(const std::string& a, const std::string& b) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    WriteAccess ProbeWrite(const std::string& path) override {
        struct stat st;
        if (::stat(ToPosix(path).c_str(), &st) != 0) return WriteAccess::missing;
        return S_ISREG(st.st_mode) && ::access(ToPosix(path).c_str(), W_OK) == 0 ? WriteAccess::allowed
                                                                                  : WriteAccess::denied;
    }
    bool ShortPath(const std::string& path, std::string& out) override {
        struct stat st;
        if (::stat(ToPosix(path).c_str(), &st) != 0) return false;
        out = path;  // Linux file systems make no short names
        return true;
    }
    // One fixed drive, C:.
    std::uint32_t LogicalDrives() override { return 1u << 2; }
    DriveKind KindOfDrive(const std::string&) override { return DriveKind::Fixed; }

    // The POSIX path of a path in the program's convention.
    static std::string ToPosix(const std::string& path);
};

}  // namespace qm::bench
