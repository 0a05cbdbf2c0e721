#include "pools/FileSearch.h"

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
    std::size_t slash = path.find_last_of('\\');
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::uint32_t size = 0;
    if (name.empty()) return 0;
    files.Search(folder + name, [&](const FoundEntry& entry) {
        if (!files.SameName(entry.name, name)) return true;
        size = static_cast<std::uint32_t>(entry.size);
        return false;
    });
    return size;
}

std::string FileNameOfPath(const std::string& path) {
    std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace qm
