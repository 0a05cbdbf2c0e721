#pragma once
// The item texts of a list box or combo box of this process, in the control's own order.
#include <windows.h>

#include <string>
#include <vector>

namespace qm {

// `count`, `length` and `text` are the control's messages for its item count, an item's
// length and an item's text (LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT or the CB_ forms).
inline std::vector<std::string> ItemTexts(HWND control, UINT count, UINT length, UINT text) {
    std::vector<std::string> texts;
    const LRESULT items = SendMessageA(control, count, 0, 0);
    std::vector<char> buffer;
    for (LRESULT i = 0; i < items; ++i) {
        const LRESULT size = SendMessageA(control, length, i, 0);
        buffer.assign(size > 0 ? size + 1 : 1, '\0');
        const LRESULT got = SendMessageA(control, text, i, reinterpret_cast<LPARAM>(buffer.data()));
        texts.emplace_back(buffer.data(), got > 0 ? got : 0);
    }
    return texts;
}

}  // namespace qm
