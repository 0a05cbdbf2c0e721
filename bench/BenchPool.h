#pragma once
// A large pool made of real files for the benchmarks: media files spread over some folders,
// the pool file that lists them, and the registry counters that go with it.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "pools/FileEntry.h"

namespace qm::bench {

struct MediaFile {
    std::string folder;  // ends in a backslash
    std::string name;
    EntryKind kind;
};

struct BenchPool {
    std::vector<MediaFile> files;
    std::vector<std::string> folders;  // each ends in a backslash
    int counts[3] = {0, 0, 0};         // indexed by EntryKind
};

// Creates `records` media files, a third of each kind, record i in folder i % folderCount
// of `root` (which ends in a backslash and exists). False, with a message, when a file or
// folder cannot be made.
bool CreateMedia(IFileSystem& fs, const std::string& root, int records, int folderCount, BenchPool& pool);
// The pool file listing every media file, sounds with three scheme names, every other
// wallpaper tiled.
bool WritePoolFile(IFileSystem& fs, const std::string& path, const BenchPool& pool);
void SetCounters(IRegistry& registry, const BenchPool& pool);

}  // namespace qm::bench
