#!/usr/bin/env bash
# Builds the installer and tests it in a fresh Wine prefix of its own
# (build/wineprefix-installer): silent install, the shortcuts, a start through the log-on
# shortcut, silent and asked uninstalls. Needs tools/build.sh win32 first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
installer=$root/build/win32/installer/QuillMereSetup.exe
"$root/tools/make-installer.sh" "$installer"
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
QM_FORCE_XVFB=1
qm_wine_prefix "$root/build/wineprefix-installer" fresh
qm_display
trap qm_wine_stop EXIT
qm_wine_start
wine "$root/build/win32/qm_installer_tests.exe" --installer="Z:$installer"
