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
# Rarely Wine ends a freshly started process at once, before it prints anything: that start
# (and only that) is tried again. A test that ran and failed is never run again.
log=$(mktemp)
for _ in 1 2; do
  if wine "$root/build/win32/qm_installer_tests.exe" --installer="Z:$installer" 2>&1 | tee "$log"; then
    status=0
  else
    status=$?  # the test program's own status (pipefail)
  fi
  if [ "$status" -eq 0 ] || grep -q '^\[==========\] Running' "$log"; then break; fi
  echo "test-installer: the test program ended before it started (exit $status); starting it again" >&2
done
rm -f "$log"
exit "$status"
