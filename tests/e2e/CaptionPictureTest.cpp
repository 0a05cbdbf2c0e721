// The group boxes' caption pictures, read from the live windows at 96 and at 144 dpi: each
// lies whole inside its box and the dialog and covers no other control. Dialog units grow
// with the dpi; the pictures keep their size in pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "e2e/ProgramDriver.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const int kCaptionIndent = 7;  // the picture's offset from its box's left edge (ui/PaintedDialog.cpp)
const char kDpiValue[] = "LogPixels";

RECT RectIn(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The size of a bitmap of the program's resources, from its header.
SIZE BitmapSize(int id) {
    SIZE size = {};
    HMODULE image = LoadLibraryExA(g_programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image ? FindResourceA(image, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)) : nullptr;  // RT_BITMAP
    if (found) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(image, found)));
        size = {header->biWidth, std::abs(header->biHeight)};
    }
    if (image) FreeLibrary(image);
    return size;
}

// Checks each caption picture of `dialog` and returns their ids.
std::vector<int> CheckCaptionPictures(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        controls.push_back(control);
    RECT client, whole, meet;
    GetClientRect(dialog, &client);
    std::vector<int> pictures;
    for (HWND box : controls) {
        const int id = static_cast<int>(GetWindowLongPtrA(box, GWLP_USERDATA));
        if ((GetWindowLongA(box, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX || !id) continue;
        SCOPED_TRACE(id);
        pictures.push_back(id);
        const RECT frame = RectIn(dialog, box);
        const SIZE size = BitmapSize(id);
        EXPECT_GT(size.cy, 0);
        const RECT picture = {frame.left + kCaptionIndent, frame.top, frame.left + kCaptionIndent + size.cx,
                              frame.top + size.cy};
        UnionRect(&whole, &frame, &picture);
        EXPECT_TRUE(EqualRect(&whole, &frame)) << "cut off by its box";
        UnionRect(&whole, &client, &picture);
        EXPECT_TRUE(EqualRect(&whole, &client)) << "cut off by the dialog";
        for (HWND other : controls) {
            const RECT rect = RectIn(dialog, other);
            EXPECT_TRUE(other == box || !IntersectRect(&meet, &picture, &rect))
                << "covers control " << GetDlgCtrlID(other) << " \"" << TextOf(other) << "\" at " << rect.left << ","
                << rect.top << " (picture " << picture.left << "," << picture.top << " to " << picture.right << ","
                << picture.bottom << ")";
        }
    }
    return pictures;
}

// The dpi is read by each program as it starts, from the user's desktop settings.
class CaptionPictures : public ::testing::TestWithParam<DWORD> {
protected:
    void SetUp() override {
        ResetProgramState();
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &desktop, nullptr);
        DWORD size = sizeof before;
        hadValue = RegQueryValueExA(desktop, kDpiValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&before), &size) ==
                   ERROR_SUCCESS;
        const DWORD dpi = GetParam();
        RegSetValueExA(desktop, kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    void TearDown() override {
        if (window) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        program.WaitForExit(10000);
        if (hadValue)
            RegSetValueExA(desktop, kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before), sizeof before);
        else
            RegDeleteValueA(desktop, kDpiValue);
        RegCloseKey(desktop);
        ResetProgramState();
    }

    ProgramDriver program;
    HWND window = nullptr;
    HKEY desktop = nullptr;
    DWORD before = 0;
    bool hadValue = false;
};

struct Dialog {
    UINT command;  // the main window's command that shows it; 0 for the main window itself
    const char* title;
    std::vector<int> pictures;
};

}  // namespace

TEST_P(CaptionPictures, LieWholeInTheirBoxesAndCoverNoOtherControl) {
    ASSERT_TRUE(program.Start(ScratchFolder()));
    ASSERT_TRUE(window = program.WaitForInitialisedWindow());
    // The main window's client area, 227 dialog units wide, grows with the dpi.
    RECT client;
    GetClientRect(window, &client);
    EXPECT_GT(client.right, static_cast<LONG>(300 * GetParam() / 96));
    const Dialog dialogs[] = {
        {0, kTitle, {IDB_SOUND_SETTINGS, IDB_DISPLAY_SETTINGS}},
        {ID_ACTIONS_MODIFY_FILES, "Manage Files", {IDB_WALLPAPER_FILES, IDB_SCREEN_SAVER_FILES, IDB_SOUND_FILES}},
        {ID_OPTIONS_SETTINGS, "Options", {IDB_SETTINGS}},
    };
    for (const Dialog& each : dialogs) {
        SCOPED_TRACE(each.title);
        HWND dialog = window;
        if (each.command) {
            PostMessageA(window, WM_COMMAND, each.command, 0);
            ASSERT_TRUE(WaitUntil([&] {
                return (dialog = WindowOfProcess(program.ProcessId(), each.title)) && IsWindowVisible(dialog);
            }, 10000));
        }
        EXPECT_EQ(CheckCaptionPictures(dialog), each.pictures);
        if (each.command) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, CaptionPictures, ::testing::Values(96, 144));

}  // namespace qm::e2e
