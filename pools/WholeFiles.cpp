#include "pools/WholeFiles.h"

#include <algorithm>
#include <memory>

namespace qm {

bool ReadWhole(IFileSystem& files, const std::string& path, std::string& text, std::size_t limit) {
    std::unique_ptr<IReadStream> in = files.OpenRead(path);
    if (!in) return false;
    char buffer[4096];
    while (text.size() < limit) {
        const long got = in->Read(buffer, std::min(sizeof buffer, limit - text.size()));
        if (got < 0) return false;
        if (got == 0) return true;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

bool ReplaceWhole(IFileSystem& files, const std::string& target, const std::string& temp, const std::string& bytes) {
    bool written = false;
    if (std::unique_ptr<IWriteStream> out = files.OpenWrite(temp, WriteMode::CreateAlways)) {
        // On the disk before it takes the old file's place (see IWriteStream::FlushToDisk).
        written = out->Write(bytes.data(), bytes.size()) && out->FlushToDisk();
        written = out->Close() && written;
    }
    if (written && files.MoveReplacing(temp, target)) return true;
    files.Delete(temp);
    return false;
}

}  // namespace qm
