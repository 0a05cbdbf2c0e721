#pragma once
// The one rule for taking a Windows path apart: the folder is everything up to and
// including the last backslash, the name everything after it. A path without a backslash
// is all name; a path ending in a backslash has an empty name.
#include <string>

namespace qm {

// The longest full path the ANSI file calls reach (MAX_PATH less its terminating zero): a
// longer one finds nothing, so the pools never store one.
constexpr std::size_t kLongestPath = 259;

struct PathParts {
    std::string folder;  // ends in a backslash, or is empty
    std::string name;
};

inline PathParts SplitPath(const std::string& path) {
    std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) return PathParts{std::string(), path};
    return PathParts{path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The folder with a backslash at its end (an empty folder stays empty).
inline std::string WithFinalBackslash(const std::string& folder) {
    return folder.empty() || folder.back() == '\\' ? folder : folder + '\\';
}

}  // namespace qm
