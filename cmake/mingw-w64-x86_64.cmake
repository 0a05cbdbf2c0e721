# Cross build for 64-bit Windows with MinGW-w64 (posix thread model, static runtime).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages of the Linux host (its GoogleTest, say) are no use to a Windows build.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Wine runs the tests (through tools/wine-run.sh, which starts again a program that Wine
# ended before it printed anything); -DQM_EMULATOR= (empty) configures as a build made to
# run on Windows.
if(NOT DEFINED QM_EMULATOR)
  set(QM_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
endif()
if(QM_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QM_EMULATOR})
endif()
