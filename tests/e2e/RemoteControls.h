#pragma once
// Reading and working another process's list boxes and list views. List boxes answer the
// wide messages across processes; list views need memory in the target process.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace qm::e2e {

inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
inline std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c < 0x100 ? c : '?');
    return out;
}

// The texts of another process's list box (the wide message crosses processes whole).
inline std::vector<std::string> ListTexts(HWND list) {
    std::vector<std::string> texts;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        texts.push_back(Narrow(text.substr(0, got > 0 ? got : 0)));
    }
    return texts;
}

// A list view of another process, through memory allocated in that process.
class RemoteListView {
public:
    RemoteListView(HWND list, HANDLE process) : m_list(list), m_process(process) {
        m_memory = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    }
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;
    ~RemoteListView() {
        if (m_memory) VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
    }
    int Count() const { return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int item, int column = 0) const {
        LVITEMA record = {};
        record.iSubItem = column;
        record.pszText = m_memory + 1024;
        record.cchTextMax = 1024;
        WriteProcessMemory(m_process, m_memory, &record, sizeof record, nullptr);
        SendMessageA(m_list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(m_memory));
        char text[1024] = {};
        ReadProcessMemory(m_process, m_memory + 1024, text, sizeof text - 1, nullptr);
        return text;
    }
    bool Checked(int item) const {
        return (SendMessageA(m_list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    void SetChecked(int item, bool on) const {
        LVITEMA record = {};
        record.stateMask = LVIS_STATEIMAGEMASK;
        record.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
        WriteProcessMemory(m_process, m_memory, &record, sizeof record, nullptr);
        SendMessageA(m_list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(m_memory));
    }
    int Find(const std::string& text) const {
        for (int i = 0; i < Count(); ++i)
            if (Text(i) == text) return i;
        return -1;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < Count(); ++i) texts.push_back(Text(i));
        return texts;
    }
    // A mouse click on the item's label, as a person makes it (the list view selects and
    // focuses the item and notifies its dialog before the call returns); with `add`, Ctrl
    // is held; with `twice`, a double click follows.
    bool Click(const std::string& text, bool add = false, bool twice = false) const {
        const int item = Find(text);
        if (item < 0) return false;
        RECT rect = {LVIR_LABEL, 0, 0, 0};
        WriteProcessMemory(m_process, m_memory, &rect, sizeof rect, nullptr);
        SendMessageA(m_list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(m_memory));
        ReadProcessMemory(m_process, m_memory, &rect, sizeof rect, nullptr);
        const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        const WPARAM keys = add ? MK_CONTROL : 0;
        SendMessageA(m_list, WM_LBUTTONDOWN, MK_LBUTTON | keys, point);
        SendMessageA(m_list, WM_LBUTTONUP, keys, point);
        if (twice) PostMessageA(m_list, WM_LBUTTONDBLCLK, MK_LBUTTON | keys, point);
        return true;
    }
    // The texts of the ticked items, in list order.
    std::vector<std::string> Ticked() const {
        std::vector<std::string> ticked;
        for (int i = 0; i < Count(); ++i)
            if (Checked(i)) ticked.push_back(Text(i));
        return ticked;
    }

private:
    HWND m_list;
    HANDLE m_process;
    char* m_memory = nullptr;
};

// A top-level window of the process with the given title, or nullptr.
inline HWND WindowOfProcess(DWORD processId, const std::string& title) {
    struct Args {
        DWORD processId;
        std::string title;
        HWND found;
    } args{processId, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* a = reinterpret_cast<Args*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char text[256] = {};
            if (owner != a->processId || !GetWindowTextA(window, text, sizeof text) || a->title != text) return TRUE;
            a->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&args));
    return args.found;
}

}  // namespace qm::e2e
