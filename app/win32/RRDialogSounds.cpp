// The main window's event sounds: the scheme chooser, the event list and the sound commands.
#include "app/win32/RRDialog.h"

#include "resources/resource.h"
#include "ui/ControlTexts.h"

namespace qm {

void CRRDialog::InitEventList() {
    HWND list = Item(IDC_EVENT_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
    m_eventImages = ImageList_LoadImageA(m_hInstance, MAKEINTRESOURCEA(IDB_EVENT_IMAGES), 17, 0, RGB(255, 255, 255),
                                         IMAGE_BITMAP, 0);
    if (m_eventImages) {
        ImageList_SetBkColor(m_eventImages, GetSysColor(COLOR_WINDOW));
        ImageList_AddIcon(m_eventImages, LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDI_SPEAKER)));
        ImageList_AddIcon(m_eventImages, LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDI_NOTE)));
        // The window owns the list and releases it; without this style the list view would
        // destroy it a second time with itself.
        SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) | LVS_SHAREIMAGELISTS);
        ListView_SetImageList(list, m_eventImages, LVSIL_SMALL);
    }
    const struct { const char* heading; int width; } columns[] = {
        {"Event Name", 150}, {"Active", 50}, {"Current File", 150}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].heading);
        column.cx = columns[i].width;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

// The chooser sorts its items itself; the model takes the order the chooser gave them, so
// that an item's index is the same on both sides.
void CRRDialog::FillSchemeList() {
    HWND combo = Item(IDC_SCHEME_COMBO);
    m_eventSounds.FillSchemeList();
    for (const std::string& scheme : m_eventSounds.Schemes())
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(scheme.c_str()));
    m_eventSounds.SetSchemeOrder(ItemTexts(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT));
}

void CRRDialog::OnSchemeSelected() {
    LRESULT index = SendMessageA(Item(IDC_SCHEME_COMBO), CB_GETCURSEL, 0, 0);
    if (index >= 0) m_eventSounds.SelectScheme(static_cast<int>(index));
}

// The model selected a scheme (the user did, or randomizing all schemes walks through them).
void CRRDialog::ShowScheme(int index) {
    const int filling = m_bFillingEventList;
    m_bFillingEventList = 1;
    HWND combo = Item(IDC_SCHEME_COMBO);
    if (SendMessageA(combo, CB_GETCURSEL, 0, 0) != index) SendMessageA(combo, CB_SETCURSEL, index, 0);
    EnableWindow(Item(IDC_ACTIVATE_ALL), TRUE);
    EnableWindow(Item(IDC_DEACTIVATE_ALL), TRUE);
    EnableWindow(Item(IDC_RANDOMIZE_SCHEME), TRUE);
    ListView_DeleteAllItems(Item(IDC_EVENT_LIST));
    FillEventList();
    for (int row = 0; row < static_cast<int>(m_eventSounds.Rows().size()); ++row) ReadEventRow(row);
    m_bFillingEventList = filling;
}

// Inserts one row per event; the list sorts them, and the model follows the list's order.
void CRRDialog::FillEventList() {
    HWND list = Item(IDC_EVENT_LIST);
    const auto& rows = m_eventSounds.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(rows[i].name.c_str());
        item.iImage = 0;
        item.lParam = static_cast<LPARAM>(i);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    std::vector<int> order;
    for (int position = 0; position < ListView_GetItemCount(list); ++position) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = position;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        order.push_back(static_cast<int>(item.lParam));
    }
    m_eventSounds.SetRowOrder(order);
}

// Columns 1 and 2 and the check box of a row, as the model holds it.
void CRRDialog::ReadEventRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_eventSounds.Rows().size())) return;
    const EventRow& event = m_eventSounds.Rows()[row];
    HWND list = Item(IDC_EVENT_LIST);
    ListView_SetItemText(list, row, 1, const_cast<char*>(event.marked ? kMarkedText : kUnmarkedText));
    ListView_SetItemText(list, row, 2, const_cast<char*>(event.currentFile.c_str()));
    ListView_SetCheckState(list, row, event.marked ? TRUE : FALSE);
}

void CRRDialog::ShowRow(int row) {
    const int filling = m_bFillingEventList;
    m_bFillingEventList = 1;  // setting the check box notifies again
    ReadEventRow(row);
    m_bFillingEventList = filling;
}

std::vector<bool> CRRDialog::EventListChecks() const {
    HWND list = Item(IDC_EVENT_LIST);
    std::vector<bool> checks;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) checks.push_back(ListView_GetCheckState(list, row) != 0);
    return checks;
}

// Any change of an item (its box, but also selection and focus) writes every row's marker.
void CRRDialog::OnEventListItemChanged() {
    if (m_bFillingEventList) return;
    m_eventSounds.SetMarks(EventListChecks());
}

bool CRRDialog::OnNotify(int controlId, NMHDR* header, LRESULT& result) {
    if (controlId != IDC_EVENT_LIST) return false;
    if (header->code == LVN_ITEMCHANGED) {
        OnEventListItemChanged();
    } else if (header->code != NM_CLICK) {
        return false;
    }
    result = 0;
    return true;
}

void CRRDialog::ActivateAllEvents() { m_eventSounds.MarkAll(true); }
void CRRDialog::DeactivateAllEvents() { m_eventSounds.MarkAll(false); }

void CRRDialog::RandomizeAllSchemes() { m_eventSounds.RandomizeAllSchemes(m_pools, m_random, m_bUnattended != 0); }
void CRRDialog::RandomizeScheme() { m_eventSounds.RandomizeScheme(m_pools, m_random, m_bUnattended != 0); }

}  // namespace qm
