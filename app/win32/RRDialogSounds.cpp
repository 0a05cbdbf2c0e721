// The main window's event sounds: the scheme chooser, the event list and the sound commands.
#include "app/win32/RRDialog.h"

#include "resources/resource.h"
#include "ui/Controls.h"

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
    for (int i = 0; i < 3; ++i) CListView(list).AddColumn(i, columns[i].heading, columns[i].width);
}

// The chooser sorts its items itself; the model takes the order the chooser gave them, so
// that an item's index is the same on both sides.
void CRRDialog::FillSchemeList() {
    const CComboBox combo(Item(IDC_SCHEME_COMBO));
    m_eventSounds.FillSchemeList();
    for (const std::string& scheme : m_eventSounds.Schemes()) combo.Add(scheme);
    m_eventSounds.SetSchemeOrder(combo.Texts());
}

void CRRDialog::OnSchemeSelected() {
    const int index = CComboBox(Item(IDC_SCHEME_COMBO)).Selection();
    if (index >= 0) m_eventSounds.SelectScheme(index);
}

// The model selected a scheme (the user did, or randomizing all schemes walks through them).
void CRRDialog::ShowScheme(int index) {
    const int filling = m_bFillingEventList;
    m_bFillingEventList = 1;
    const CComboBox combo(Item(IDC_SCHEME_COMBO));
    if (combo.Selection() != index) combo.Select(index);
    for (int id : {IDC_ACTIVATE_ALL, IDC_DEACTIVATE_ALL, IDC_RANDOMIZE_SCHEME}) EnableItem(id, true);
    CListView(Item(IDC_EVENT_LIST)).Clear();
    FillEventList();
    for (int row = 0; row < static_cast<int>(m_eventSounds.Rows().size()); ++row) ReadEventRow(row);
    m_bFillingEventList = filling;
}

// Inserts one row per event; the list sorts them, and the model follows the list's order.
void CRRDialog::FillEventList() {
    const CListView list(Item(IDC_EVENT_LIST));
    const auto& rows = m_eventSounds.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) list.Insert(static_cast<int>(i), rows[i].name, 0, static_cast<LPARAM>(i));
    std::vector<int> order;
    for (int position = 0; position < list.Count(); ++position) order.push_back(static_cast<int>(list.Param(position)));
    m_eventSounds.SetRowOrder(order);
}

// Columns 1 and 2 and the check box of a row, as the model holds it.
void CRRDialog::ReadEventRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_eventSounds.Rows().size())) return;
    const EventRow& event = m_eventSounds.Rows()[row];
    const CListView list(Item(IDC_EVENT_LIST));
    list.SetText(row, 1, event.marked ? kMarkedText : kUnmarkedText);
    list.SetText(row, 2, event.currentFile);
    list.SetChecked(row, event.marked);
}

void CRRDialog::ShowRow(int row) {
    const int filling = m_bFillingEventList;
    m_bFillingEventList = 1;  // setting the check box notifies again
    ReadEventRow(row);
    m_bFillingEventList = filling;
}

std::vector<bool> CRRDialog::EventListChecks() const {
    return CListView(Item(IDC_EVENT_LIST)).Checks();
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
