#pragma once
// The one random generator of the run and the three ways of drawing from it: a plain index,
// an index that avoids the file the main window shows, and a sound for a scheme. The
// generator belongs to the user-interface thread, where every randomization runs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pools/Pools.h"

namespace qm {

class CRandom {
public:
    // Redraws of PickAvoidingShown before it gives up avoiding the shown file: a shown name
    // that every pool entry ends in (two files of one name in two folders, or a letter the
    // user typed into the name field) could otherwise keep it drawing for ever.
    static constexpr int kMaxRedraws = 1000;

    // Seeded once per run with the time in whole seconds, truncated to 32 bits.
    void Seed(std::int64_t seconds) { m_state = static_cast<std::uint32_t>(seconds); }
    // The next value from 0 to 32767 (state * 214013 + 2531011, then bits 16 to 30).
    int NextRandom();
    // An index from 0 to count - 1 (count >= 1): the next value reduced by count.
    int PickIndex(int count);
    // An index of `paths` (not empty) whose path does not end in `shownName`, ignoring
    // letter case, drawn again while it does. One entry, or an empty shown name, is never
    // redrawn. After kMaxRedraws redraws the last drawn index is returned.
    int PickAvoidingShown(const std::vector<std::string>& paths, const std::string& shownName);
    // A sound entry listed for `scheme` (names compared exactly), each entry as many times
    // as its list names the scheme; nothing when no entry names it.
    std::optional<int> PickForScheme(const CPools& pools, const std::string& scheme);

private:
    std::uint32_t m_state = 0;
};

// Whether the last characters of `path` equal `name` ignoring the case of ASCII letters (a
// path shorter than the name does not). ASCII alone, as the redraw has always compared.
bool EndsWithIgnoringCase(const std::string& path, const std::string& name);

}  // namespace qm
