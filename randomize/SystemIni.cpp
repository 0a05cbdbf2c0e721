#include "randomize/SystemIni.h"

#include "pools/WholeFiles.h"

namespace qm {

const char kSystemIniName[] = "system.ini";
const char kSystemIniTempName[] = "tmpsys.ini";

namespace {

const char kScreenSaverKey[] = "SCRNSAVE.EXE";
const char kBootHeader[] = "[boot]";

bool StartsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace

std::string WithScreenSaverInBootSection(const std::string& text, const std::string& value) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();  // a text file's CR LF
        if (StartsWith(line, kScreenSaverKey)) continue;
        out += line + "\r\n";
        if (StartsWith(line, kBootHeader)) out += std::string(kScreenSaverKey) + "=" + value + "\r\n";
    }
    return out;
}

bool SetScreenSaverInSystemIni(IFileSystem& files, const std::string& windowsDir, const std::string& value) {
    std::string text;
    if (!ReadWhole(files, windowsDir + kSystemIniName, text)) return false;
    return ReplaceWhole(files, windowsDir + kSystemIniName, windowsDir + kSystemIniTempName,
                        WithScreenSaverInBootSection(text, value));
}

}  // namespace qm
