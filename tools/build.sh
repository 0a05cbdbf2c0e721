#!/usr/bin/env bash
# Builds Quill Mere: "native" (the portable core, its tests and the benchmark) and/or
# "win32" (QuillMere.exe and the Windows tests, cross-compiled with MinGW-w64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
for target in "${@:-native win32}"; do
  for kind in $target; do
    case "$kind" in
      native)
        cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$root/build/native" -j "$jobs" ;;
      win32)
        cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
        cmake --build "$root/build/win32" -j "$jobs" ;;
      *) echo "build: unknown target $kind" >&2; exit 2 ;;
    esac
  done
done
