#!/usr/bin/env bash
# Takes the README's picture of the main window: runs the built program on an Xvfb screen
# in a prefix of its own, captures the screen and crops it to the window.
# Usage: tools/screenshot.sh [OUT.png [DPI]]   (needs ImageMagick: apt-get install imagemagick)
# DPI (96 when left out) is written as LogPixels under HKCU\Control Panel\Desktop first, as
# the display settings of Windows do; above 96 the whole screen is kept rather than cropped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/main-window.png}
dpi=${2:-96}
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
QM_FORCE_XVFB=1
qm_wine_prefix "$root/build/wineprefix-shot"
qm_display
trap qm_wine_stop EXIT
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -k || true
wineserver -w
qm_wine_start
(cd "$root/build/win32/bin" && wine QuillMere.exe >/dev/null 2>&1 &)
sleep 5
shot=$(mktemp --suffix=.png)
import -window root "$shot"
if [ "$dpi" = 96 ]; then
  convert "$shot" -crop 410x490+0+0 +repage "$out"
else
  convert "$shot" -crop 1024x768+0+0 +repage "$out"
fi
rm -f "$shot"
echo "screenshot: $out ($dpi dpi)"
