#!/usr/bin/env bash
# Checks that the Windows build configures as it would on Windows itself: GoogleTest found
# by CMake's package search (here a copy built with the cross compiler and installed in
# build/gtest-mingw/, as MSYS2's package would be) and no emulator, so that nothing in the
# generated build names a Linux path (/usr/src) or Wine's drive Z:.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
gtest="$root/build/gtest-mingw"
out="$root/build/win32-configure-check"

if [ ! -f "$gtest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$gtest/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQM_EMULATOR= \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest/install" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$gtest/build" -j "$(nproc)" >/dev/null
  cmake --install "$gtest/build" >/dev/null
fi

rm -rf "$out"
cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQM_EMULATOR= \
  -DGTest_DIR="$gtest/install/lib/cmake/GTest" >"$out.log" 2>&1 || { cat "$out.log"; exit 1; }
grep -q "GoogleTest: the installed package" "$out.log" || {
  cat "$out.log"
  echo "check-windows-configure: GoogleTest was not found by find_package" >&2
  exit 1
}
# The generated build files, not CMake's own logs of what it tried.
pattern='/usr/src|(^|[^A-Za-z0-9_])Z:[/\\]'
found=$(grep -rlE "$pattern" "$out" --include='*.cmake' --include='Makefile' --include='*.make' \
          --include='CMakeCache.txt' --include='*.txt' | grep -v '/CMakeFiles/CMake[A-Za-z]*\.log$' || true)
if [ -n "$found" ]; then
  echo "check-windows-configure: Linux or Wine paths in the Windows build's files:" >&2
  grep -nE "$pattern" $found | head -n 20 >&2
  exit 1
fi
echo "check-windows-configure: GoogleTest found by find_package; no /usr/src or Z: in the generated files"
