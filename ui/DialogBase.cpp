#include "ui/DialogBase.h"

namespace qm {

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
        if (!IsDialogMessageA(m_hWnd, &msg)) {
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
    case WM_TIMER: return OnTimer(wParam) ? TRUE : FALSE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        return FALSE;
    default: {
        bool handled = false;
        INT_PTR result = OnMessage(message, wParam, lParam, handled);
        if (!handled) return FALSE;
        // Control colours return their brush directly; other messages through the result slot.
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    }
}

bool PumpOneMessage(HWND dialog) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    // Dialog keys go to the dialog the message is meant for: the modal one, or a modeless
    // dialog of the program that is open beside it.
    HWND target = dialog;
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && root != dialog && GetClassLongPtrA(root, GCW_ATOM) == 32770) target = root;
    if (!target || !IsDialogMessageA(target, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace qm
