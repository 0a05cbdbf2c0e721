#include "manage/win32/ManageFilesDlg.h"

#include "resources/resource.h"
#include "ui/Controls.h"
#include "ui/FileListImages.h"

namespace qm {

namespace {

const int kSpeakerImage = 3;
const int kSchemeColumnWidth = 250;

}  // namespace

// Hiding paints at once what the main window has waiting.
CManageFilesDlg::CManageFilesDlg() : CResultDialog(IDD_MANAGE_FILES, RepaintOnHide::update) {
    m_bReadClientOnErase = true;
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
    CListView(schemes).AddColumn(0, "Scheme Name", kSchemeColumnWidth);
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
    CListView(Item(IDC_MANAGE_SCHEME_LIST)).Clear();
    m_bFilling = 0;
    for (int list : {IDC_MANAGE_WALLPAPER_LIST, IDC_MANAGE_SAVER_LIST, IDC_MANAGE_SOUND_LIST}) CListBox(Item(list)).Clear();
}

void CManageFilesDlg::SetSchemeNames(const std::vector<std::string>& names) {
    m_bFilling = 1;
    const CListView schemes(Item(IDC_MANAGE_SCHEME_LIST));
    for (std::size_t i = 0; i < names.size(); ++i) schemes.Insert(static_cast<int>(i), names[i], kSpeakerImage);
    m_bFilling = 0;
}

// Adds up to `limit` paths to a sorted list box without redrawing it for each one.
void CManageFilesDlg::AddAll(int listId, const std::vector<std::string>& paths, std::size_t limit) {
    const CListBox list(Item(listId));
    const std::size_t count = paths.size() < limit ? paths.size() : limit;
    CRedrawPause pause(list.Handle());
    list.Reserve(count, count * 64);
    for (std::size_t i = 0; i < count; ++i) list.Add(paths[i]);
}

// The list boxes sort the paths; each entry's data then goes to the position its path got.
void CManageFilesDlg::FillFromPools(const CPools& pools, const std::vector<std::string>& schemeNames) {
    AddAll(IDC_MANAGE_WALLPAPER_LIST, pools.m_wallpaperFiles, pools.m_wallpaperFiles.size());
    AddAll(IDC_MANAGE_SAVER_LIST, pools.m_screenSaverFiles, pools.m_screenSaverFiles.size());
    AddAll(IDC_MANAGE_SOUND_LIST, pools.m_soundFiles, CManageLists::kSoundSlots);
    m_lists.Fill(pools, CListBox(Item(IDC_MANAGE_WALLPAPER_LIST)).Texts(), CListBox(Item(IDC_MANAGE_SAVER_LIST)).Texts(),
                 CListBox(Item(IDC_MANAGE_SOUND_LIST)).Texts(), schemeNames);
}

PoolChanges CManageFilesDlg::TakeResult() {
    if (!m_bHasResult) return PoolChanges();
    m_bHasResult = false;
    PoolChanges result = m_lists.Result();
    m_lists.Reset();
    return result;
}

void CManageFilesDlg::EnableSoundOptions(bool enable) {
    EnableItem(IDC_MANAGE_SCHEME_PROMPT, enable);
    EnableItem(IDC_MANAGE_SCHEME_LIST, enable);
}

void CManageFilesDlg::EnableWallpaperOptions(bool enable) {
    for (int id : {IDC_MANAGE_WALLPAPER_PROMPT, IDC_MANAGE_CENTER, IDC_MANAGE_TILE}) EnableItem(id, enable);
}

std::vector<int> CManageFilesDlg::Selected(int listId) const { return CListBox(Item(listId)).Selected(); }

// The scheme list shows the schemes of the sound with the focus rectangle, even when
// several sounds are selected.
void CManageFilesDlg::OnSoundSelChange() {
    EnableSoundOptions(true);
    EnableWallpaperOptions(false);
    const CListBox sounds(Item(IDC_MANAGE_SOUND_LIST));
    const int focused = sounds.Caret();
    if (focused < 0 || focused >= sounds.Count()) return;
    const CListView schemes(Item(IDC_MANAGE_SCHEME_LIST));
    const std::vector<bool> ticks = m_lists.TicksFor(focused, schemes.Texts());
    m_bFilling = 1;
    for (std::size_t i = 0; i < ticks.size(); ++i) schemes.SetChecked(static_cast<int>(i), ticks[i]);
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
    m_lists.AssignSchemes(Selected(IDC_MANAGE_SOUND_LIST), CListView(Item(IDC_MANAGE_SCHEME_LIST)).CheckedTexts());
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
        const CListBox list(Item(each.id));
        CRedrawPause pause(list.Handle());
        for (auto position = positions.rbegin(); position != positions.rend(); ++position) list.Delete(*position);
        m_lists.Remove(each.list, positions);
    }
}

void CManageFilesDlg::OnOK() {
    m_bHasResult = true;
    PostResult();
    Hide();
}

void CManageFilesDlg::OnCancel() {
    m_bHasResult = false;
    m_lists.Reset();
    Hide();
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
