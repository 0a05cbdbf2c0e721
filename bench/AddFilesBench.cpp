// How long adding a batch of 1,000 new files takes when the pools already hold 8,000
// entries: every chosen path is checked against every pool path, records are appended
// and the counters written. Runs on the in-memory file system and registry, so the figure
// is the addition's own work. Exits non-zero only when an addition gives wrong counts;
// a missed target is printed, not failed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"
#include "pools/PoolAddition.h"
#include "pools/PoolLoader.h"

namespace {

constexpr int kExisting = 8000;
constexpr int kAdded = 1000;
constexpr int kRuns = 9;
constexpr double kTargetMs = 200.0;
const char kWindowsDir[] = "C:\\WINDOWS\\";
const char kMedia[] = "C:\\Media\\Collection\\";

std::vector<std::string> Names(const char* stem, int count, int from) {
    std::vector<std::string> names;
    for (int i = from; i < from + count; ++i) {
        const char* ending = i % 3 == 0 ? ".bmp" : i % 3 == 1 ? ".wav" : ".scr";
        names.push_back(std::string(stem) + std::to_string(i) + ending);
    }
    return names;
}

}  // namespace

int main() {
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        qm::FakeFileSystem files;
        files.AddFolder("C:\\WINDOWS");
        qm::FakeRegistry registry;
        qm::FakeSystem system;
        qm::CPools pools;
        pools.Reset(5);
        qm::ChosenFiles existing{kMedia, Names("Existing file ", kExisting, 0), {"Default", "Jungle"}, false};
        if (qm::AddChosenFiles(pools, registry, files, system, kWindowsDir, existing).added != kExisting) {
            std::fprintf(stderr, "set-up: the existing entries were not all added\n");
            return 1;
        }
        // The chosen names differ from the pool's only in their last characters, as
        // files of one folder do, and in letter case.
        qm::ChosenFiles batch{"c:\\media\\COLLECTION\\", Names("New file ", kAdded, kExisting), {"Default"}, true};
        auto start = std::chrono::steady_clock::now();
        qm::AdditionOutcome outcome = qm::AddChosenFiles(pools, registry, files, system, kWindowsDir, batch);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (outcome.added != kAdded || outcome.rewritten) {
            std::fprintf(stderr, "the batch gave %d entries\n", outcome.added);
            return 1;
        }
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("Adding %d new files to pools of %d entries (in memory, %d runs): median %.1f ms, best %.1f ms; "
                "target < %.0f ms: %s\n",
                kAdded, kExisting, kRuns, median, ms.front(), kTargetMs, median < kTargetMs ? "met" : "MISSED");
    return 0;
}
