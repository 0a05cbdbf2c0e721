#include "app/HelpFile.h"

#include "platform/PathParts.h"

namespace qm {

std::string WithExtension(const std::string& path, const char* extension) {
    const PathParts parts = SplitPath(path);
    std::size_t dot = parts.name.find_last_of('.');
    return parts.folder + (dot == std::string::npos ? parts.name : parts.name.substr(0, dot)) + extension;
}

HelpChoice ChooseHelpFile(const std::string& programPath, const std::function<bool(const std::string&)>& fileExists) {
    std::string winHelpFile = WithExtension(programPath, ".HLP");
    if (fileExists(winHelpFile)) return {HelpChoice::winHelp, winHelpFile};
    std::string page = WithExtension(programPath, ".htm");
    return {fileExists(page) ? HelpChoice::page : HelpChoice::missing, page};
}

}  // namespace qm
