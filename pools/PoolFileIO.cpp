#include "pools/PoolFileIO.h"

#include <memory>

#include "pools/PoolLoader.h"

namespace qm {

PoolReadResult ForEachPoolRecord(IFileSystem& files, ISystem& system, const std::string& path,
                                 const std::function<bool(const CFileEntry&)>& visit) {
    PoolReadResult result;
    std::unique_ptr<IReadStream> in = files.OpenRead(path);
    if (!in) return result;
    result.opened = true;
    CArchive archive(*in, [&system](const std::u16string& text) { return system.WideToAnsi(text); });
    for (;;) {
        CFileEntry entry;
        if (!entry.Serialize(archive)) break;
        ++result.records;
        if (!visit(entry)) break;
    }
    result.state = archive.GetState();
    return result;
}

bool ReplacePoolFile(IFileSystem& files, const std::string& folder, const std::function<bool(CArchive&)>& produce) {
    const std::string temp = folder + kPoolTempFileName;
    bool written = false;
    if (std::unique_ptr<IWriteStream> out = files.OpenWrite(temp, WriteMode::CreateAlways)) {
        {
            CArchive archive(*out);
            written = produce(archive) && archive.Flush();
        }
        written = written && out->FlushToDisk();
        written = out->Close() && written;
    }
    if (written && files.MoveReplacing(temp, folder + kPoolFileName)) return true;
    files.Delete(temp);
    return false;
}

}  // namespace qm
