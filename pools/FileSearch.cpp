#include "pools/FileSearch.h"

#include "platform/PathParts.h"

namespace qm {

bool FindFileInFolder(IFileSystem& files, const std::string& folder, const std::string& name) {
    bool found = false;
    files.Search(folder + name, [&](const FoundEntry& entry) {
        found = files.SameName(entry.name, name);
        return !found;
    });
    return found;
}

std::uint32_t FileSizeOf(IFileSystem& files, const std::string& path) {
    const PathParts parts = SplitPath(path);
    const std::string& name = parts.name;
    std::uint32_t size = 0;
    if (name.empty()) return 0;
    files.Search(parts.folder + name, [&](const FoundEntry& entry) {
        if (!files.SameName(entry.name, name)) return true;
        size = static_cast<std::uint32_t>(entry.size);
        return false;
    });
    return size;
}

std::string FileNameOfPath(const std::string& path) { return SplitPath(path).name; }

}  // namespace qm
