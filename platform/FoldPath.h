#pragma once
// Paths folded as the file system compares names: ASCII letters and the accented letters of
// the Western code page, so that two paths equal but for case fold to the same text.
#include <string>

namespace qm {

inline char FoldChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) ? static_cast<char>(u - 0x20) : c;
}

inline std::string FoldPath(const std::string& path) {
    std::string folded = path;
    for (char& c : folded) c = FoldChar(c);
    return folded;
}

}  // namespace qm
