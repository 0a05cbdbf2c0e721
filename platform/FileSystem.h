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
    // Flushes and closes; false when anything written was not stored.
    virtual bool Close() = 0;
};

enum class WriteMode { CreateAlways, Append };

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
};

}  // namespace qm
