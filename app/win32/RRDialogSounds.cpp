// The main window's event sounds: the scheme chooser, the event list and the sound commands.
#include "app/win32/RRDialog.h"

#include "resources/resource.h"

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

int CRRDialog::SchemeCount() const {
    LRESULT count = SendMessageA(Item(IDC_SCHEME_COMBO), CB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

// Not built yet: the scheme list stays empty, so no sound entry keeps scheme names.
void CRRDialog::FillSchemeList() {}
void CRRDialog::OnSchemeSelected() {}
void CRRDialog::ActivateAllEvents() {}
void CRRDialog::DeactivateAllEvents() {}

void CRRDialog::RandomizeAllSchemes() {}
void CRRDialog::RandomizeScheme() {}

}  // namespace qm
