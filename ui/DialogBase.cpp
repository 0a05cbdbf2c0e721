#include "ui/DialogBase.h"

namespace qm {

namespace {

const char kMessageTitle[] = "Quill Mere";

// The dialog whose keys (Enter, Escape, Tab) a message carries: the top-level window it is
// for, so that a modeless dialog of this thread gets its own; else `fallback`.
HWND DialogOfMessage(const MSG& msg, HWND fallback) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    return root ? root : fallback;
}

}  // namespace

CDialogBase::CDialogBase(UINT templateId) : m_hInstance(GetModuleHandleA(nullptr)), m_templateId(templateId) {}

CDialogBase::~CDialogBase() {
    if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

bool CDialogBase::CreateModeless(HWND parent) {
    return CreateDialogParamA(m_hInstance, MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CDialogBase::DoModal(HWND parent) {
    m_endModal = false;
    m_modalResult = -1;
    if (!CreateModeless(parent)) return -1;
    bool parentWasEnabled = parent && !EnableWindow(parent, FALSE);
    if (m_bShowOnModal && !m_endModal && !IsWindowVisible(m_hWnd)) ShowWindow(m_hWnd, SW_SHOW);
    MSG msg;
    while (!m_endModal) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for any outer loop
            m_modalResult = -1;
            break;
        }
        if (!IsDialogMessageA(DialogOfMessage(msg, m_hWnd), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (parentWasEnabled) EnableWindow(parent, TRUE);
    if (m_hWnd) DestroyWindow(m_hWnd);
    if (parent) SetActiveWindow(parent);
    return m_modalResult;
}

void CDialogBase::EndModal(INT_PTR result) {
    m_modalResult = result;
    m_endModal = true;
    PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the loop
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialogBase* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
    } else {
        self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        return self->Route(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CDialogBase::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND: {
        WORD id = LOWORD(wParam);
        if (id == IDOK) OnOK();
        else if (id == IDCANCEL) OnCancel();
        else if (!OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return FALSE;
        return TRUE;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (!header || !OnNotify(static_cast<int>(header->idFrom), header, result)) return FALSE;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        return FALSE;
    default: {
        INT_PTR result = 0;
        if (PreRoute(message, wParam, lParam, result)) return Answer(message, result);
        bool handled = false;
        result = OnMessage(message, wParam, lParam, handled);
        return handled ? Answer(message, result) : FALSE;
    }
    }
}

INT_PTR CDialogBase::Answer(UINT message, INT_PTR result) {
    // Control colours return their brush directly; other messages through the result slot.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

std::string CDialogBase::ItemText(int id) const {
    HWND item = Item(id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

void CDialogBase::ShowProgramMessage(const std::string& text) const {
    MessageBoxA(m_hWnd, text.c_str(), kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool PumpOneMessage(HWND dialog) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (!dialog || !IsDialogMessageA(DialogOfMessage(msg, dialog), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace qm
