#pragma once
// Thin views of this process's combo boxes, list boxes and list views: the messages the
// dialogs send them, with the control's own error values folded into empty results.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace qm {

// Turns a control's drawing off for a batch of changes and back on, repainting it whole.
class CRedrawPause {
public:
    explicit CRedrawPause(HWND control) : m_control(control) { SendMessageA(m_control, WM_SETREDRAW, FALSE, 0); }
    ~CRedrawPause() {
        SendMessageA(m_control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_control, nullptr, TRUE);
    }
    CRedrawPause(const CRedrawPause&) = delete;
    CRedrawPause& operator=(const CRedrawPause&) = delete;

private:
    HWND m_control;
};

class CComboBox {
public:
    explicit CComboBox(HWND control) : m_control(control) {}
    int Count() const;
    std::vector<std::string> Texts() const;
    void Add(const std::string& text) const { SendMessageA(m_control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    void Clear() const { SendMessageA(m_control, CB_RESETCONTENT, 0, 0); }
    // The selected item, -1 when none.
    int Selection() const;
    std::string SelectedText() const;
    void Select(int index) const { SendMessageA(m_control, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    // The first item that begins with `prefix` (case ignored), -1 when none.
    int Find(const std::string& prefix) const;

private:
    HWND m_control;
};

class CListBox {
public:
    explicit CListBox(HWND control) : m_control(control) {}
    HWND Handle() const { return m_control; }
    int Count() const;
    std::vector<std::string> Texts() const;
    // Room for `count` items of `bytes` in all, before adding many.
    void Reserve(std::size_t count, std::size_t bytes) const { SendMessageA(m_control, LB_INITSTORAGE, count, static_cast<LPARAM>(bytes)); }
    void Add(const std::string& text) const { SendMessageA(m_control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    void Delete(int index) const { SendMessageA(m_control, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
    void Clear() const { SendMessageA(m_control, LB_RESETCONTENT, 0, 0); }
    // The positions of the selected items of a multiple-selection list, ascending.
    std::vector<int> Selected() const;
    // The item with the focus rectangle.
    int Caret() const { return static_cast<int>(SendMessageA(m_control, LB_GETCARETINDEX, 0, 0)); }

private:
    HWND m_control;
};

class CListView {
public:
    explicit CListView(HWND control) : m_control(control) {}
    void AddColumn(int index, const char* heading, int width) const;
    int Count() const { return ListView_GetItemCount(m_control); }
    // Room for `count` items before adding many.
    void Reserve(std::size_t count) const { SendMessageA(m_control, LVM_SETITEMCOUNT, count, 0); }
    void Insert(int index, const std::string& text, int image, LPARAM param = 0) const;
    void Clear() const { ListView_DeleteAllItems(m_control); }
    std::string Text(int index, int column = 0) const;
    void SetText(int index, int column, const std::string& text) const {
        ListView_SetItemText(m_control, index, column, const_cast<char*>(text.c_str()));
    }
    LPARAM Param(int index) const;
    bool Checked(int index) const { return ListView_GetCheckState(m_control, index) != 0; }
    void SetChecked(int index, bool checked) const { ListView_SetCheckState(m_control, index, checked ? TRUE : FALSE); }
    std::vector<std::string> Texts() const;
    std::vector<bool> Checks() const;
    std::vector<std::string> CheckedTexts() const;
    std::vector<std::string> SelectedTexts() const;
    // The item with the focus, -1 when none.
    int Focused() const { return ListView_GetNextItem(m_control, -1, LVNI_FOCUSED); }

private:
    HWND m_control;
};

}  // namespace qm
