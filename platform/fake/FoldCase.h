#pragma once
// Case folding of the fakes: the file system's and registry's own rule (ASCII letters and
// the accented letters of the Western code page, as Windows folds them).
#include <algorithm>
#include <string>
#include <string_view>

#include "platform/FoldPath.h"

namespace qm {

inline std::string FoldCase(const std::string& text) { return FoldPath(text); }

inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

// A name folded into a buffer of its own: a lookup by a name in any letter case copies
// nothing to the heap (names longer than the buffer, which no key name is, fold as well).
class FoldedName {
public:
    explicit FoldedName(std::string_view name) {
        if (name.size() <= sizeof m_buffer) {
            std::transform(name.begin(), name.end(), m_buffer, FoldChar);
            m_view = std::string_view(m_buffer, name.size());
        } else {
            m_long = FoldPath(std::string(name));
            m_view = m_long;
        }
    }
    FoldedName(const FoldedName&) = delete;
    FoldedName& operator=(const FoldedName&) = delete;
    std::string_view view() const { return m_view; }

private:
    char m_buffer[256];
    std::string m_long;
    std::string_view m_view;
};

}  // namespace qm
