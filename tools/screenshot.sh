#!/usr/bin/env bash
# Takes the README's picture of the main window: runs the built program on an Xvfb screen
# in the test prefix, captures the screen and crops it to the window.
# Usage: tools/screenshot.sh [OUT.png]   (needs ImageMagick: apt-get install imagemagick)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/main-window.png}
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
QM_FORCE_XVFB=1
qm_wine_prefix "$root/build/wineprefix-shot"
qm_display
trap qm_wine_stop EXIT
qm_wine_start
(cd "$root/build/win32/bin" && wine QuillMere.exe >/dev/null 2>&1 &)
sleep 4
shot=$(mktemp --suffix=.png)
import -window root "$shot"
convert "$shot" -crop 410x490+0+0 +repage "$out"
rm -f "$shot"
echo "screenshot: $out"
