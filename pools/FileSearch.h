#pragma once
// Questions put to the file system by directory search.
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace qm {

// Whether searching folder + name yields an entry whose own name equals `name` ignoring
// case. A folder without its final backslash runs into the name and finds nothing.
bool FindFileInFolder(IFileSystem& files, const std::string& folder, const std::string& name);

// The size (low 32 bits) of the file that a search for `path` finds under its own name, or 0.
std::uint32_t FileSizeOf(IFileSystem& files, const std::string& path);

// The part of a path after its last backslash; the whole path when it has none.
std::string FileNameOfPath(const std::string& path);

}  // namespace qm
