// Manage Files with full pools, under Wine: the real program is given 9,500 pool entries (a
// third of each kind, every sound with three schemes) and worked from outside. It prints
// how long Modify Selected Files takes to show the filled dialog, and how long Make Changes
// takes to rewrite the pool file and reload the pools, as the program itself measured them
// (QM_MANAGE_TIMING) and as seen from outside. Figures, not a test.
//   qm_bench_manage.exe --program=PATH
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/PoolBytes.h"
#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

using namespace qm;
using namespace qm::e2e;

namespace {

const int kEntries = 9500;
const std::vector<std::string> kSchemes = {"Default", "Jungle", "Robotz"};
const char* const kSchemeApps[] = {".Default", "Jungle", "Robotz"};  // their application keys

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// The milliseconds the program wrote for `step`, or -1 while it has written none.
double Timed(const std::string& file, const std::string& step) {
    std::ifstream in(file);
    std::string name;
    double ms;
    double found = -1;
    while (in >> name >> ms)
        if (name == step) found = ms;
    return found;
}

void PreparePools(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string records;
    int counts[3] = {};
    for (int i = 0; i < kEntries; ++i) {
        const int kind = i % 3;  // 0 sound, 1 wallpaper, 2 screen saver
        const char* extension[] = {".wav", ".bmp", ".scr"};
        const std::string name = "entry" + std::to_string(100000 + i) + extension[kind];
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        records += kind == 0 ? test::Record(name, folder, 1, 0, 0, 3, 0, kSchemes)
                             : test::Record(name, folder, 0, kind == 1, kind == 2, 0, i % 2);
        ++counts[kind];
    }
    WriteFileBytes(WindowsDir() + "qmfiles.cfg", records);
    WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Sound Files", std::to_string(counts[0]));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\Wallpaper Files", std::to_string(counts[1]));
    WriteDefaultValue(HKEY_LOCAL_MACHINE, "Software\\Corvalith\\Quill Mere\\2.0\\ScreenSaver Files",
                      std::to_string(counts[2]));
}

template <typename Condition>
bool WaitLong(Condition condition) { return WaitUntil(condition, 60000); }

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--program=", 10) == 0) g_programPath = argv[i] + 10;
    for (char& c : g_programPath)
        if (c == '/') c = '\\';
    ResetProgramState();
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    const std::string folder = ScratchFolder() + "bench\\";
    PreparePools(folder);
    const std::string timing = ScratchFolder() + "manage-timing.txt";
    DeleteFileA(timing.c_str());
    SetEnvironmentVariableA("QM_MANAGE_TIMING", timing.c_str());

    // The schemes the sounds apply to, listed by the program from their application keys.
    for (const char* app : kSchemeApps) AddEvent(app, "Open");

    ProgramDriver program;
    if (!program.Start(ScratchFolder())) return 1;
    HWND window = program.WaitForMainWindow(60000);
    if (!window) return 1;

    // A first round gives every sound its three schemes, whatever the start-up load kept.
    PostMessageA(window, WM_COMMAND, ID_ACTIONS_MODIFY_FILES, 0);
    HWND dialog = nullptr;
    if (!WaitLong([&] { return (dialog = WindowOfProcess(program.ProcessId(), "Manage Files")) && IsWindowVisible(dialog); }))
        return 1;
    HWND sounds = GetDlgItem(dialog, IDC_MANAGE_SOUND_LIST);
    SendMessageA(sounds, LB_SETSEL, TRUE, -1);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MANAGE_SOUND_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(sounds));
    {
        RemoteListView schemes(GetDlgItem(dialog, IDC_MANAGE_SCHEME_LIST), program.Process());
        for (int i = 0; i < schemes.Count(); ++i) schemes.SetChecked(i, true);
    }
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    if (!WaitLong([&] { return Timed(timing, "manage-result") >= 0; })) return 1;
    Sleep(500);
    DeleteFileA(timing.c_str());

    // The measured round.
    const double start = NowMs();
    PostMessageA(window, WM_COMMAND, ID_ACTIONS_MODIFY_FILES, 0);
    if (!WaitLong([&] { return IsWindowVisible(dialog) && Timed(timing, "modify-files") >= 0; })) return 1;
    const double shownOutside = NowMs() - start;
    const std::size_t listed = ListTexts(sounds).size();
    const double result = NowMs();
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    if (!WaitLong([&] { return Timed(timing, "manage-result") >= 0; })) return 1;
    const double resultOutside = NowMs() - result;

    std::printf("Manage Files, %d pool entries (%d sounds listed, each with %zu schemes), under Wine:\n", kEntries,
                static_cast<int>(listed), kSchemes.size());
    std::printf("  OnModifyFiles to the filled, visible dialog: %8.1f ms (seen from outside %8.1f ms)  target < 1000 ms\n",
                Timed(timing, "modify-files"), shownOutside);
    std::printf("  OnManageResult, rewrite and reload:          %8.1f ms (seen from outside %8.1f ms)  target < 1000 ms\n",
                Timed(timing, "manage-result"), resultOutside);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    program.WaitForExit(10000);
    ResetProgramState();
    for (const char* app : {"Jungle", "Robotz"})
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kAppsKey) + "\\" + app).c_str());
    return 0;
}
