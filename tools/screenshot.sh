#!/usr/bin/env bash
# Takes the README's pictures: runs the built program on an Xvfb screen in a prefix of its
# own, opens the chooser and Manage Files from the Actions menu with the keyboard, and
# captures each window.
# Usage: tools/screenshot.sh [OUT.png [DPI]]   (needs apt-get install imagemagick xdotool)
# OUT is the main window's picture; chooser.png and manage-files.png go beside it.
# DPI (96 when left out) is written as LogPixels under HKCU\Control Panel\Desktop first, as
# the display settings of Windows do.
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
# Started in the art folder, the chooser has pictures to list.
(cd "$root/resources/art" && wine "$root/build/win32/bin/QuillMere.exe" >/dev/null 2>&1 &)
sleep 5

# Wine gives each top-level window of the program an X window of its own, frame included.
window() { xdotool search --name "^$1\$" | head -n 1; }
# shoot TITLE FILE: captures the program's window of that title.
shoot() {
  import -window "$(window "$1")" "$2"
  echo "screenshot: $2 ($dpi dpi)"
}
# press TITLE KEY...: presses the keys, one after the other, in the window of that title.
press() {
  xdotool windowfocus --sync "$(window "$1")"
  shift
  for key; do xdotool key "$key"; sleep 1; done
  sleep 2
}
main='Quill Mere V2.01' chooser='Choose Files to Randomize From'
press "$main" alt+a a
shoot "$chooser" "$(dirname "$out")/chooser.png"
press "$chooser" Escape
shoot "$main" "$out"
press "$main" alt+a m
shoot 'Manage Files' "$(dirname "$out")/manage-files.png"
