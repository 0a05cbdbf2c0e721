#include "app/HelpFile.h"

namespace qm {

std::string WithExtension(const std::string& path, const char* extension) {
    std::size_t dot = path.find_last_of('.');
    std::size_t slash = path.find_last_of('\\');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

HelpChoice ChooseHelpFile(const std::string& programPath, const std::function<bool(const std::string&)>& fileExists) {
    std::string winHelpFile = WithExtension(programPath, ".HLP");
    if (fileExists(winHelpFile)) return {HelpChoice::winHelp, winHelpFile};
    std::string page = WithExtension(programPath, ".htm");
    return {fileExists(page) ? HelpChoice::page : HelpChoice::missing, page};
}

}  // namespace qm
