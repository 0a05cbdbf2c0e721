// The line rules of the screen saver's entry in "system.ini".
#include <gtest/gtest.h>

#include "randomize/SystemIni.h"

namespace qm::test {

namespace {
const char kValue[] = "C:\\WINDOWS\\system\\QUILLM~1.SCR";
std::string Rewrite(const std::string& text) { return WithScreenSaverInBootSection(text, kValue); }
}  // namespace

TEST(SystemIniRules, TheOldLineGoesAndTheNewOneFollowsTheBootHeader) {
    EXPECT_EQ(Rewrite("[boot]\r\nshell=Explorer.exe\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n"),
              std::string("[boot]\r\nSCRNSAVE.EXE=") + kValue +
                  "\r\nshell=Explorer.exe\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n");
    // In whatever section it stands, a line beginning with the key is dropped.
    EXPECT_EQ(Rewrite("[drivers]\r\nSCRNSAVE.EXE=x\r\nSCRNSAVE.EXEC\r\n"), "[drivers]\r\n");
}

TEST(SystemIniRules, CaseCountsInTheHeaderAndInTheKey) {
    const std::string text = "[Boot]\r\nscrnsave.exe=C:\\KEEP.SCR\r\n";
    EXPECT_EQ(Rewrite(text), text) << "neither [Boot] nor scrnsave.exe= is the program's";
    EXPECT_EQ(Rewrite("[boot] ; the section\r\nScrnSave.exe=1\r\n"),
              std::string("[boot] ; the section\r\nSCRNSAVE.EXE=") + kValue + "\r\nScrnSave.exe=1\r\n");
}

TEST(SystemIniRules, WithoutABootHeaderNoLineIsAdded) {
    EXPECT_EQ(Rewrite("[386Enh]\r\nSCRNSAVE.EXE=C:\\OLD.SCR\r\nx=1\r\n"), "[386Enh]\r\nx=1\r\n");
    EXPECT_EQ(Rewrite(""), "");
}

TEST(SystemIniRules, EveryBootHeaderGetsALineAndEveryLineEndsInCrLf) {
    // Several headers, bare LF line ends, and a last line without any line end.
    EXPECT_EQ(Rewrite("[boot]\nSCRNSAVE.EXE=a\n[boot]\r\nlast=1"),
              std::string("[boot]\r\nSCRNSAVE.EXE=") + kValue + "\r\n[boot]\r\nSCRNSAVE.EXE=" + kValue +
                  "\r\nlast=1\r\n");
    // Empty lines stay; a lone CR inside a line is part of it.
    EXPECT_EQ(Rewrite("a\r\n\r\nb\rc\r\n"), "a\r\n\r\nb\rc\r\n");
}

TEST(SystemIniRules, BytesBeyondAsciiAndZerosPassUnchanged) {
    const std::string text = std::string("name=\xE9t\xE9") + '\0' + "x\r\n";
    EXPECT_EQ(Rewrite(text), text);
}

}  // namespace qm::test
