#include "e2e/DialogTemplate.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qm::e2e {

namespace {

class Reader {
public:
    explicit Reader(const BYTE* data) : m_p(data), m_start(data) {}
    WORD Word() { WORD w; memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, m_p, 4); m_p += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    std::string Text() {
        std::string text;
        for (WORD c; (c = Word()) != 0;) text += static_cast<char>(c < 0x100 ? c : '?');
        return text;
    }
    // A string, an ordinal (returned as "#n") or nothing.
    std::string TextOrOrdinal() {
        WORD first;
        memcpy(&first, m_p, 2);
        if (first == 0xFFFF) {
            m_p += 2;
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void Skip(std::size_t n) { m_p += n; }
    void AlignDword() { while ((m_p - m_start) % 4) ++m_p; }

private:
    const BYTE* m_p;
    const BYTE* m_start;
};

std::string ClassName(const std::string& raw) {
    if (raw == "#128") return "Button";
    if (raw == "#129") return "Edit";
    if (raw == "#130") return "Static";
    if (raw == "#131") return "ListBox";
    if (raw == "#132") return "ScrollBar";
    if (raw == "#133") return "ComboBox";
    return raw;
}

}  // namespace

bool LoadDialogTemplate(const std::string& module, int id, DialogTemplate& out) {
    HMODULE image = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!image) return false;
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    const BYTE* data = found ? static_cast<const BYTE*>(LockResource(LoadResource(image, found))) : nullptr;
    bool ok = false;
    if (data) {
        Reader r(data);
        if (r.Word() == 1 && r.Word() == 0xFFFF) {
            r.Dword();  // help id
            r.Dword();  // extended style
            out.style = r.Dword();
            WORD count = r.Word();
            r.Short();
            r.Short();
            out.cx = r.Short();
            out.cy = r.Short();
            r.TextOrOrdinal();  // menu
            r.TextOrOrdinal();  // class
            out.title = r.Text();
            if (out.style & DS_SETFONT) {
                out.pointSize = r.Word();
                r.Word();
                r.Skip(2);
                out.font = r.Text();
            }
            for (WORD i = 0; i < count; ++i) {
                r.AlignDword();
                TemplateItem item;
                r.Dword();
                r.Dword();
                item.style = r.Dword();
                item.x = r.Short();
                item.y = r.Short();
                item.cx = r.Short();
                item.cy = r.Short();
                item.id = static_cast<int>(r.Dword());
                item.className = ClassName(r.TextOrOrdinal());
                item.text = r.TextOrOrdinal();
                r.Skip(r.Word());
                out.items.push_back(item);
            }
            ok = true;
        }
    }
    FreeLibrary(image);
    return ok;
}

bool LoadMenuItems(const std::string& module, int id, std::vector<MenuItem>& out) {
    HMODULE image = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!image) return false;
    HMENU menu = LoadMenuA(image, MAKEINTRESOURCEA(id));
    if (menu) {
        char text[256];
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            std::string popupText = text;
            HMENU popup = GetSubMenu(menu, i);
            for (int j = 0; popup && j < GetMenuItemCount(popup); ++j) {
                text[0] = 0;
                GetMenuStringA(popup, j, text, sizeof text, MF_BYPOSITION);
                UINT itemId = GetMenuItemID(popup, j);
                out.push_back({popupText, itemId == static_cast<UINT>(-1) ? 0 : itemId, text});
            }
        }
        DestroyMenu(menu);
    }
    FreeLibrary(image);
    return menu != nullptr;
}

void ExpectControls(const DialogTemplate& dialog, const std::vector<ExpectedControl>& expected) {
    EXPECT_EQ(dialog.items.size(), expected.size());
    for (const ExpectedControl& control : expected) {
        SCOPED_TRACE(control.id == -1 ? std::string(control.text) : std::to_string(control.id));
        const TemplateItem* item = nullptr;
        for (const TemplateItem& candidate : dialog.items)
            if (candidate.id == control.id && (control.id != -1 || candidate.text == control.text)) item = &candidate;
        ASSERT_TRUE(item);
        EXPECT_EQ(_stricmp(item->className.c_str(), control.className), 0) << item->className;
        EXPECT_EQ(item->text, control.text);
        EXPECT_EQ(item->x, control.x);
        EXPECT_EQ(item->y, control.y);
        EXPECT_EQ(item->cx, control.cx);
        EXPECT_EQ(item->cy, control.cy);
        EXPECT_EQ(item->style & control.style, control.style);
    }
}

}  // namespace qm::e2e
