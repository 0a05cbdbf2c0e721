#include "BenchPool.h"

#include <cstdio>

#include "pools/Archive.h"
#include "pools/RegistryAccess.h"

namespace qm::bench {

namespace {

bool WriteWholeFile(IFileSystem& fs, const std::string& path, const std::string& bytes) {
    auto out = fs.OpenWrite(path, WriteMode::CreateAlways);
    if (!out) return false;
    bool ok = out->Write(bytes.data(), bytes.size());
    return out->Close() && ok;
}

}  // namespace

bool CreateMedia(IFileSystem& fs, const std::string& root, int records, int folderCount, BenchPool& pool) {
    static const char* const kExtension[] = {".wav", ".bmp", ".scr"};
    static const char* const kContent[] = {"RIFF....WAVE", "BM", "MZ"};
    for (int f = 0; f < folderCount; ++f) {
        std::string folder = root + "media " + std::to_string(f) + "\\";
        fs.CreateFolder(folder.substr(0, folder.size() - 1));  // may exist from an earlier run
        pool.folders.push_back(folder);
    }
    pool.files.reserve(records);
    for (int i = 0; i < records; ++i) {
        int kind = i % 3;
        MediaFile file{pool.folders[i % folderCount], "Item " + std::to_string(i) + kExtension[kind],
                       static_cast<EntryKind>(kind)};
        if (!WriteWholeFile(fs, file.folder + file.name, kContent[kind])) {
            std::fprintf(stderr, "cannot create %s%s\n", file.folder.c_str(), file.name.c_str());
            return false;
        }
        ++pool.counts[kind];
        pool.files.push_back(file);
    }
    return true;
}

bool WritePoolFile(IFileSystem& fs, const std::string& path, const BenchPool& pool) {
    auto out = fs.OpenWrite(path, WriteMode::CreateAlways);
    if (!out) return false;
    bool ok = true;
    {
        CArchive archive(*out);
        CFileEntry entry;
        int wallpapers = 0;
        for (std::size_t i = 0; ok && i < pool.files.size(); ++i) {
            const MediaFile& file = pool.files[i];
            entry.ClearSchemes();
            entry.SetFile(file.name, file.folder, file.kind);
            if (file.kind == kindSound) {
                entry.AppendScheme("Windows Default");
                entry.AppendScheme("Jungle");
                entry.AppendScheme("Musica " + std::to_string(i % 7));
            } else if (file.kind == kindWallpaper) {
                entry.SetTile(wallpapers++ % 2);
            }
            ok = entry.Serialize(archive);
        }
        ok = ok && archive.Flush();
    }
    return out->Close() && ok;
}

void SetCounters(IRegistry& registry, const BenchPool& pool) {
    SetSoundFileCount(registry, pool.counts[kindSound]);
    SetWallpaperFileCount(registry, pool.counts[kindWallpaper]);
    SetScreenSaverFileCount(registry, pool.counts[kindScreenSaver]);
}

}  // namespace qm::bench
