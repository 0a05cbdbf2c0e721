#include "chooser/win32/RRSetupDlg.h"

#include <algorithm>

#include "chooser/win32/RequestName.h"
#include "resources/resource.h"
#include "ui/Controls.h"
#include "ui/FileListImages.h"

namespace qm {

namespace {

const char kRenameFailedMessage[] = "Directory rename failed.";
const int kOptionIds[] = {IDC_CHOOSER_SCHEME_LABEL, IDC_CHOOSER_SCHEMES, IDC_CHOOSER_WALLPAPER_LABEL,
                          IDC_CHOOSER_CENTER, IDC_CHOOSER_TILE};

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
    const CListView view(list);
    view.Reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) view.Insert(static_cast<int>(i), items[i].name, items[i].image);
    SetWindowLongPtrA(list, GWL_STYLE, style);
}

}  // namespace

CRRSetupDlg::CRRSetupDlg(IFileSystem& files, IRegistry& registry, ISystem& system, const std::string& windowsDir)
    : CResultDialog(IDD_CHOOSER, RepaintOnHide::invalidate), m_browser(files, registry, system, windowsDir) {}

CRRSetupDlg::~CRRSetupDlg() {
    if (m_hWnd) DestroyWindow(m_hWnd);
    if (m_imageList) ImageList_Destroy(m_imageList);
}

BOOL CRRSetupDlg::OnInitDialog() {
    m_imageList = CreateFileListImages(m_hInstance);
    if (m_imageList)
        for (int list : {IDC_CHOOSER_FOLDERS, IDC_CHOOSER_FILES, IDC_CHOOSER_SCHEMES})
            ListView_SetImageList(Item(list), m_imageList, LVSIL_SMALL);
    ListView_SetExtendedListViewStyle(Item(IDC_CHOOSER_SCHEMES), LVS_EX_CHECKBOXES);
    CListView(Item(IDC_CHOOSER_SCHEMES)).AddColumn(0, "Scheme Name", 250);
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
    m_result = ChosenFiles();
    CListView(Item(IDC_CHOOSER_SCHEMES)).Clear();
    EnableOptions(false, false);
    FillDriveCombo();
    RefreshLists();
}

void CRRSetupDlg::SetSchemeNames(const std::vector<std::string>& names) {
    const CListView schemes(Item(IDC_CHOOSER_SCHEMES));
    for (std::size_t i = 0; i < names.size(); ++i) schemes.Insert(static_cast<int>(i), names[i], imageSound);
}

void CRRSetupDlg::RefreshLists() {
    HWND folders = Item(IDC_CHOOSER_FOLDERS);
    HWND files = Item(IDC_CHOOSER_FILES);
    {
        // Without redrawing while the lists fill, a large folder lists many times faster.
        CRedrawPause pauseFolders(folders), pauseFiles(files);
        CListView(folders).Clear();
        CListView(files).Clear();
        FolderContents listing = m_browser.List();
        FillSorted(folders, std::move(listing.folders));
        FillSorted(files, std::move(listing.files));
    }
    const CComboBox history(Item(IDC_CHOOSER_HISTORY));
    history.Clear();
    for (const std::string& path : m_browser.History()) history.Add(path);
    history.Select(0);
    EnableItem(IDC_CHOOSER_SCHEME_LABEL, false);
    EnableItem(IDC_CHOOSER_SCHEMES, false);
}

void CRRSetupDlg::FillDriveCombo() {
    const CComboBox drives(Item(IDC_CHOOSER_DRIVES));
    drives.Clear();
    for (const std::string& entry : m_browser.DriveEntries()) drives.Add(entry);
    const std::string prefix = m_browser.CurrentDrivePrefix();
    if (prefix.empty()) return;
    const int found = drives.Find(prefix);
    if (found >= 0) drives.Select(found);
}

void CRRSetupDlg::EnableOptions(bool sound, bool wallpaper) {
    EnableItem(IDC_CHOOSER_SCHEME_LABEL, sound);
    EnableItem(IDC_CHOOSER_SCHEMES, sound);
    for (int id : {IDC_CHOOSER_WALLPAPER_LABEL, IDC_CHOOSER_CENTER, IDC_CHOOSER_TILE}) EnableItem(id, wallpaper);
}

void CRRSetupDlg::UpdateOptionControls() {
    OptionGroups groups = OptionsForSelection(CListView(Item(IDC_CHOOSER_FILES)).SelectedTexts());
    EnableOptions(groups.sound, groups.wallpaper);
}

std::string CRRSetupDlg::FocusedText(int listId) const {
    const CListView list(Item(listId));
    const int focused = list.Focused();
    return focused < 0 ? std::string() : list.Text(focused);
}

void CRRSetupDlg::OnOK() {
    m_result = ChosenFiles();
    m_result.folder = m_browser.Path();
    m_result.names = RecordSelection(CListView(Item(IDC_CHOOSER_FILES)).SelectedTexts(), m_browser.PicturesListed()).names;
    m_result.schemes = CListView(Item(IDC_CHOOSER_SCHEMES)).CheckedTexts();
    m_result.tile = ItemChecked(IDC_CHOOSER_TILE);
    PostResult();
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
    else ShowProgramMessage(kRenameFailedMessage);
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
            if (m_browser.ChooseDriveEntry(CComboBox(Item(IDC_CHOOSER_DRIVES)).SelectedText())) RefreshLists();
            return true;
        case IDC_CHOOSER_HISTORY:
            if (code != CBN_SELCHANGE) return false;
            if (m_browser.ChooseHistoryEntry(CComboBox(Item(IDC_CHOOSER_HISTORY)).SelectedText())) RefreshLists();
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
