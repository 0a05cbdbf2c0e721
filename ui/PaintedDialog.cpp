#include "ui/PaintedDialog.h"

#include <commctrl.h>

namespace qm {

namespace {
const int kBackgroundBitmap = 135;
const int kCaptionIndent = 7;  // pixels from the frame's left edge to its caption picture

// A group box with a caption picture paints itself: the common controls of visual styles
// cut the picture to the height of one text line. The frame runs through the middle of the
// picture, as the classic caption's frame runs through the middle of its text.
// The picture is the subclass's own data: handing it to the box as its image would make
// the button control lay itself out again, a cost paid for nothing.
LRESULT CALLBACK PictureGroupProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR pictureData) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, PictureGroupProc, 0);
    HBITMAP picture = reinterpret_cast<HBITMAP>(pictureData);
    BITMAP info;
    if ((message != WM_PAINT && message != WM_PRINTCLIENT) || !picture || !GetObjectA(picture, sizeof info, &info))
        return DefSubclassProc(box, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = message == WM_PAINT ? BeginPaint(box, &paint) : reinterpret_cast<HDC>(wParam);
    RECT frame;
    GetClientRect(box, &frame);
    frame.top += info.bmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    BitBlt(dc, kCaptionIndent, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    if (message == WM_PAINT) EndPaint(box, &paint);
    return 0;
}

RECT RectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The templates leave room for a caption of one text line. Dialog units grow with the dpi
// and the pictures keep their pixels, so at 96 dpi a picture reaches down over the first
// controls in its box. The box then grows upwards into the free space above it, as far as
// the picture needs: the controls stay where the template puts them.
void MakeRoomForPicture(HWND box, const BITMAP& picture) {
    const RECT frame = RectInParent(box);
    const LONG left = frame.left + kCaptionIndent, right = left + picture.bmWidth;
    const LONG bottom = frame.top + picture.bmHeight;
    LONG ceiling = 0, lift = 0;
    for (HWND other = GetWindow(GetParent(box), GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
        const RECT rect = RectInParent(other);
        if (other == box || rect.right <= left || rect.left >= right) continue;
        if (rect.bottom <= frame.top) {
            if (rect.bottom > ceiling) ceiling = rect.bottom;
        } else if (rect.top >= frame.top && bottom - rect.top > lift) {
            lift = bottom - rect.top;  // a control the picture would cover
        }
    }
    if (lift > frame.top - ceiling) lift = frame.top - ceiling;
    if (lift > 0)
        SetWindowPos(box, nullptr, frame.left, frame.top - lift, frame.right - frame.left,
                     frame.bottom - frame.top + lift, SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

CPaintedDialog::~CPaintedDialog() {
    ReleaseBackground();
    for (const auto& shown : m_pictures) DeleteObject(shown.second);
}

void CPaintedDialog::InitBackground() {
    m_hBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    m_bmpBackground = LoadBitmapA(m_hInstance, MAKEINTRESOURCEA(kBackgroundBitmap));
    if (!m_bmpBackground || !GetObjectA(m_bmpBackground, sizeof m_bmInfo, &m_bmInfo)) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_ptOrigin = {client.left, client.top};
    m_sizeClient = {client.right, client.bottom};
    HDC screen = GetDC(m_hWnd);
    m_dcMem = CreateCompatibleDC(screen);
    if (m_dcMem) m_hOldBitmap = SelectObject(m_dcMem, m_bmpBackground);
    ReleaseDC(m_hWnd, screen);
}

void CPaintedDialog::ReleaseBackground() {
    if (m_dcMem) {
        SelectObject(m_dcMem, m_hOldBitmap);
        DeleteDC(m_dcMem);
        m_dcMem = nullptr;
    }
    if (m_bmpBackground) {
        DeleteObject(m_bmpBackground);
        m_bmpBackground = nullptr;
    }
}

BOOL CPaintedDialog::OnEraseBkgnd(HDC dc) {
    if (!m_dcMem) return FALSE;  // no texture: the platform erases in the dialog colour
    if (m_bReadClientOnErase) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        m_ptOrigin = {client.left, client.top};
        m_sizeClient = {client.right, client.bottom};
    }
    // The last row and column of the texture are left out of the stretch.
    StretchBlt(dc, m_ptOrigin.x, m_ptOrigin.y, m_sizeClient.cx, m_sizeClient.cy, m_dcMem, 0, 0,
               m_bmInfo.bmWidth - 1, m_bmInfo.bmHeight - 1, SRCCOPY);
    return TRUE;
}

HBRUSH CPaintedDialog::OnCtlColor(HDC dc, HWND, int kind) {
    if (!m_dcMem || kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    return m_hBrush;
}

bool CPaintedDialog::SetPicture(int controlId, int bitmapId) {
    HWND control = Item(controlId);
    HBITMAP picture = LoadBitmapA(m_hInstance, MAKEINTRESOURCEA(bitmapId));
    if (!control || !picture) {
        if (picture) DeleteObject(picture);
        return false;
    }
    LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
        SetWindowSubclass(control, PictureGroupProc, 0, reinterpret_cast<DWORD_PTR>(picture));
        BITMAP info;
        if (GetObjectA(picture, sizeof info, &info)) MakeRoomForPicture(control, info);
    } else {
        if (!(style & BS_BITMAP)) SetWindowLongPtrA(control, GWL_STYLE, style | BS_BITMAP);
        SendMessageA(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    SetWindowLongPtrA(control, GWLP_USERDATA, bitmapId);
    InvalidateRect(control, nullptr, TRUE);
    HBITMAP& shown = m_pictures[controlId];
    if (shown) DeleteObject(shown);
    shown = picture;
    return true;
}

void CPaintedDialog::OnDestroy() { ReleaseBackground(); }

bool CPaintedDialog::PreRoute(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_ERASEBKGND) {
        if (!OnEraseBkgnd(reinterpret_cast<HDC>(wParam))) return false;
        result = TRUE;
        return true;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        HBRUSH brush = OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                  static_cast<int>(message - WM_CTLCOLORMSGBOX));
        if (!brush) return false;
        result = reinterpret_cast<INT_PTR>(brush);
        return true;
    }
    return false;
}

}  // namespace qm
