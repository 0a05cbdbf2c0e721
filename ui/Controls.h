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
    explicit CRedrawPause(HWND control);
    ~CRedrawPause();
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
    void Add(const std::string& text) const;
    void Clear() const;
    // The selected item, -1 when none.
    int Selection() const;
    std::string SelectedText() const;
    void Select(int index) const;
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
    void Reserve(std::size_t count, std::size_t bytes) const;
    void Add(const std::string& text) const;
    void Delete(int index) const;
    void Clear() const;
    // The positions of the selected items of a multiple-selection list, ascending.
    std::vector<int> Selected() const;
    // The item with the focus rectangle.
    int Caret() const;

private:
    HWND m_control;
};

class CListView {
public:
    explicit CListView(HWND control) : m_control(control) {}
    void AddColumn(int index, const char* heading, int width) const;
    int Count() const;
    // Room for `count` items before adding many.
    void Reserve(std::size_t count) const;
    // Returns the position the item got (the list may sort).
    int Insert(int index, const std::string& text, int image, LPARAM param = 0) const;
    void Clear() const;
    std::string Text(int index, int column = 0) const;
    void SetText(int index, int column, const std::string& text) const;
    LPARAM Param(int index) const;
    bool Checked(int index) const;
    void SetChecked(int index, bool checked) const;
    std::vector<std::string> Texts() const;
    std::vector<bool> Checks() const;
    std::vector<std::string> CheckedTexts() const;
    std::vector<std::string> SelectedTexts() const;
    // The item with the focus, -1 when none.
    int Focused() const;

private:
    HWND m_control;
};

}  // namespace qm
