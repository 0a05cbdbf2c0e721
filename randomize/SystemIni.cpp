#include "randomize/SystemIni.h"

#include <memory>

namespace qm {

const char kSystemIniName[] = "system.ini";
const char kSystemIniTempName[] = "tmpsys.ini";

namespace {

const char kScreenSaverKey[] = "SCRNSAVE.EXE";
const char kBootHeader[] = "[boot]";

bool StartsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The whole file, or false on an error of the platform.
bool ReadWhole(IFileSystem& files, const std::string& path, std::string& text) {
    std::unique_ptr<IReadStream> in = files.OpenRead(path);
    if (!in) return false;
    char buffer[4096];
    for (;;) {
        long got = in->Read(buffer, sizeof buffer);
        if (got < 0) return false;
        if (got == 0) return true;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

bool WriteWhole(IFileSystem& files, const std::string& path, const std::string& text) {
    std::unique_ptr<IWriteStream> out = files.OpenWrite(path, WriteMode::CreateAlways);
    if (!out) return false;
    // On the disk before it takes the old file's place (see IWriteStream::FlushToDisk).
    bool written = out->Write(text.data(), text.size()) && out->FlushToDisk();
    return out->Close() && written;
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
    const std::string temp = windowsDir + kSystemIniTempName;
    if (WriteWhole(files, temp, WithScreenSaverInBootSection(text, value)) &&
        files.MoveReplacing(temp, windowsDir + kSystemIniName))
        return true;
    files.Delete(temp);
    return false;
}

}  // namespace qm
