#include "chooser/win32/RRSetupDlg.h"

#include <algorithm>

#include "chooser/win32/RequestName.h"
#include "resources/resource.h"
#include "ui/FileListImages.h"

namespace qm {

namespace {

const char kRenameFailedMessage[] = "Directory rename failed.";
const char kMessageTitle[] = "Quill Mere";
const int kOptionIds[] = {IDC_CHOOSER_SCHEME_LABEL, IDC_CHOOSER_SCHEMES, IDC_CHOOSER_WALLPAPER_LABEL,
                          IDC_CHOOSER_CENTER, IDC_CHOOSER_TILE};

std::string ItemText(HWND list, int index) {
    char text[MAX_PATH + 1] = {};
    ListView_GetItemText(list, index, 0, text, sizeof text);
    return text;
}

void InsertItem(HWND list, int index, const std::string& text, int image) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    ListView_InsertItem(list, &item);
}

// Fills a list that sorts its items. The control's own sorting places each new item with
// work proportional to the whole list, which makes a large folder slow; so the items go in
// already in the control's order (its comparison ignores case, as lstrcmpi does) with the
// sorting style off, and the style comes back for later insertions.
void FillSorted(HWND list, std::vector<ListedName> items) {
    std::stable_sort(items.begin(), items.end(), [](const ListedName& a, const ListedName& b) {
        return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    });
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, style & ~static_cast<LONG_PTR>(LVS_SORTASCENDING));
    SendMessageA(list, LVM_SETITEMCOUNT, items.size(), 0);
    for (std::size_t i = 0; i < items.size(); ++i) InsertItem(list, static_cast<int>(i), items[i].name, items[i].image);
    SetWindowLongPtrA(list, GWL_STYLE, style);
}

}  // namespace

CRRSetupDlg::CRRSetupDlg(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir)
    : CPaintedDialog(IDD_CHOOSER), m_browser(files, registry, system, windowsDir) {}

CRRSetupDlg::~CRRSetupDlg() {
    if (m_hWnd) DestroyWindow(m_hWnd);
    if (m_imageList) ImageList_Destroy(m_imageList);
}

bool CRRSetupDlg::Create(HWND mainWindow, UINT resultMessage) {
    m_mainWindow = mainWindow;
    m_resultMessage = resultMessage;
    return CreateModeless(nullptr);
}

BOOL CRRSetupDlg::OnInitDialog() {
    m_imageList = CreateFileListImages(m_hInstance);
    if (m_imageList)
        for (int list : {IDC_CHOOSER_FOLDERS, IDC_CHOOSER_FILES, IDC_CHOOSER_SCHEMES})
            ListView_SetImageList(Item(list), m_imageList, LVSIL_SMALL);
    HWND schemes = Item(IDC_CHOOSER_SCHEMES);
    ListView_SetExtendedListViewStyle(schemes, LVS_EX_CHECKBOXES);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 250;
    column.pszText = const_cast<char*>("Scheme Name");
    ListView_InsertColumn(schemes, 0, &column);
    CheckRadioButton(m_hWnd, IDC_CHOOSER_CENTER, IDC_CHOOSER_TILE, IDC_CHOOSER_CENTER);

    InitBackground();
    SetPicture(IDC_CHOOSER_UP_LEVEL, IDB_UP);
    SetPicture(IDC_CHOOSER_BACK, IDB_BACK);
    SetPicture(IDC_CHOOSER_RENAME, IDB_RENAME);
    SetPicture(IDC_CHOOSER_REMOVE, IDB_DELETE);
    SetPicture(IDC_CHOOSER_NEW_FOLDER, IDB_NEW_FOLDER);
    SetPicture(IDC_CHOOSER_REFRESH, IDB_REFRESH);
    SetPicture(IDOK, IDB_OK);
    SetPicture(IDCANCEL, IDB_CANCEL);
    return TRUE;
}

