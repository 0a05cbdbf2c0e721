// How long QuillMere.exe with a full pool takes from its process start until its main
// window answers a message, beside a minimal dialog program started the same way.
// The driver keeps sending WM_NULL once the window exists; the window answers from the end
// of its last wait longer than 50 ms (a window can let one sent message in while it is
// still starting), once it has answered promptly for 1.5 s.
//
// Usage (under Wine, in a prefix of its own: it replaces the program's pool file, counters
// and preferences there): qm_bench_startup [QuillMere.exe [MinimalDialog.exe]]
// Both default to their places in the build tree. Prints figures; exits non-zero only when
// the set-up fails or a program never shows its window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchPool.h"
#include "platform/win32/Win32Platform.h"
#include "pools/PoolLoader.h"
#include "prefs/Preferences.h"

namespace {

constexpr int kRecords = 9500;
constexpr int kRuns = 5;
constexpr double kTargetMs = 400.0;
constexpr double kTargetRatio = 3.0;
constexpr double kStallMs = 50.0;
constexpr double kSteadyMs = 1500.0;

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->processId || std::strcmp(title, search->title) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of the process other than the main window: a message box.
struct BoxSearch {
    DWORD processId;
    HWND main;
    std::string text;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->main || !IsWindowVisible(window)) return TRUE;
    char text[256] = {};
    HWND label = GetDlgItem(window, 0xFFFF);  // the message box's text
    GetWindowTextA(label ? label : window, text, sizeof text);
    search->text = text;
    return FALSE;
}

struct StartFigures {
    double windowMs = -1;    // the window exists
    double answeredMs = -1;  // the window answered WM_NULL
    double longestWaitMs = 0;  // the longest wait for an answer after the window appeared
    std::string box;         // the text of a message box shown meanwhile
};

// Starts `program` in `workingFolder`, waits for its window titled `title`, sends it
// WM_NULL and waits for the answer; then ends the process.
StartFigures TimeStart(const std::string& program, const std::string& workingFolder, const char* title) {
    StartFigures figures;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    const double start = NowMs();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return figures;
    }
    WindowSearch search{process.dwProcessId, title, nullptr};
    while (NowMs() - start < 30000) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        Sleep(1);
    }
    if (search.found) {
        figures.windowMs = NowMs() - start;
        // A window may answer a sent message in the middle of its start (Wine lets sent
        // messages in while the thread waits on the desktop process): it counts as answering
        // from the end of its last stall, once it has answered every message within
        // kStallMs for kSteadyMs.
        double ready = -1;
        while (NowMs() - start < 30000 && (ready < 0 || NowMs() - ready < kSteadyMs)) {
            const double sent = NowMs();
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) break;
            const double now = NowMs();
            figures.longestWaitMs = std::max(figures.longestWaitMs, now - sent);
            if (ready < 0 || now - sent > kStallMs) ready = now;
            Sleep(1);
        }
        if (ready >= 0 && NowMs() - ready >= kSteadyMs) figures.answeredMs = ready - start;
        // A message box answers messages too; a start that shows one is not measured.
        BoxSearch box{process.dwProcessId, search.found, std::string()};
        EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&box));
        figures.box = box.text;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string HereOr(int argc, char** argv, int index, const std::string& relative) {
    if (argc > index) return argv[index];
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + relative;
}

// Times kRuns starts of a program; prints and returns the median answer time, or -1.
double Measure(const char* label, const std::string& program, const std::string& workingFolder,
               const char* title) {
    std::vector<double> window, answered, longest;
    for (int run = 0; run < kRuns; ++run) {
        StartFigures figures = TimeStart(program, workingFolder, title);
        if (figures.answeredMs < 0) {
            std::fprintf(stderr, "%s: no answering window titled \"%s\"\n", label, title);
            return -1;
        }
        if (!figures.box.empty()) {
            std::fprintf(stderr, "%s: showed a message box: %s\n", label, figures.box.c_str());
            return -1;
        }
        window.push_back(figures.windowMs);
        answered.push_back(figures.answeredMs);
        longest.push_back(figures.longestWaitMs);
    }
    std::printf("%s: window after %.0f ms, answers after %.0f ms (median of %d; fastest %.0f ms, slowest %.0f ms); "
                "longest wait for one answer %.0f ms\n",
                label, Median(window), Median(answered), kRuns, *std::min_element(answered.begin(), answered.end()),
                *std::max_element(answered.begin(), answered.end()), Median(longest));
    return Median(answered);
}

int Run(int argc, char** argv) {
    const std::string program = HereOr(argc, argv, 1, "..\\bin\\QuillMere.exe");
    const std::string minimal = HereOr(argc, argv, 2, "qm_minimal_dialog.exe");

    qm::Win32FileSystem fs;
    qm::Win32Registry registry;
    qm::Win32System system;
    std::string windowsDir;
    if (!system.WindowsDirectory(windowsDir)) return 2;
    if (windowsDir.back() != '\\') windowsDir += '\\';
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    CreateDirectoryA(temp, nullptr);
    const std::string root = std::string(temp) + "qm startup bench\\";
    CreateDirectoryA(root.c_str(), nullptr);

    qm::bench::BenchPool pool;
    if (!qm::bench::CreateMedia(fs, root, kRecords, 1, pool)) return 2;
    if (!qm::bench::WritePoolFile(fs, windowsDir + qm::kPoolFileName, pool)) {
        std::fprintf(stderr, "cannot write the pool file\n");
        return 2;
    }
    qm::bench::SetCounters(registry, pool);
    // Stored preferences, so that this is not a first start (which opens the file chooser).
    qm::SavePreferences(registry, qm::CPreferences{"nn", "nnn|"});

    std::printf("start-up with %d pool entries in one folder, %d starts each, interactive run\n", kRecords, kRuns);
    double full = Measure("QuillMere.exe", program, root, "Quill Mere V2.01");
    // The same start with empty pools: what the entries themselves cost at start-up.
    const qm::bench::BenchPool none;
    double empty = -1;
    if (qm::bench::WritePoolFile(fs, windowsDir + qm::kPoolFileName, none)) {
        qm::bench::SetCounters(registry, none);
        empty = Measure("QuillMere.exe, empty pools", program, root, "Quill Mere V2.01");
    }
    double least = Measure("minimal dialog", minimal, root, "Minimal Dialog");

    for (const auto& file : pool.files) fs.Delete(file.folder + file.name);
    for (const auto& folder : pool.folders) fs.RemoveFolder(folder.substr(0, folder.size() - 1));
    fs.RemoveFolder(root.substr(0, root.size() - 1));
    if (full < 0 || least < 0) return 1;
    std::printf("ratio QuillMere.exe/minimal: %.2f\n", full / least);
    if (empty >= 0) std::printf("what the %d entries add to the start: %.0f ms\n", kRecords, full - empty);
    std::printf("target answer within %.0f ms: %s\n", kTargetMs, full <= kTargetMs ? "met" : "NOT met");
    std::printf("target within %.0fx the minimal program: %s\n", kTargetRatio,
                full <= kTargetRatio * least ? "met" : "NOT met");
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
