#!/usr/bin/env bash
# Measures the responsive start: how long QuillMere.exe with 9,500 pool entries takes from
# its process start until its main window answers a message, beside a minimal dialog
# program started the same way. Runs under Wine in a prefix of its own
# (build/wineprefix-bench), on an Xvfb screen of its own; builds the Windows target first.
# Prints figures; a missed target is not a failure. Arguments: another QuillMere.exe and
# minimal program to time, as Windows paths.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" win32 >/dev/null
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
QM_FORCE_XVFB=1
qm_wine_prefix "$root/build/wineprefix-bench"
qm_display
trap qm_wine_stop EXIT
qm_wine_start
wine "$root/build/win32/bench/qm_bench_startup.exe" "$@"
