#pragma once
// A small dialog class: one static dialog procedure finds the object through the window's
// user data and routes messages to virtual handlers. Modal dialogs run their own message
// loop, which ends on EndModal or on the quit message (passed on to any outer loop).
#include <windows.h>

#include <string>

namespace qm {

class CDialogBase {
public:
    explicit CDialogBase(UINT templateId);
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Creates the window, shows it unless it is already shown, and dispatches messages
    // until the dialog ends. Returns the EndModal result, or -1 when a quit message ended it.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the window without showing it (the template decides its visibility).
    bool CreateModeless(HWND parent = nullptr);
    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const { SetDlgItemTextA(m_hWnd, id, text.c_str()); }
    void EnableItem(int id, bool enable) const { EnableWindow(Item(id), enable); }
    bool ItemChecked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    void CheckItem(int id, bool checked) const { CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    // The program's one kind of message box: `text` with the program's title and a warning sign.
    void ShowProgramMessage(const std::string& text) const;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndModal(IDOK); }
    virtual void OnCancel() { EndModal(IDCANCEL); }
    // Commands other than IDOK and IDCANCEL; return true when handled.
    virtual bool OnCommand(WORD /*id*/, WORD /*code*/, HWND /*control*/) { return false; }
    // A control's notification (WM_NOTIFY); return true when handled, with its answer in `result`.
    virtual bool OnNotify(int /*controlId*/, NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    // Any other message; set `handled` to give the message a result of one's own.
    virtual INT_PTR OnMessage(UINT /*message*/, WPARAM, LPARAM, bool& handled) {
        handled = false;
        return 0;
    }
    virtual void OnDestroy() {}
    void EndModal(INT_PTR result);

    HWND m_hWnd = nullptr;
    // DoModal shows the window after its initialisation. A dialog that shows itself during
    // initialisation clears this, so that a hide it handled meanwhile is not undone.
    bool m_bShowOnModal = true;
    HINSTANCE m_hInstance;

private:
    // Catches every exception at the border with Windows' message dispatch: the program
    // keeps no log, so a handler that throws ends as if it had not handled the message.
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
    // Messages a base class answers before the dialog's own OnMessage sees them; returns
    // true when answered, with the answer in `result`.
    virtual bool PreRoute(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
    // Hands Windows the result of a message a handler answered.
    INT_PTR Answer(UINT message, INT_PTR result);
    UINT m_templateId;
    bool m_endModal = false;
    INT_PTR m_modalResult = 0;
};

// Removes and dispatches one waiting message, if any, giving dialog keys to `dialog`.
// Returns false when the message was the quit request, which it posts again so that the
// modal loop still sees it.
bool PumpOneMessage(HWND dialog);

}  // namespace qm
