#pragma once
// Case folding of the fakes: ASCII letters and the accented letters of the Western
// (Latin-1 / code page 1252) range, as the Windows file system and registry fold them.
#include <string>

namespace qm {

inline std::string FoldCase(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
            c = static_cast<char>(u - 0x20);
    }
    return folded;
}

}  // namespace qm
