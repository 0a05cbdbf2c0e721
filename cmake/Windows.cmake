# Cross build for Windows: the program, the Win32 backend's tests and the tests that drive
# the real program. CTest runs them under Wine.
enable_language(RC)

add_library(qmwin32 STATIC
  platform/win32/Win32FileSystem.cpp
  platform/win32/HeldKeys.cpp
  platform/win32/Win32Registry.cpp
  platform/win32/Win32System.cpp
  platform/win32/Win32Pictures.cpp
)
target_link_libraries(qmwin32 PUBLIC qmcore advapi32 shell32 user32 ole32 windowscodecs uuid)

add_executable(QuillMere WIN32 ${QM_PROGRAM_SOURCES} resources/QuillMere.rc)
target_link_libraries(QuillMere PRIVATE qmwin32 comctl32 shell32 gdi32 user32)
set_target_properties(QuillMere PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The help page goes next to the program.
add_custom_command(TARGET QuillMere POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/help/QuillMere.htm
          ${CMAKE_BINARY_DIR}/bin/QuillMere.htm)
# The debug information goes into QuillMere.debug beside the program, which names it for
# debuggers. Left inside, Windows (and Wine) would load those megabytes with the program:
# its sections are not page-aligned in the file, so they are read into memory, not mapped.
find_program(QM_OBJCOPY NAMES x86_64-w64-mingw32-objcopy objcopy REQUIRED)
add_custom_command(TARGET QuillMere POST_BUILD
  COMMAND ${QM_OBJCOPY} --only-keep-debug $<TARGET_FILE:QuillMere> ${CMAKE_BINARY_DIR}/bin/QuillMere.debug
  COMMAND ${QM_OBJCOPY} --strip-debug --add-gnu-debuglink=QuillMere.debug $<TARGET_FILE:QuillMere>
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# GoogleTest as CMake's own package search finds it for this target (MSYS2's package on
# Windows, or one installed for the cross compiler); else Debian's sources, built with the
# cross compiler.
find_package(GTest CONFIG QUIET)
if(GTest_FOUND)
  message(STATUS "GoogleTest: the installed package in ${GTest_DIR}")
  set(QM_GTEST GTest::gtest)
  set(QM_GTEST_MAIN GTest::gtest_main)
elseif(EXISTS /usr/src/googletest/CMakeLists.txt)
  message(STATUS "GoogleTest: built from /usr/src/googletest")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(QM_GTEST gtest)
  set(QM_GTEST_MAIN gtest_main)
else()
  message(FATAL_ERROR "GoogleTest not found: install it (MSYS2: mingw-w64-x86_64-gtest) or set CMAKE_PREFIX_PATH")
endif()
include(GoogleTest)

# Under Wine a Windows program reaches the build tree through the drive Z:, which is the
# Linux root; built and run on Windows, the tree's own path is the program's path.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(QM_PROGRAM_PATH Z:${CMAKE_BINARY_DIR}/bin/QuillMere.exe)
else()
  set(QM_PROGRAM_PATH ${CMAKE_BINARY_DIR}/bin/QuillMere.exe)
endif()

# The core's tests again, this time against the real registry and files under Wine.
file(GLOB QM_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
file(GLOB QM_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(qm_win32_tests ${QM_CORE_TESTS} ${QM_WIN32_TESTS})
target_include_directories(qm_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_win32_tests PRIVATE qmwin32 qmfault ${QM_GTEST_MAIN})
gtest_discover_tests(qm_win32_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES RESOURCE_LOCK wine_registry)
# The same program with the Windows Imaging Component switched off, as on a system without it.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME PictureDecoderMissing.WithoutTheImagingComponent
    COMMAND qm_win32_tests --gtest_also_run_disabled_tests --gtest_filter=PictureDecoderMissing.*)
  set_tests_properties(PictureDecoderMissing.WithoutTheImagingComponent PROPERTIES
    ENVIRONMENT "WINEDLLOVERRIDES=windowscodecs=d" RESOURCE_LOCK wine_registry)
endif()

# End-to-end: a driver that starts QuillMere.exe and works it with window messages.
file(GLOB QM_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(qm_e2e_tests ${QM_E2E_SOURCES})
target_include_directories(qm_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_e2e_tests PRIVATE ${QM_GTEST} advapi32 user32 gdi32 shell32 version ole32 windowscodecs uuid)
add_dependencies(qm_e2e_tests QuillMere)
gtest_discover_tests(qm_e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  EXTRA_ARGS --program=${QM_PROGRAM_PATH}
  PROPERTIES RESOURCE_LOCK wine_registry TIMEOUT 180)

# Manage Files with full pools: drives the real program under Wine and prints its figures.
add_executable(qm_bench_manage bench/win32/ManageFilesBench.cpp tests/e2e/ProgramDriver.cpp)
target_include_directories(qm_bench_manage PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_bench_manage PRIVATE advapi32 user32 shell32)
add_dependencies(qm_bench_manage QuillMere)

# The installer's test: it installs into Program Files and the Startup folder, so it runs in
# a Wine prefix of its own (tools/test-installer.sh), not through CTest.
add_executable(qm_installer_tests tests/installer/InstallerTest.cpp tests/e2e/ProgramDriver.cpp)
target_include_directories(qm_installer_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_installer_tests PRIVATE ${QM_GTEST} advapi32 user32 gdi32 shell32 ole32 uuid)
add_dependencies(qm_installer_tests QuillMere)

# Benchmark under Wine: the chooser listing a large folder (figures, not a test).
add_executable(qm_bench_chooser_list bench/win32/ChooserListBench.cpp chooser/win32/RRSetupDlg.cpp
  chooser/win32/RequestName.cpp ${ui_sources} resources/QuillMere.rc)
target_include_directories(qm_bench_chooser_list PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(qm_bench_chooser_list PRIVATE qmwin32 comctl32 gdi32 user32)

# The benchmarks on the Win32 backend, run under Wine by the test command.
add_subdirectory(${CMAKE_SOURCE_DIR}/bench ${CMAKE_BINARY_DIR}/bench)
