#pragma once
// Add Files and Modify Selected Files worked from outside, as a person works them: the
// chooser on the folder the program was started in, and the filled Manage Files window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

// Chooses `name` in the chooser, Tile as well when `tile` says so, and presses OK; returns
// once the main window has written the addition to `poolFile`.
inline void AddThroughChooser(const ProgramDriver& program, HWND window, const std::string& name,
                              const std::string& poolFile, bool tile = false) {
    PostMessageA(window, WM_COMMAND, ID_ACTIONS_ADD_FILES, 0);
    HWND chooser = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (chooser = WindowOfProcess(program.ProcessId(), kChooserTitle)) != nullptr && IsWindowVisible(chooser);
    }, 10000));
    ASSERT_TRUE(RemoteListView(GetDlgItem(chooser, IDC_CHOOSER_FILES), program.Process()).Click(name)) << name;
    if (tile) SendMessageA(GetDlgItem(chooser, IDC_CHOOSER_TILE), BM_CLICK, 0, 0);
    const std::string before = ReadFileBytes(poolFile);
    SendMessageA(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    // The addition runs from the result the chooser posts; once it has begun to write,
    // a message sent to the main window is answered only after it.
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(poolFile) != before; }, 20000)) << "the addition wrote nothing";
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
}

// The Manage Files window of the run that `window` is the main window of.
inline HWND ManageWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return WindowOfProcess(processId, "Manage Files");
}

// Runs Modify Selected Files and waits for the filled, visible dialog.
inline HWND OpenManage(HWND window) {
    PostMessageA(window, WM_COMMAND, ID_ACTIONS_MODIFY_FILES, 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = ManageWindow(window)) != nullptr && IsWindowVisible(dialog); }, 10000);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

}  // namespace qm::e2e
