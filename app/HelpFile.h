#pragma once
// Which help the Help command opens: the WinHelp file beside the program where there is
// one (the program's path with ".HLP"), otherwise the HTML page installed beside it.
#include <functional>
#include <string>

namespace qm {

struct HelpChoice {
    enum Kind { winHelp, page, missing } kind;
    std::string path;  // for `missing`, the page that was looked for
};

HelpChoice ChooseHelpFile(const std::string& programPath, const std::function<bool(const std::string&)>& fileExists);

// The path with its extension (after the last dot of the last name) replaced.
std::string WithExtension(const std::string& path, const char* extension);

}  // namespace qm