void CRRSetupDlg::ResetForShow() {
    m_browser.ResetForShow();
    m_strResultPath.clear();
    m_result = ChooserSelection();
    m_resultSchemes.clear();
    m_bResultTile = 0;
    ListView_DeleteAllItems(Item(IDC_CHOOSER_SCHEMES));
    EnableOptions(false, false);
    FillDriveCombo();
    RefreshLists();
}

void CRRSetupDlg::SetSchemeNames(const std::vector<std::string>& names) {
    HWND schemes = Item(IDC_CHOOSER_SCHEMES);
    for (std::size_t i = 0; i < names.size(); ++i) InsertItem(schemes, static_cast<int>(i), names[i], imageSound);
}

void CRRSetupDlg::Show() {
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CRRSetupDlg::Hide() {
    ShowWindow(m_hWnd, SW_HIDE);
    if (m_mainWindow) InvalidateRect(m_mainWindow, nullptr, TRUE);
}

void CRRSetupDlg::RefreshLists() {
    HWND folders = Item(IDC_CHOOSER_FOLDERS);
    HWND files = Item(IDC_CHOOSER_FILES);
    // Without redrawing while the lists fill, a large folder lists many times faster.
    SendMessageA(folders, WM_SETREDRAW, FALSE, 0);
    SendMessageA(files, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(folders);
    ListView_DeleteAllItems(files);
    FolderContents listing = m_browser.List();
    FillSorted(folders, std::move(listing.folders));
    FillSorted(files, std::move(listing.files));
    SendMessageA(folders, WM_SETREDRAW, TRUE, 0);
    SendMessageA(files, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(folders, nullptr, TRUE);
    InvalidateRect(files, nullptr, TRUE);

    HWND history = Item(IDC_CHOOSER_HISTORY);
    SendMessageA(history, CB_RESETCONTENT, 0, 0);
    for (const std::string& path : m_browser.History())
        SendMessageA(history, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    SendMessageA(history, CB_SETCURSEL, 0, 0);
    EnableWindow(Item(IDC_CHOOSER_SCHEME_LABEL), FALSE);
    EnableWindow(Item(IDC_CHOOSER_SCHEMES), FALSE);
}

void CRRSetupDlg::FillDriveCombo() {
    HWND drives = Item(IDC_CHOOSER_DRIVES);
    SendMessageA(drives, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : m_browser.DriveEntries())
        SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    const std::string prefix = m_browser.CurrentDrivePrefix();
    if (prefix.empty()) return;
    LRESULT found = SendMessageA(drives, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix.c_str()));
    if (found != CB_ERR) SendMessageA(drives, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void CRRSetupDlg::EnableOptions(bool sound, bool wallpaper) {
    EnableWindow(Item(IDC_CHOOSER_SCHEME_LABEL), sound);
    EnableWindow(Item(IDC_CHOOSER_SCHEMES), sound);
    for (int id : {IDC_CHOOSER_WALLPAPER_LABEL, IDC_CHOOSER_CENTER, IDC_CHOOSER_TILE}) EnableWindow(Item(id), wallpaper);
}

void CRRSetupDlg::UpdateOptionControls() {
    OptionGroups groups = OptionsForSelection(SelectedTexts(IDC_CHOOSER_FILES));
    EnableOptions(groups.sound, groups.wallpaper);
}

std::string CRRSetupDlg::FocusedText(int listId) const {
    HWND list = Item(listId);
    int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    return focused < 0 ? std::string() : ItemText(list, focused);
}

std::vector<std::string> CRRSetupDlg::SelectedTexts(int listId) const {
    HWND list = Item(listId);
    std::vector<std::string> texts;
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
        texts.push_back(ItemText(list, i));
    return texts;
}

std::string CRRSetupDlg::ComboSelection(int comboId) const {
    HWND combo = Item(comboId);
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::string();
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

void CRRSetupDlg::OnOK() {
    m_result = RecordSelection(SelectedTexts(IDC_CHOOSER_FILES), m_browser.PicturesListed());
    m_strResultPath = m_browser.Path();
    m_resultSchemes.clear();
    HWND schemes = Item(IDC_CHOOSER_SCHEMES);
    for (int i = 0, count = ListView_GetItemCount(schemes); i < count; ++i)
        if (ListView_GetCheckState(schemes, i)) m_resultSchemes.push_back(ItemText(schemes, i));
    m_bResultTile = IsDlgButtonChecked(m_hWnd, IDC_CHOOSER_TILE) == BST_CHECKED;
    if (m_mainWindow) PostMessageA(m_mainWindow, m_resultMessage, 0, 0);
    Hide();
}

void CRRSetupDlg::OnCancel() { Hide(); }

void CRRSetupDlg::OnNewFolder() {
    CRequestName prompt;
    prompt.DoModal(m_hWnd);
    if (prompt.m_bCancelled) return;
    m_browser.NewFolder(prompt.m_strName);
    RefreshLists();
}

void CRRSetupDlg::RenameFocused(int listId) {
    const std::string name = FocusedText(listId);
    if (name.empty()) return;
    CRequestName prompt;
    prompt.DoModal(m_hWnd);
    if (prompt.m_bCancelled) return;
    if (m_browser.Rename(name, prompt.m_strName)) RefreshLists();
    else MessageBoxA(m_hWnd, kRenameFailedMessage, kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool CRRSetupDlg::OnCommand(WORD id, WORD code, HWND /*control*/) {
    switch (id) {
        case IDC_CHOOSER_UP_LEVEL:
            if (m_browser.UpLevel()) RefreshLists();
            return true;
        case IDC_CHOOSER_BACK:
            if (m_browser.Back()) RefreshLists();
            return true;
        case IDC_CHOOSER_REFRESH:
            RefreshLists();
            return true;
        case IDC_CHOOSER_NEW_FOLDER:
            OnNewFolder();
            return true;
        case IDC_CHOOSER_RENAME:
            // The folder first; a successful folder rename lists again and so clears the file's focus.
            RenameFocused(IDC_CHOOSER_FOLDERS);
            RenameFocused(IDC_CHOOSER_FILES);
            return true;
        case IDC_CHOOSER_REMOVE:
            m_browser.Remove(FocusedText(IDC_CHOOSER_FOLDERS), FocusedText(IDC_CHOOSER_FILES));
            RefreshLists();
            return true;
        case IDC_CHOOSER_DRIVES:
            if (code != CBN_SELCHANGE) return false;
            if (m_browser.ChooseDriveEntry(ComboSelection(IDC_CHOOSER_DRIVES))) RefreshLists();
            return true;
        case IDC_CHOOSER_HISTORY:
            if (code != CBN_SELCHANGE) return false;
            if (m_browser.ChooseHistoryEntry(ComboSelection(IDC_CHOOSER_HISTORY))) RefreshLists();
            return true;
        case IDC_CHOOSER_CENTER:
        case IDC_CHOOSER_TILE:
            if (code != BN_CLICKED) return false;
            CheckRadioButton(m_hWnd, IDC_CHOOSER_CENTER, IDC_CHOOSER_TILE, id);
            return true;
        default:
            return false;
    }
}

bool CRRSetupDlg::OnNotify(int controlId, NMHDR* header, LRESULT& result) {
    result = 0;
    if (controlId == IDC_CHOOSER_FOLDERS && header->code == NM_DBLCLK) {
        if (m_browser.OpenFolder(FocusedText(IDC_CHOOSER_FOLDERS))) RefreshLists();
        return true;
    }
    if (controlId == IDC_CHOOSER_FILES && header->code == NM_CLICK) {
        UpdateOptionControls();
        return true;
    }
    if (controlId == IDC_CHOOSER_FILES && header->code == NM_DBLCLK) {
        OnOK();
        return true;
    }
    return false;
}

}  // namespace qm
