#include "ui/Controls.h"

namespace qm {

namespace {

const int kListViewTextLength = 512;  // longer than a file name or a scheme's name

// Item `index`'s text by the control's length and text messages (the LB_ or CB_ forms).
std::string IndexedText(HWND control, UINT length, UINT text, LRESULT index) {
    const LRESULT size = SendMessageA(control, length, index, 0);
    std::vector<char> buffer(size > 0 ? size + 1 : 1, '\0');
    const LRESULT got = SendMessageA(control, text, index, reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), got > 0 ? got : 0);
}

int CountOf(HWND control, UINT count) {
    const LRESULT items = SendMessageA(control, count, 0, 0);
    return items < 0 ? 0 : static_cast<int>(items);
}

std::vector<std::string> IndexedTexts(HWND control, UINT count, UINT length, UINT text) {
    std::vector<std::string> texts;
    for (int i = 0, items = CountOf(control, count); i < items; ++i) texts.push_back(IndexedText(control, length, text, i));
    return texts;
}

}  // namespace

int CComboBox::Count() const { return CountOf(m_control, CB_GETCOUNT); }

std::vector<std::string> CComboBox::Texts() const {
    return IndexedTexts(m_control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int CComboBox::Selection() const {
    const LRESULT index = SendMessageA(m_control, CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

std::string CComboBox::SelectedText() const {
    const int index = Selection();
    return index < 0 ? std::string() : IndexedText(m_control, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int CComboBox::Find(const std::string& prefix) const {
    const LRESULT found =
        SendMessageA(m_control, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix.c_str()));
    return found < 0 ? -1 : static_cast<int>(found);
}

int CListBox::Count() const { return CountOf(m_control, LB_GETCOUNT); }

std::vector<std::string> CListBox::Texts() const { return IndexedTexts(m_control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }

std::vector<int> CListBox::Selected() const {
    std::vector<int> positions(CountOf(m_control, LB_GETSELCOUNT));
    if (positions.empty()) return positions;
    const LRESULT got =
        SendMessageA(m_control, LB_GETSELITEMS, positions.size(), reinterpret_cast<LPARAM>(positions.data()));
    positions.resize(got > 0 ? got : 0);
    return positions;
}

void CListView::AddColumn(int index, const char* heading, int width) const {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(heading);
    column.cx = width;
    column.iSubItem = index;
    SendMessageA(m_control, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void CListView::Insert(int index, const std::string& text, int image, LPARAM param) const {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    item.lParam = param;
    SendMessageA(m_control, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::string CListView::Text(int index, int column) const {
    char text[kListViewTextLength] = {};
    ListView_GetItemText(m_control, index, column, text, sizeof text);
    return text;
}

LPARAM CListView::Param(int index) const {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessageA(m_control, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

std::vector<std::string> CListView::Texts() const {
    std::vector<std::string> texts;
    for (int i = 0, count = Count(); i < count; ++i) texts.push_back(Text(i));
    return texts;
}

std::vector<bool> CListView::Checks() const {
    std::vector<bool> checks;
    for (int i = 0, count = Count(); i < count; ++i) checks.push_back(Checked(i));
    return checks;
}

std::vector<std::string> CListView::CheckedTexts() const {
    std::vector<std::string> texts;
    for (int i = 0, count = Count(); i < count; ++i)
        if (Checked(i)) texts.push_back(Text(i));
    return texts;
}

std::vector<std::string> CListView::SelectedTexts() const {
    std::vector<std::string> texts;
    for (int i = ListView_GetNextItem(m_control, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(m_control, i, LVNI_SELECTED))
        texts.push_back(Text(i));
    return texts;
}

}  // namespace qm
