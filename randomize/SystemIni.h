#pragma once
// The screen saver line of "system.ini", which Windows 95 and 98 read at start: the file is
// rewritten through "tmpsys.ini" beside it and swapped in whole, so that a failure on the
// way never leaves it cut short or gone.
#include <string>

#include "platform/FileSystem.h"

namespace qm {

extern const char kSystemIniName[];      // "system.ini"
extern const char kSystemIniTempName[];  // "tmpsys.ini"

// The text of "system.ini" with every line that begins with "SCRNSAVE.EXE" left out and the
// line "SCRNSAVE.EXE=" + `value` put directly after every line that begins with "[boot]"
// (both compared with case). Lines end in CR LF afterwards, the last one included.
std::string WithScreenSaverInBootSection(const std::string& text, const std::string& value);

// Names `value` as the screen saver in `windowsDir` + "system.ini". False when the file
// could not be read or its new text could not be written and put in place; "system.ini"
// is then as it was and no "tmpsys.ini" is left behind.
bool SetScreenSaverInSystemIni(IFileSystem& files, const std::string& windowsDir, const std::string& value);

}  // namespace qm
