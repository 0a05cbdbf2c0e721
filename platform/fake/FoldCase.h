#pragma once
// Case folding of the fakes: the file system's and registry's own rule (ASCII letters and
// the accented letters of the Western code page, as Windows folds them).
#include <string>

#include "platform/FoldPath.h"

namespace qm {

inline std::string FoldCase(const std::string& text) { return FoldPath(text); }

}  // namespace qm
