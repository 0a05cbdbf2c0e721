# Cross build for Windows: the program, the Win32 backend's tests and the tests that drive
# the real program. CTest runs them under Wine.
enable_language(RC)

add_library(qmwin32 STATIC
  platform/win32/Win32FileSystem.cpp
  platform/win32/Win32Registry.cpp
  platform/win32/Win32System.cpp
)
target_link_libraries(qmwin32 PUBLIC qmcore advapi32 shell32 user32)

add_executable(QuillMere WIN32 ${QM_PROGRAM_SOURCES} resources/QuillMere.rc)
target_link_libraries(QuillMere PRIVATE qmwin32 comctl32 shell32 gdi32 user32)
set_target_properties(QuillMere PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The help page goes next to the program.
add_custom_command(TARGET QuillMere POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/help/QuillMere.htm
          ${CMAKE_BINARY_DIR}/bin/QuillMere.htm)

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# The core's tests again, this time against the real registry and files under Wine.
file(GLOB QM_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
file(GLOB QM_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(qm_win32_tests ${QM_CORE_TESTS} ${QM_WIN32_TESTS})
target_include_directories(qm_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_win32_tests PRIVATE qmwin32 qmfault gtest_main)
gtest_discover_tests(qm_win32_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES RESOURCE_LOCK wine_registry)

# End-to-end: a driver that starts QuillMere.exe and works it with window messages.
file(GLOB QM_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(qm_e2e_tests ${QM_E2E_SOURCES})
target_include_directories(qm_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_e2e_tests PRIVATE gtest advapi32 user32 gdi32)
add_dependencies(qm_e2e_tests QuillMere)
gtest_discover_tests(qm_e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  EXTRA_ARGS --program=Z:${CMAKE_BINARY_DIR}/bin/QuillMere.exe
  PROPERTIES RESOURCE_LOCK wine_registry TIMEOUT 180)

# The smallest dialog program, the yardstick of tools/measure-idle.sh.
add_executable(qm_minimal_dialog WIN32 bench/MinimalDialog.cpp)
target_link_libraries(qm_minimal_dialog PRIVATE user32)
set_target_properties(qm_minimal_dialog PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
