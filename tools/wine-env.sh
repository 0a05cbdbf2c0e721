# Sourced by the run and test scripts: a Wine prefix of the project's own and, where there
# is no display, an Xvfb screen. Everything started here is ended by qm_wine_stop.

# qm_wine_prefix DIR [fresh]: uses (or, with "fresh", recreates) the prefix in DIR.
qm_wine_prefix() {
  local dir=$1 fresh=${2:-}
  export WINEPREFIX=$dir WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine keeps its server socket under TMPDIR: keep it the same for every call.
  export TMPDIR=${TMPDIR:-/tmp}
  if [ -n "$fresh" ]; then rm -rf "$dir"; fi
  if [ ! -f "$dir/system.reg" ]; then
    mkdir -p "$(dirname "$dir")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # No crash dialog waiting for a person; one virtual desktop so that hiding a window
    # costs nothing without a window manager.
    local reg=$dir/quillmere-prefix.reg
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
  fi
}

# qm_display: makes sure DISPLAY names a working X screen, starting Xvfb if needed.
qm_display() {
  QM_XVFB_PID=
  if [ -n "${DISPLAY:-}" ] && [ -z "${QM_FORCE_XVFB:-}" ]; then return 0; fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QM_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "wine-env: Xvfb did not start on :$n" >&2
  return 1
}

# qm_wine_start: starts the prefix's server and its background programs once, their output
# going nowhere: a background program started by a test would inherit the test's output
# pipe and keep CTest waiting for it to close.
qm_wine_start() {
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# qm_wine_stop: ends the prefix's wineserver (and with it its programs), then our Xvfb.
qm_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; wineserver -w >/dev/null 2>&1 || true; fi
  if [ -n "${QM_XVFB_PID:-}" ]; then kill "$QM_XVFB_PID" 2>/dev/null || true; wait "$QM_XVFB_PID" 2>/dev/null || true; fi
}
