#!/usr/bin/env bash
# Sets up, builds and runs every test of Quill Mere: the native unit tests, a bounded fuzz
# run of the pool-file reader, and the Windows tests under Wine (the backend against the
# real registry and files, and the real program driven through its windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" test

echo "== native build and unit tests"
"$root/tools/build.sh" native
(cd "$root/build/native" && ctest --output-on-failure)

echo "== fuzzing the pool-file reader"
"$root/tools/fuzz.sh" "${QM_FUZZ_SECONDS:-30}"

echo "== Windows build"
"$root/tools/build.sh" win32
"$root/tools/check-windows-configure.sh"

echo "== Windows tests under Wine"
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
QM_FORCE_XVFB=1
qm_wine_prefix "$root/build/wineprefix-test" fresh
qm_display
trap qm_wine_stop EXIT
qm_wine_start
(cd "$root/build/win32" && ctest --output-on-failure --timeout 300)

echo "== installer: built with NSIS, tested in a Wine prefix of its own"
"$root/tools/test-installer.sh"

echo "== benchmarks (figures, not tests)"
"$root/build/native/bench/qm_bench_loadpools"
"$root/build/native/bench/qm_bench_addfiles"
"$root/build/native/bench/qm_bench_sounds"
echo "== benchmarks on the Win32 backend under Wine (figures, not tests)"
wine "$root/build/win32/bench/qm_bench_loadpools.exe" 3
wine "$root/build/win32/bench/qm_bench_sounds.exe" --real-registry
wine "$root/build/win32/qm_bench_chooser_list.exe"
wine "$root/build/win32/qm_bench_manage.exe" "--program=Z:$root/build/win32/bin/QuillMere.exe"
wine "$root/build/win32/bench/qm_bench_picture.exe"
