// How long loading the pools takes with a large pool file, against the least any load of
// that file must do: read its bytes and ask the file system once per record whether the
// file is still there.
//
// Builds a scratch folder under /tmp with 9,500 real media files and a pool file listing
// them, then times LoadPools and that floor over several runs on the real file system.
// Exits non-zero only when a load gives wrong counts (or the set-up fails); missed speed
// targets are printed, not failed.
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PosixFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "pools/Archive.h"
#include "pools/FileEntry.h"
#include "pools/PoolLoader.h"
#include "pools/Pools.h"
#include "pools/RegistryAccess.h"

namespace {

using qm::bench::PosixFileSystem;

constexpr int kRecords = 9500;
constexpr int kRuns = 15;
constexpr int kSchemeCapacity = 3;
constexpr double kTargetRatio = 1.5;
constexpr double kTargetLoadMs = 100.0;

struct MediaFile {
    std::string folder;  // program convention, ending in a backslash
    std::string name;
    qm::EntryKind kind;
};

struct Figures {
    double medianMs;
    double minMs;
};

Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::size_t n = ms.size();
    double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return Figures{median, ms.front()};
}

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Removes the scratch folder however the program ends.
struct ScratchFolder {
    std::string posixPath;
    ~ScratchFolder() {
        if (posixPath.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(posixPath, ignored);
    }
};

// Converts "/tmp/x" to the program's "\tmp\x\".
std::string ProgramFolder(const std::string& posixPath) {
    std::string out = posixPath;
    for (char& c : out)
        if (c == '/') c = '\\';
    if (out.empty() || out.back() != '\\') out += '\\';
    return out;
}

bool MakeFolder(const std::string& programPath) {
    std::string path = PosixFileSystem::ToPosix(programPath);
    if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
    std::perror(path.c_str());
    return false;
}

bool WriteWholeFile(qm::IFileSystem& fs, const std::string& path, const std::string& bytes) {
    auto out = fs.OpenWrite(path, qm::WriteMode::CreateAlways);
    if (!out) return false;
    bool ok = out->Write(bytes.data(), bytes.size());
    return out->Close() && ok;
}

// Records go to the pool file interleaved across the three kinds, spread over two folders
// per kind.
bool CreateMedia(qm::IFileSystem& fs, const std::string& root, std::vector<MediaFile>& files) {
    static const char* const kKindFolder[] = {"sounds", "wallpapers", "savers"};
    static const char* const kExtension[] = {".wav", ".bmp", ".scr"};
    static const char* const kContent[] = {"RIFF....WAVE", "BM", "MZ"};
    std::string media = root + "media\\";
    if (!MakeFolder(media)) return false;
    for (int kind = 0; kind < 3; ++kind) {
        if (!MakeFolder(media + kKindFolder[kind] + "\\")) return false;
        for (int sub = 0; sub < 2; ++sub)
            if (!MakeFolder(media + kKindFolder[kind] + "\\part" + std::to_string(sub) + "\\")) return false;
    }
    files.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        int kind = i % 3;
        int n = i / 3;
        MediaFile file{media + kKindFolder[kind] + "\\part" + std::to_string(n % 2) + "\\",
                       "Item " + std::to_string(n) + kExtension[kind], static_cast<qm::EntryKind>(kind)};
        if (!WriteWholeFile(fs, file.folder + file.name, kContent[kind])) {
            std::fprintf(stderr, "cannot create %s\n", PosixFileSystem::ToPosix(file.folder + file.name).c_str());
            return false;
        }
        files.push_back(file);
    }
    return true;
}

bool WritePoolFile(qm::IFileSystem& fs, const std::string& path, const std::vector<MediaFile>& files) {
    auto out = fs.OpenWrite(path, qm::WriteMode::CreateAlways);
    if (!out) return false;
    bool ok = true;
    {
        qm::CArchive archive(*out);
        qm::CFileEntry entry;
        int wallpapers = 0;
        for (std::size_t i = 0; ok && i < files.size(); ++i) {
            const MediaFile& file = files[i];
            entry.SetFile(file.name, file.folder, file.kind);
            if (file.kind == qm::kindSound) {
                entry.AppendScheme("Windows Default");
                entry.AppendScheme("Jungle");
                entry.AppendScheme("Musica " + std::to_string(i % 7));
            } else if (file.kind == qm::kindWallpaper) {
                entry.SetTile(wallpapers++ % 2);
            }
            ok = entry.Serialize(archive);
        }
        ok = ok && archive.Flush();
    }
    return out->Close() && ok;
}

