// What the built QuillMere.exe carries besides its code (manifest, version, icon), and
// that its pictures reach the screen under the common controls that manifest selects.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "e2e/ProgramDriver.h"
#include "e2e/ProgramImage.h"
#include "resources/resource.h"

namespace qm::e2e {

namespace {

std::string VersionText(const std::string& block, const char* name) {
    UINT size = 0;
    char* text = nullptr;
    std::string query = "\\StringFileInfo\\040904b0\\" + std::string(name);
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &size) || !text) return "<none>";
    return std::string(text, size && text[size - 1] == 0 ? size - 1 : size);
}

BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR first) {
    *reinterpret_cast<ULONG_PTR*>(first) = reinterpret_cast<ULONG_PTR>(name);
    return FALSE;
}

// Pixel of one of the program's bitmaps, by resource id.
COLORREF BitmapPixel(HMODULE module, int bitmapId, int x, int y, SIZE* size) {
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    if (!picture) return CLR_INVALID;
    BITMAP info;
    GetObjectA(picture, sizeof info, &info);
    *size = {info.bmWidth, info.bmHeight};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    COLORREF pixel = GetPixel(dc, x < 0 ? info.bmWidth + x : x, y < 0 ? info.bmHeight + y : y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
    return pixel;
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

}  // namespace

TEST(Executable, CarriesAManifestForCommonControls6RunningAsInvokerWithoutDpiAwareness) {
    ProgramImage image;
    ASSERT_TRUE(image.Module()) << g_programPath;
    std::string manifest = image.Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));  // RT_MANIFEST, 1
    ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";
    size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos) << manifest;
    EXPECT_NE(manifest.find("version=\"6.0.0.0\"", controls), std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\"", controls), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos) << "the pictures do not scale";
    EXPECT_EQ(manifest.find("<dpiAwareness"), std::string::npos);
}

TEST(Executable, CarriesVersion201WithItsDescriptionsAndTheProgramIconFirst) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(g_programPath.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << g_programPath;
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(g_programPath.c_str(), 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 2));  // 2.1
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 2));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(VersionText(block, "ProductVersion"), "2.01");
    EXPECT_EQ(VersionText(block, "FileVersion"), "2.01");
    EXPECT_EQ(VersionText(block, "ProductName"), "Quill Mere");
    EXPECT_EQ(VersionText(block, "CompanyName"), "Corvalith");
    EXPECT_EQ(VersionText(block, "OriginalFilename"), "QuillMere.exe");
    EXPECT_NE(VersionText(block, "FileDescription").find("Quill Mere"), std::string::npos);

    // Explorer shows the first icon group as the file's icon.
    ProgramImage image;
    ULONG_PTR first = 0;
    EnumResourceNamesA(image.Module(), MAKEINTRESOURCEA(14), TakeFirstName, reinterpret_cast<LONG_PTR>(&first));  // RT_GROUP_ICON
    EXPECT_EQ(first, ULONG_PTR(IDI_PROGRAM));
}

// Under visual styles a group box used to cut its caption picture to one text line and
// picture buttons may draw a theme face over their picture: the screen must show the
// pictures' own pixels, their bottom rows included.
TEST(Executable, PicturesShowWholeOnScreenUnderVisualStyles) {
    ResetProgramState();
    WriteDefaultValue(HKEY_LOCAL_MACHINE, kPreferencesKey, "nnnnn|;");
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ScratchFolder()));
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window);
    ProgramImage image;
    ASSERT_TRUE(image.Module());
    SetForegroundWindow(window);

    struct Probe {
        int control, bitmap;
        bool caption;  // group-box caption at the top left; otherwise centred in a button
    };
    for (Probe probe : {Probe{IDC_DISPLAY_GROUP, IDB_DISPLAY_SETTINGS, true}, Probe{IDC_EVENT_SOUNDS_GROUP, IDB_SOUND_SETTINGS, true},
                        Probe{IDC_RANDOMIZE_DISPLAY, IDB_RANDOMIZE_DISPLAY, false}, Probe{IDC_RANDOMIZE_SOUNDS, IDB_RANDOMIZE_SOUNDS, false}}) {
        SCOPED_TRACE(probe.control);
        HWND control = GetDlgItem(window, probe.control);
        ASSERT_TRUE(control);
        RECT client;
        GetClientRect(control, &client);
        SIZE size = {};
        // Several pixels along one row: for a caption the third from the bottom, where
        // clipping to a text line shows; for a button (smaller than its picture, which it
        // centres and crops) the middle one.
        int matched = 0, probes = 0;
        std::function<bool()> allMatch = [&] {
            matched = probes = 0;
            for (int x = 30; x < 110; x += 8) {
                BitmapPixel(image.Module(), probe.bitmap, 0, 0, &size);
                int row = probe.caption ? size.cy - 3 : size.cy / 2;
                COLORREF wanted = BitmapPixel(image.Module(), probe.bitmap, x, row, &size);
                POINT at = probe.caption ? POINT{7 + x, row}
                                         : POINT{(client.right - size.cx) / 2 + x, (client.bottom - size.cy) / 2 + row};
                ClientToScreen(control, &at);
                ++probes;
                if (ScreenPixel(at) == wanted) ++matched;
            }
            return matched == probes;
        };
        EXPECT_TRUE(WaitUntil(allMatch, 5000)) << matched << " of " << probes << " pixels of picture " << probe.bitmap;
    }
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    ResetProgramState();
}

}  // namespace qm::e2e
