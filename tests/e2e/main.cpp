// Runs the end-to-end cases against the program named by --program=PATH.
#include <gtest/gtest.h>

#include <cstring>

#include "e2e/ProgramDriver.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--program=", 10) == 0) qm::e2e::g_programPath = argv[i] + 10;
    for (char& c : qm::e2e::g_programPath)
        if (c == '/') c = '\\';
    // Listing the cases needs no program; running them does (ProgramDriver::Start fails without).
    return RUN_ALL_TESTS();
}