int Run() {
    char scratchTemplate[] = "/tmp/qmbench.XXXXXX";
    if (!::mkdtemp(scratchTemplate)) {
        std::perror("mkdtemp");
        return 2;
    }
    ScratchFolder scratch{scratchTemplate};
    const std::string windowsDir = ProgramFolder(scratch.posixPath);
    const std::string poolPath = windowsDir + qm::kPoolFileName;

    PosixFileSystem fs;
    std::vector<MediaFile> files;
    if (!CreateMedia(fs, windowsDir, files)) return 2;
    if (!WritePoolFile(fs, poolPath, files)) {
        std::fprintf(stderr, "cannot write the pool file\n");
        return 2;
    }
    int expected[3] = {0, 0, 0};
    for (const MediaFile& file : files) ++expected[file.kind];

    qm::FakeRegistry registry;
    qm::FakeSystem system;
    qm::SetSoundFileCount(registry, expected[qm::kindSound]);
    qm::SetWallpaperFileCount(registry, expected[qm::kindWallpaper]);
    qm::SetScreenSaverFileCount(registry, expected[qm::kindScreenSaver]);

    struct stat poolStat;
    if (::stat(PosixFileSystem::ToPosix(poolPath).c_str(), &poolStat) != 0) {
        std::perror("stat pool file");
        return 2;
    }
    const long long poolBytes = poolStat.st_size;

    auto load = [&](double& ms) {
        qm::CPools pools;
        auto start = std::chrono::steady_clock::now();
        qm::PoolLoadResult result = qm::LoadPools(pools, registry, fs, system, windowsDir, kSchemeCapacity);
        ms = MsSince(start);
        bool ok = !result.counterMismatch && !result.fileUnreadable &&
                  pools.m_nSoundFiles == qm::GetSoundFileCount(registry) &&
                  pools.m_nWallpaperFiles == qm::GetWallpaperFileCount(registry) &&
                  pools.m_nScreenSaverFiles == qm::GetScreenSaverFileCount(registry) &&
                  pools.m_nSoundFiles == expected[qm::kindSound] &&
                  pools.m_nWallpaperFiles == expected[qm::kindWallpaper] &&
                  pools.m_nScreenSaverFiles == expected[qm::kindScreenSaver] &&
                  pools.m_soundSchemes[0].names.size() == static_cast<std::size_t>(kSchemeCapacity);
        if (!ok)
            std::fprintf(stderr,
                         "LoadPools gave sounds %d, wallpapers %d, screen savers %d (expected %d, %d, %d), "
                         "counter mismatch %d, unreadable %d\n",
                         pools.m_nSoundFiles, pools.m_nWallpaperFiles, pools.m_nScreenSaverFiles,
                         expected[0], expected[1], expected[2], result.counterMismatch, result.fileUnreadable);
        return ok;
    };

    // The floor: the pool file's bytes in buffer-sized reads, and one search per record
    // for the file itself, compared by name as the load compares it.
    auto floor = [&](double& ms) {
        long long bytesRead = 0;
        int found = 0;
        auto start = std::chrono::steady_clock::now();
        if (auto in = fs.OpenRead(poolPath)) {
            unsigned char buffer[qm::CArchive::kBufferSize];
            long got;
            while ((got = in->Read(buffer, sizeof buffer)) > 0) bytesRead += got;
        }
        for (const MediaFile& file : files) {
            bool exists = false;
            fs.Search(file.folder + file.name, [&](const qm::FoundEntry& entry) {
                exists = fs.SameName(entry.name, file.name);
                return !exists;
            });
            found += exists;
        }
        ms = MsSince(start);
        bool ok = bytesRead == poolBytes && found == kRecords;
        if (!ok)
            std::fprintf(stderr, "floor read %lld of %lld bytes and found %d of %d files\n", bytesRead, poolBytes,
                         found, kRecords);
        return ok;
    };

    // One untimed round of each first, then the two alternate so that drifts in machine
    // load touch both alike.
    double ignored;
    if (!load(ignored) || !floor(ignored)) return 1;
    std::vector<double> loadMs(kRuns), floorMs(kRuns);
    for (int run = 0; run < kRuns; ++run) {
        if (!load(loadMs[run])) return 1;
        if (!floor(floorMs[run])) return 1;
    }

    Figures loadFig = Summarise(loadMs);
    Figures floorFig = Summarise(floorMs);
    double ratio = loadFig.medianMs / floorFig.medianMs;
    std::printf("pool file: %d records, %lld bytes (%d sounds, %d wallpapers, %d screen savers), %d runs\n",
                kRecords, poolBytes, expected[0], expected[1], expected[2], kRuns);
    std::printf("LoadPools %d records: median %.2f ms (min %.2f ms)\n", kRecords, loadFig.medianMs, loadFig.minMs);
    std::printf("floor (read bytes + %d existence tests): median %.2f ms (min %.2f ms)\n", kRecords,
                floorFig.medianMs, floorFig.minMs);
    std::printf("ratio load/floor: %.2f\n", ratio);
    std::printf("target ratio <= %.1f: %s\n", kTargetRatio, ratio <= kTargetRatio ? "met" : "NOT met");
    std::printf("target load < %.0f ms: %s\n", kTargetLoadMs, loadFig.medianMs < kTargetLoadMs ? "met" : "NOT met");
    return 0;
}

}  // namespace

int main() { return Run(); }
