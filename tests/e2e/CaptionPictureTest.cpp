// The group boxes' caption pictures in the live windows at 96 and 144 dpi: each lies whole
// in its box and covers no other control, though dialog units grow with the dpi and the
// pictures keep their pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "e2e/ProgramDriver.h"
#include "e2e/ProgramImage.h"
#include "e2e/RemoteControls.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

const int kCaptionIndent = 7;  // the picture's offset in its box (ui/PaintedDialog.cpp)

RECT RectIn(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Checks the caption pictures of `dialog` and returns their ids; their sizes are read from
// the bitmaps' headers in the program's resources.
std::vector<int> CheckCaptionPictures(HWND dialog) {
    const ProgramImage image;
    std::vector<int> pictures;
    RECT whole, meet;
    for (HWND box = GetWindow(dialog, GW_CHILD); box; box = GetWindow(box, GW_HWNDNEXT)) {
        const int id = static_cast<int>(GetWindowLongPtrA(box, GWLP_USERDATA));
        if ((GetWindowLongA(box, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX || !id) continue;
        const SIZE size = image.BitmapSize(id);
        if (!size.cx) continue;
        const RECT frame = RectIn(dialog, box);
        const RECT picture = {frame.left + kCaptionIndent, frame.top, frame.left + kCaptionIndent + size.cx,
                              frame.top + size.cy};
        pictures.push_back(id);
        UnionRect(&whole, &frame, &picture);
        EXPECT_TRUE(EqualRect(&whole, &frame)) << id << " is cut off by its box";
        for (HWND other = GetWindow(dialog, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
            const RECT rect = RectIn(dialog, other);
            EXPECT_TRUE(other == box || !IntersectRect(&meet, &picture, &rect))
                << id << " at " << picture.left << "," << picture.top << "-" << picture.right << "," << picture.bottom
                << " covers \"" << TextOf(other) << "\" (" << GetDlgCtrlID(other) << ") at " << rect.left << "," << rect.top;
        }
    }
    return pictures;
}

// Each program reads the dpi from the user's desktop settings as it starts.
class CaptionPictures : public ::testing::TestWithParam<DWORD> {
protected:
    void SetUp() override {
        ResetProgramState();
        const DWORD dpi = GetParam();
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    void TearDown() override {
        if (window) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        program.WaitForExit(10000);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");  // back to the default, 96
        ResetProgramState();
    }
    ProgramDriver program;
    HWND window = nullptr;
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
    RECT client;  // 227 dialog units wide, wider as the dpi grows
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
