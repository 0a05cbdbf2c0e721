#pragma once
// Letter case, by the two rules the program compares texts by.
#include <algorithm>
#include <string>
#include <string_view>

namespace qm {

// Names of files and registry keys, as the file system and the registry compare them: the
// ASCII letters and the accented letters of the Western code page (0xE0 to 0xFE but the
// division sign 0xF7) fold to upper case, so two names equal but for case fold alike.
inline char FoldChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) ? static_cast<char>(u - 0x20) : c;
}

inline std::string FoldPath(const std::string& path) {
    std::string folded = path;
    for (char& c : folded) c = FoldChar(c);
    return folded;
}

inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

// ASCII letters alone, as the C library folds them: bytes of 128 and above stay as they are.
// Each user says why its texts are compared so.
inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

// Byte order of the upper-case spellings ('_' sorts after the letters).
inline bool LessIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
    });
}

}  // namespace qm
