#include "randomize/Random.h"

#include "platform/LetterCase.h"

namespace qm {

int CRandom::NextRandom() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
}

int CRandom::PickIndex(int count) {
    int value = NextRandom();
    return count > 0 ? value % count : 0;
}

bool EndsWithIgnoringCase(const std::string& path, const std::string& name) {
    return path.size() >= name.size() &&
           EqualIgnoringAsciiCase(std::string_view(path).substr(path.size() - name.size()), name);
}

int CRandom::PickAvoidingShown(const std::vector<std::string>& paths, const std::string& shownName) {
    const int count = static_cast<int>(paths.size());
    int index = PickIndex(count);
    if (count <= 1 || shownName.empty()) return index;
    for (int redraw = 0; redraw < kMaxRedraws && EndsWithIgnoringCase(paths[index], shownName); ++redraw)
        index = PickIndex(count);
    return index;
}

std::optional<int> CRandom::PickForScheme(const CPools& pools, const std::string& scheme) {
    std::vector<int> candidates;
    const int sounds = std::min<int>(pools.m_nSoundFiles, static_cast<int>(pools.m_soundSchemes.size()));
    for (int i = 0; i < sounds; ++i)
        for (const std::string& name : pools.m_soundSchemes[i].names) {
            if (name.empty()) break;
            if (name == scheme) candidates.push_back(i);
        }
    if (candidates.empty()) return std::nullopt;
    return candidates[static_cast<std::size_t>(PickIndex(static_cast<int>(candidates.size())))];
}

}  // namespace qm
