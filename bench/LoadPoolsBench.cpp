// How long loading the pools takes with a large pool file, against the least any load of
// that file must do: read its bytes and list each folder the records name once.
//
// Builds a scratch folder with 9,500 real media files and a pool file listing them, all in
// one folder and again spread over 100 folders, then times LoadPools and that floor over
// several runs on the real file system: POSIX natively, the Win32 backend under Wine.
// Usage: qm_bench_loadpools [runs]. Exits non-zero only when a load gives wrong counts (or
// the set-up fails); missed speed targets are printed, not failed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchPool.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "pools/Archive.h"
#include "pools/PoolLoader.h"
#include "pools/Pools.h"
#include "pools/RegistryAccess.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Platform.h"
using BenchFileSystem = qm::Win32FileSystem;
constexpr int kDefaultRuns = 5;
#else
#include <stdlib.h>

#include "PosixFileSystem.h"
using BenchFileSystem = qm::bench::PosixFileSystem;
constexpr int kDefaultRuns = 15;
#endif

namespace {

using qm::bench::BenchPool;

constexpr int kRecords = 9500;
constexpr int kSchemeCapacity = 3;
constexpr double kTargetRatio = 1.5;

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::size_t n = ms.size();
    return n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
}

// A new, empty scratch folder in the program's convention (final backslash), or "".
std::string MakeScratchRoot() {
#ifdef _WIN32
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    CreateDirectoryA(temp, nullptr);  // a fresh prefix may not have made it yet
    std::string root = std::string(temp) + "qmbench." + std::to_string(GetCurrentProcessId());
    return CreateDirectoryA(root.c_str(), nullptr) ? root + "\\" : std::string();
#else
    char scratchTemplate[] = "/tmp/qmbench.XXXXXX";
    if (!::mkdtemp(scratchTemplate)) return std::string();
    std::string root = scratchTemplate;
    std::replace(root.begin(), root.end(), '/', '\\');
    return root + "\\";
#endif
}

// Removes what a layout made, however the run ends.
struct Scratch {
    qm::IFileSystem& fs;
    std::string root;
    BenchPool pool;
    ~Scratch() {
        for (const auto& file : pool.files) fs.Delete(file.folder + file.name);
        for (const auto& folder : pool.folders) fs.RemoveFolder(folder.substr(0, folder.size() - 1));
        fs.Delete(root + qm::kPoolFileName);
        fs.RemoveFolder(root.substr(0, root.size() - 1));
    }
};

bool RunLayout(qm::IFileSystem& fs, int folderCount, int runs) {
    Scratch scratch{fs, MakeScratchRoot(), {}};
    if (scratch.root.empty()) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        return false;
    }
    const std::string poolPath = scratch.root + qm::kPoolFileName;
    BenchPool& pool = scratch.pool;
    if (!qm::bench::CreateMedia(fs, scratch.root, kRecords, folderCount, pool)) return false;
    if (!qm::bench::WritePoolFile(fs, poolPath, pool)) {
        std::fprintf(stderr, "cannot write the pool file\n");
        return false;
    }
    long long poolBytes = -1;
    if (auto in = fs.OpenRead(poolPath)) poolBytes = in->Size();
    qm::FakeRegistry registry;
    qm::FakeSystem system;
    qm::bench::SetCounters(registry, pool);

    auto load = [&](double& ms) {
        qm::CPools pools;
        auto start = std::chrono::steady_clock::now();
        qm::PoolLoadResult result = qm::LoadPools(pools, registry, fs, system, scratch.root, kSchemeCapacity);
        ms = MsSince(start);
        bool ok = !result.counterMismatch && !result.fileUnreadable &&
                  pools.m_nSoundFiles == pool.counts[qm::kindSound] &&
                  pools.m_nWallpaperFiles == pool.counts[qm::kindWallpaper] &&
                  pools.m_nScreenSaverFiles == pool.counts[qm::kindScreenSaver] &&
                  pools.m_soundSchemes[0].names.size() == static_cast<std::size_t>(kSchemeCapacity);
        if (!ok)
            std::fprintf(stderr, "LoadPools gave sounds %d, wallpapers %d, screen savers %d (expected %d, %d, %d), "
                         "counter mismatch %d, unreadable %d\n", pools.m_nSoundFiles, pools.m_nWallpaperFiles,
                         pools.m_nScreenSaverFiles, pool.counts[0], pool.counts[1], pool.counts[2],
                         result.counterMismatch, result.fileUnreadable);
        return ok;
    };

    // The floor: the pool file's bytes in buffer-sized reads, and one listing of each folder.
    auto floor = [&](double& ms) {
        long long bytesRead = 0;
        std::size_t listed = 0;
        auto start = std::chrono::steady_clock::now();
        if (auto in = fs.OpenRead(poolPath)) {
            unsigned char buffer[qm::CArchive::kBufferSize];
            long got;
            while ((got = in->Read(buffer, sizeof buffer)) > 0) bytesRead += got;
        }
        for (const std::string& folder : pool.folders)
            fs.Search(folder + "*", [&](const qm::FoundEntry& entry) {
                listed += !entry.isFolder;
                return true;
            });
        ms = MsSince(start);
        bool ok = bytesRead == poolBytes && listed == pool.files.size();
        if (!ok)
            std::fprintf(stderr, "floor read %lld of %lld bytes and listed %zu of %zu files\n", bytesRead, poolBytes,
                         listed, pool.files.size());
        return ok;
    };

    // One untimed round of each first, then the two alternate so that drifts in machine
    // load touch both alike.
    double ignored;
    if (!load(ignored) || !floor(ignored)) return false;
    std::vector<double> loadMs(runs), floorMs(runs);
    for (int run = 0; run < runs; ++run)
        if (!load(loadMs[run]) || !floor(floorMs[run])) return false;

    const double loadMedian = Median(loadMs), floorMedian = Median(floorMs);
    const double ratio = loadMedian / floorMedian;
    std::printf("%d records in %d folder(s), %lld bytes, %d runs: LoadPools median %.2f ms (min %.2f), "
                "floor median %.2f ms (min %.2f), ratio %.2f, target <= %.1f %s\n",
                kRecords, folderCount, poolBytes, runs, loadMedian, *std::min_element(loadMs.begin(), loadMs.end()),
                floorMedian, *std::min_element(floorMs.begin(), floorMs.end()), ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "NOT met");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    BenchFileSystem fs;
#ifdef _WIN32
    std::printf("LoadPools on the Win32 backend\n");
#else
    std::printf("LoadPools on the POSIX file system\n");
#endif
    for (int folders : {1, 100})
        if (!RunLayout(fs, folders, runs)) return 1;
    return 0;
}
