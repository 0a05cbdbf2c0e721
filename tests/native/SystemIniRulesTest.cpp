// The line rules of the screen saver's entry in "system.ini".
#include <gtest/gtest.h>

#include "randomize/SystemIni.h"

namespace qm::test {

TEST(SystemIniRules, EachTextIsRewrittenLineByLine) {
    const std::string value = "C:\\WINDOWS\\system\\QUILLM~1.SCR";
    const std::string line = "SCRNSAVE.EXE=" + value + "\r\n";
    const struct { const char* label; std::string text, expected; } rows[] = {
        {"the old line goes, the new one follows the boot header",
         "[boot]\r\nshell=Explorer.exe\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n",
         "[boot]\r\n" + line + "shell=Explorer.exe\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n"},
        {"in any section a line beginning with the key is dropped", "[drivers]\r\nSCRNSAVE.EXE=x\r\nSCRNSAVE.EXEC\r\n",
         "[drivers]\r\n"},
        {"neither [Boot] nor scrnsave.exe= is the program's", "[Boot]\r\nscrnsave.exe=C:\\KEEP.SCR\r\n",
         "[Boot]\r\nscrnsave.exe=C:\\KEEP.SCR\r\n"},
        {"text after the header, a key in another case", "[boot] ; the section\r\nScrnSave.exe=1\r\n",
         "[boot] ; the section\r\n" + line + "ScrnSave.exe=1\r\n"},
        {"no boot header, no line added", "[386Enh]\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\nx=1\r\n", "[386Enh]\r\nx=1\r\n"},
        {"empty", "", ""},
        {"several headers, bare LF, a last line without an end", "[boot]\nSCRNSAVE.EXE=a\n[boot]\r\nlast=1",
         "[boot]\r\n" + line + "[boot]\r\n" + line + "last=1\r\n"},
        {"empty lines stay; a lone CR is part of its line", "a\r\n\r\nb\rc\r\n", "a\r\n\r\nb\rc\r\n"},
        {"bytes beyond ASCII and zeros", std::string("name=\xE9t\xE9") + '\0' + "x\r\n",
         std::string("name=\xE9t\xE9") + '\0' + "x\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(WithScreenSaverInBootSection(row.text, value), row.expected);
    }
}

}  // namespace qm::test
