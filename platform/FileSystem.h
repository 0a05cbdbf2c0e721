#pragma once
// Files and folders as the program uses them: the platform's directory search, buffered
// reading and writing of whole files, and the comparison of names ignoring case.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qm {

struct FoundEntry {
    std::string name;       // the entry's own name, without its folder
    std::uint64_t size = 0; // bytes; 0 for folders
    bool isFolder = false;
};

class IReadStream {
public:
    virtual ~IReadStream() = default;
    // Reads up to `count` bytes; returns the number read, 0 at the end of the file,
    // or -1 when the platform reports a read error.
    virtual long Read(void* buffer, std::size_t count) = 0;
    // The file's size in bytes when it was opened, or -1 when the platform cannot tell.
    virtual std::int64_t Size() = 0;
};

class IWriteStream {
public:
    virtual ~IWriteStream() = default;
    virtual bool Write(const void* data, std::size_t count) = 0;
    // Asks the platform to put what was written on the disk itself before it returns
    // (FlushFileBuffers), not only in its cache: a file that replaces another must be whole
    // on the disk before its name moves, or a power loss can leave the name on an empty file.
    virtual bool FlushToDisk() = 0;
    // Flushes and closes; false when anything written was not stored.
    virtual bool Close() = 0;
};

enum class WriteMode { CreateAlways, Append };

// What the platform says when a file is opened for writing (nothing is written).
enum class WriteAccess {
    allowed,
    inUse,    // another program holds it without sharing: the rights to write it are there
    denied,   // this user may not write it, or a folder stands there
    missing,  // no file there
};

// What the platform says a drive is (the numbers are Windows' own drive types).
enum class DriveKind { Unknown = 0, NoRoot = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Runs the platform's directory search (first, then next) on `pattern`, a folder
    // followed by a name that may hold wildcards. Calls `visit` for each entry found
    // until it returns false.
    virtual void Search(const std::string& pattern,
                        const std::function<bool(const FoundEntry&)>& visit) = 0;
    // nullptr when the file cannot be opened (missing, locked, no rights).
    virtual std::unique_ptr<IReadStream> OpenRead(const std::string& path) = 0;
    virtual std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) = 0;
    // True when two file names are the same name for the file system, ignoring letter case.
    virtual bool SameName(const std::string& a, const std::string& b) = 0;

    // Copies the file `from` over `to`, replacing a file already there; false when nothing
    // was copied (the old `to`, if any, may then be gone or unchanged, as on Windows).
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // Deletes a file; false when there was none or it could not be deleted.
    virtual bool Delete(const std::string& path) = 0;
    // Puts the file `from` in the place of `to` in one step, replacing a file there, so that
    // nobody ever finds `to` half-written; false leaves both as they were.
    virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
    // Renames a file or folder; false when `from` is missing or `to` exists already.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;
    // Removes an empty folder; false when it holds anything or is missing.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // Opens an existing file for writing and closes it again at once, writing nothing.
    virtual WriteAccess ProbeWrite(const std::string& path) = 0;
    // The path with the file's short (8.3) name, as the file system names it; the path itself
    // where the file has no short name; false when the file is missing.
    virtual bool ShortPath(const std::string& path, std::string& out) = 0;
    // The drive letters present: bit 0 for A:, bit 2 for C:, ...
    virtual std::uint32_t LogicalDrives() = 0;
    // The kind of the drive whose root is `root` (such as "C:\").
    virtual DriveKind KindOfDrive(const std::string& root) = 0;
};

}  // namespace qm
