#include "manage/win32/ManageFilesDlg.h"

#include "resources/resource.h"
#include "ui/ControlTexts.h"
#include "ui/FileListImages.h"

namespace qm {

namespace {

const int kSpeakerImage = 3;
const int kSchemeColumnWidth = 250;

}  // namespace

CManageFilesDlg::CManageFilesDlg() : CPaintedDialog(IDD_MANAGE_FILES) { m_bReadClientOnErase = true; }

bool CManageFilesDlg::Create(HWND resultWindow, UINT resultMessage) {
    m_resultWindow = resultWindow;
    m_resultMessage = resultMessage;
    return CreateModeless(nullptr);
}

BOOL CManageFilesDlg::OnInitDialog() {
    InitBackground();
    SetPicture(IDC_MANAGE_WALLPAPER_GROUP, IDB_WALLPAPER_FILES);
    SetPicture(IDC_MANAGE_SAVER_GROUP, IDB_SCREEN_SAVER_FILES);
    SetPicture(IDC_MANAGE_SOUND_GROUP, IDB_SOUND_FILES);
    SetPicture(IDC_MANAGE_REMOVE, IDB_REMOVE);
    SetPicture(IDOK, IDB_OK);
    SetPicture(IDCANCEL, IDB_CANCEL);

    m_imageList = CreateFileListImages(m_hInstance);  // the chooser's small images
    HWND schemes = Item(IDC_MANAGE_SCHEME_LIST);
    ListView_SetImageList(schemes, m_imageList, LVSIL_SMALL);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>("Scheme Name");
    column.cx = kSchemeColumnWidth;
    SendMessageA(schemes, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    ListView_SetExtendedListViewStyle(schemes, LVS_EX_CHECKBOXES);
    CheckRadioButton(m_hWnd, IDC_MANAGE_CENTER, IDC_MANAGE_TILE, IDC_MANAGE_CENTER);
    return TRUE;
}

void CManageFilesDlg::ResetForShow() {
    m_bFilling = 0;
    m_lists.Reset();
    m_bHasResult = false;
    EnableSoundOptions(false);
    EnableWallpaperOptions(false);
    m_bFilling = 1;  // deleting the items is no change of the user's
    ListView_DeleteAllItems(Item(IDC_MANAGE_SCHEME_LIST));
    m_bFilling = 0;
    for (int list : {IDC_MANAGE_WALLPAPER_LIST, IDC_MANAGE_SAVER_LIST, IDC_MANAGE_SOUND_LIST})
        SendMessageA(Item(list), LB_RESETCONTENT, 0, 0);
}

void CManageFilesDlg::SetSchemeNames(const std::vector<std::string>& names) {
    m_bFilling = 1;
    HWND schemes = Item(IDC_MANAGE_SCHEME_LIST);
    for (std::size_t i = 0; i < names.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(names[i].c_str());
        item.iImage = kSpeakerImage;
        SendMessageA(schemes, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    m_bFilling = 0;
}

// Adds up to `limit` paths to a sorted list box without redrawing it for each one.
void CManageFilesDlg::AddAll(int listId, const std::vector<std::string>& paths, std::size_t limit) {
    HWND list = Item(listId);
    const std::size_t count = paths.size() < limit ? paths.size() : limit;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, count, count * 64);
    for (std::size_t i = 0; i < count; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(paths[i].c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The texts of a list box in its own (sorted) order.
std::vector<std::string> CManageFilesDlg::ListTexts(int listId) const {
    return ItemTexts(Item(listId), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

// The list boxes sort the paths; each entry's data then goes to the position its path got.
void CManageFilesDlg::FillFromPools(const CPools& pools, const std::vector<std::string>& schemeNames) {
    AddAll(IDC_MANAGE_WALLPAPER_LIST, pools.m_wallpaperFiles, pools.m_wallpaperFiles.size());
    AddAll(IDC_MANAGE_SAVER_LIST, pools.m_screenSaverFiles, pools.m_screenSaverFiles.size());
    AddAll(IDC_MANAGE_SOUND_LIST, pools.m_soundFiles, CManageLists::kSoundSlots);
    m_lists.Fill(pools, ListTexts(IDC_MANAGE_WALLPAPER_LIST), ListTexts(IDC_MANAGE_SAVER_LIST),
                 ListTexts(IDC_MANAGE_SOUND_LIST), schemeNames);
}

void CManageFilesDlg::ShowFilled() {
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

PoolChanges CManageFilesDlg::TakeResult() {
    if (!m_bHasResult) return PoolChanges();
    m_bHasResult = false;
    PoolChanges result = m_lists.Result();
    m_lists.Reset();
    return result;
}

void CManageFilesDlg::EnableSoundOptions(bool enable) {
    EnableWindow(Item(IDC_MANAGE_SCHEME_PROMPT), enable);
    EnableWindow(Item(IDC_MANAGE_SCHEME_LIST), enable);
}

void CManageFilesDlg::EnableWallpaperOptions(bool enable) {
    EnableWindow(Item(IDC_MANAGE_WALLPAPER_PROMPT), enable);
    EnableWindow(Item(IDC_MANAGE_CENTER), enable);
    EnableWindow(Item(IDC_MANAGE_TILE), enable);
}

std::vector<int> CManageFilesDlg::Selected(int listId) const {
    HWND list = Item(listId);
    LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> positions(count);
    LRESULT got = SendMessageA(list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(positions.data()));
    positions.resize(got > 0 ? got : 0);
    return positions;  // ascending
}

std::vector<std::string> CManageFilesDlg::SchemeTexts() const {
    HWND schemes = Item(IDC_MANAGE_SCHEME_LIST);
    const int count = ListView_GetItemCount(schemes);
    std::vector<std::string> texts;
    char buffer[512];
    for (int i = 0; i < count; ++i) {
        buffer[0] = '\0';
        ListView_GetItemText(schemes, i, 0, buffer, sizeof buffer);
        texts.emplace_back(buffer);
    }
    return texts;
}

// The scheme list shows the schemes of the sound with the focus rectangle, even when
// several sounds are selected.
void CManageFilesDlg::OnSoundSelChange() {
    EnableSoundOptions(true);
    EnableWallpaperOptions(false);
    HWND sounds = Item(IDC_MANAGE_SOUND_LIST);
    LRESULT focused = SendMessageA(sounds, LB_GETCARETINDEX, 0, 0);
    if (focused < 0 || focused >= SendMessageA(sounds, LB_GETCOUNT, 0, 0)) return;
    HWND schemes = Item(IDC_MANAGE_SCHEME_LIST);
    const std::vector<bool> ticks = m_lists.TicksFor(static_cast<int>(focused), SchemeTexts());
    m_bFilling = 1;
    for (std::size_t i = 0; i < ticks.size(); ++i) ListView_SetCheckState(schemes, static_cast<int>(i), ticks[i]);
    m_bFilling = 0;
}

void CManageFilesDlg::OnWallpaperSelChange() {
    EnableSoundOptions(false);
    EnableWallpaperOptions(true);
    const int shown = m_lists.TileShownFor(Selected(IDC_MANAGE_WALLPAPER_LIST));
    if (shown >= 0) CheckRadioButton(m_hWnd, IDC_MANAGE_CENTER, IDC_MANAGE_TILE, shown ? IDC_MANAGE_TILE : IDC_MANAGE_CENTER);
}

// Any change of the scheme list, a selection or focus change included, gives every
// selected sound the ticked schemes.
void CManageFilesDlg::OnSchemeItemChanged() {
    if (m_bFilling) return;
    HWND schemes = Item(IDC_MANAGE_SCHEME_LIST);
    const std::vector<std::string> texts = SchemeTexts();
    std::vector<std::string> ticked;
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (ListView_GetCheckState(schemes, static_cast<int>(i))) ticked.push_back(texts[i]);
    m_lists.AssignSchemes(Selected(IDC_MANAGE_SOUND_LIST), ticked);
}

void CManageFilesDlg::OnCenterOrTile(bool tiled) {
    CheckRadioButton(m_hWnd, IDC_MANAGE_CENTER, IDC_MANAGE_TILE, tiled ? IDC_MANAGE_TILE : IDC_MANAGE_CENTER);
    m_lists.SetTile(Selected(IDC_MANAGE_WALLPAPER_LIST), tiled);
}

// Removes the selected entries of all three lists, without asking. The option controls
// keep their state: a removal is no selection change.
void CManageFilesDlg::OnRemove() {
    const struct { int id; EntryKind list; } lists[] = {{IDC_MANAGE_SOUND_LIST, kindSound},
                                                         {IDC_MANAGE_SAVER_LIST, kindScreenSaver},
                                                         {IDC_MANAGE_WALLPAPER_LIST, kindWallpaper}};
    for (const auto& each : lists) {
        const std::vector<int> positions = Selected(each.id);
        if (positions.empty()) continue;
        HWND list = Item(each.id);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        for (auto position = positions.rbegin(); position != positions.rend(); ++position)
            SendMessageA(list, LB_DELETESTRING, *position, 0);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        m_lists.Remove(each.list, positions);
    }
}

void CManageFilesDlg::HideAndRepaint() {
    ShowWindow(m_hWnd, SW_HIDE);
    if (m_resultWindow) UpdateWindow(m_resultWindow);
}

void CManageFilesDlg::OnOK() {
    m_bHasResult = true;
    PostMessageA(m_resultWindow, m_resultMessage, 0, 0);
    HideAndRepaint();
}

void CManageFilesDlg::OnCancel() {
    m_bHasResult = false;
    m_lists.Reset();
    HideAndRepaint();
}

bool CManageFilesDlg::OnCommand(WORD id, WORD code, HWND) {
    switch (id) {
    case IDC_MANAGE_SOUND_LIST:
        if (code == LBN_SELCHANGE) OnSoundSelChange();
        return true;
    case IDC_MANAGE_SAVER_LIST:
        if (code == LBN_SELCHANGE) {
            EnableSoundOptions(false);
            EnableWallpaperOptions(false);
        }
        return true;
    case IDC_MANAGE_WALLPAPER_LIST:
        if (code == LBN_SELCHANGE) OnWallpaperSelChange();
        return true;
    case IDC_MANAGE_CENTER:
        if (code == BN_CLICKED) OnCenterOrTile(false);
        return true;
    case IDC_MANAGE_TILE:
        if (code == BN_CLICKED) OnCenterOrTile(true);
        return true;
    case IDC_MANAGE_REMOVE:
        if (code == BN_CLICKED) OnRemove();
        return true;
    default: return false;
    }
}

bool CManageFilesDlg::OnNotify(int controlId, NMHDR* header, LRESULT& result) {
    if (controlId != IDC_MANAGE_SCHEME_LIST || header->code != LVN_ITEMCHANGED) return false;
    OnSchemeItemChanged();
    result = 0;
    return true;
}

void CManageFilesDlg::OnDestroy() {
    CPaintedDialog::OnDestroy();
    m_imageList = nullptr;  // the scheme list destroys it with itself
}

}  // namespace qm
