#!/usr/bin/env bash
# Sets up, builds and runs Quill Mere under Wine, in a prefix of its own (build/wineprefix).
# On a machine without a display it runs on an Xvfb screen and says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" run
"$root/tools/build.sh" win32 >/dev/null
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
qm_wine_prefix "$root/build/wineprefix"
qm_display
trap qm_wine_stop EXIT
if [ -n "$QM_XVFB_PID" ]; then
  echo "run: no display here; Quill Mere runs on the virtual screen $DISPLAY (Xvfb)."
  echo "run: look at it with: DISPLAY=$DISPLAY import -window root shot.png"
fi
echo "run: starting $root/build/win32/bin/QuillMere.exe (ends when you exit the program)"
cd "$root/build/win32/bin"
wine QuillMere.exe
