#pragma once
// A name folded by the registry's rule into a buffer of its own: a lookup by a name in any
// letter case copies nothing to the heap (names longer than the buffer, which no key name
// is, fold as well).
#include <algorithm>
#include <string>
#include <string_view>

#include "platform/LetterCase.h"

namespace qm {

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
