// libFuzzer target of the screen saver line of "system.ini".
//
// Input layout:
//   byte 0        bits 0-3: the length n of the screen-saver value (0 to 15);
//                 bit 4: a stale "tmpsys.ini" from an earlier, interrupted run is there;
//                 bit 5: another program holds "system.ini" locked;
//   bytes 1..n    the value (any bytes);
//   the rest      the text of "system.ini".
// A short input has a shorter value and an empty file.
//
// SetScreenSaverInSystemIni runs over a FakeFileSystem holding the text as
// C:\WINDOWS\system.ini. Unlocked, the file must then hold what the reference below makes
// of the text, and running it again with the same value must change nothing; locked, it
// must fail and leave the file as it was. Either way the folder must hold "system.ini" and
// nothing else afterwards: no "tmpsys.ini", stale or new.
// A violated check prints what failed and traps.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/fake/FakeFileSystem.h"
#include "randomize/SystemIni.h"

namespace qm::fuzz {

const char kFuzzTarget[] = "system.ini";

}  // namespace qm::fuzz

namespace {

using namespace qm;
using qm::fuzz::Check;

const char kWindowsDir[] = "C:\\WINDOWS\\";

// Whether text[first, last) begins with `prefix`, letter case counting.
bool LineBeginsWith(const std::string& text, std::size_t first, std::size_t last, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i)
        if (first + i >= last || text[first + i] != prefix[i]) return false;
    return true;
}

// What the rewrite must make of `text`, worked out character by character: the lines end
// at each LF (a text ending in LF has no empty line after it), one CR before the LF
// belongs to the line ending, lines beginning with "SCRNSAVE.EXE" go, every line kept
// ends in CR LF, and each line beginning with "[boot]" is followed by the new value's line.
std::string Reference(const std::string& text, const std::string& value) {
    std::string out;
    std::size_t next = 0;
    while (next < text.size()) {
        const std::size_t first = next;
        std::size_t last = first;
        while (last < text.size() && text[last] != '\n') ++last;
        next = last + 1;
        if (last > first && text[last - 1] == '\r') --last;
        if (LineBeginsWith(text, first, last, "SCRNSAVE.EXE")) continue;
        out.append(text, first, last - first).append("\r\n");
        if (LineBeginsWith(text, first, last, "[boot]")) out.append("SCRNSAVE.EXE=").append(value).append("\r\n");
    }
    return out;
}

// Whether the Windows folder lists system.ini and nothing else: a rewrite leaves no
// "tmpsys.ini" behind, its own or a stale one.
bool FolderHoldsOnlySystemIni(FakeFileSystem& files) {
    int count = 0;
    bool others = false;
    files.Search(std::string(kWindowsDir) + "*", [&](const FoundEntry& entry) {
        ++count;
        others = others || entry.isFolder || !files.SameName(entry.name, kSystemIniName);
        return true;
    });
    return count == 1 && !others;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t control = size > 0 ? data[0] : 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::size_t valueEnd = std::min<std::size_t>(size, 1 + (control & 0x0F));
    const std::string value = size > 0 ? std::string(bytes + 1, valueEnd - 1) : std::string();
    const std::string text(bytes + valueEnd, size - valueEnd);
    const bool staleTemp = (control & 0x10) != 0;
    const bool locked = (control & 0x20) != 0;

    const std::string path = std::string(kWindowsDir) + kSystemIniName;
    FakeFileSystem files;
    files.AddFile(path, text);
    if (staleTemp) files.AddFile(std::string(kWindowsDir) + kSystemIniTempName, "[boot]\r\nhalf a fil");
    if (locked) files.Lock(path);

    const bool set = SetScreenSaverInSystemIni(files, kWindowsDir, value);
    if (locked) {
        Check(!set, "a locked system.ini was reported rewritten");
        Check(files.Content(path) == text, "a locked system.ini changed");
        // A stale file the run could not use stays; the run must not have made one.
        Check(files.Exists(std::string(kWindowsDir) + kSystemIniTempName) == staleTemp,
              "a failed rewrite left a tmpsys.ini behind");
        return 0;
    }
    Check(set, "rewriting an unlocked system.ini failed");
    const std::string once = files.Content(path);
    Check(once == Reference(text, value), "system.ini differs from the reference");
    Check(FolderHoldsOnlySystemIni(files), "the Windows folder holds more than system.ini after a rewrite");

    // A value holding a LF puts lines of its own into the file, which the next rewrite then
    // reads as lines of the file: only a value without one can come out the same again.
    if (value.find('\n') != std::string::npos) return 0;
    Check(SetScreenSaverInSystemIni(files, kWindowsDir, value), "rewriting system.ini a second time failed");
    Check(files.Content(path) == once, "rewriting system.ini again with the same value changed it");
    Check(FolderHoldsOnlySystemIni(files), "the Windows folder holds more than system.ini after a second rewrite");
    return 0;
}
