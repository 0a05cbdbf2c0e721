#!/usr/bin/env bash
# Measures what resident Quill Mere costs while it waits: the program sits in the
# notification area with a 24-hour interval and empty pools, and over a window of
# QM_IDLE_SECONDS (default 120) the CPU time of its process and of the prefix's wineserver
# is read from /proc, with its resident memory. The minimal dialog program
# (bench/MinimalDialog.cpp) is measured the same way under the same Wine, and the
# difference is printed. A figure, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${QM_IDLE_SECONDS:-120}
settle=${QM_IDLE_SETTLE:-10}
"$root/tools/build.sh" win32 >/dev/null
# shellcheck source=tools/wine-env.sh
. "$root/tools/wine-env.sh"
qm_wine_prefix "${QM_IDLE_PREFIX:-$root/build/wineprefix-idle}"
qm_display
trap qm_wine_stop EXIT
qm_wine_start >/dev/null 2>&1 </dev/null
hz=$(getconf CLK_TCK)

# The wineserver of this prefix (other prefixes may have theirs): its working folder is the
# server folder named after the prefix's device and inode.
server_dir="/server-$(printf %x "$(stat -c %d "$WINEPREFIX")")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"
server_pid=
for p in /proc/[0-9]*; do
  case "$(cat "$p/comm" 2>/dev/null)" in wineserver*) ;; *) continue ;; esac
  case "$(readlink "$p/cwd" 2>/dev/null)" in *"$server_dir") server_pid=${p#/proc/} ;; esac
done
[ -n "$server_pid" ] || { echo "measure-idle: no wineserver for $WINEPREFIX" >&2; exit 1; }

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

# measure NAME WORKDIR EXE: prints "cpu_ms rss_kb" for one program.
measure() {
  local name=$1 dir=$2 exe=$3 pid p0 s0 p1 s1
  (cd "$dir" && exec wine "$exe" >/dev/null 2>&1 </dev/null) &
  pid=$!
  sleep "$settle"
  p0=$(ticks "$pid"); s0=$(ticks "$server_pid")
  sleep "$seconds"
  p1=$(ticks "$pid"); s1=$(ticks "$server_pid")
  local rss; rss=$(rss_kb "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 2
  local program_ms=$(( (p1 - p0) * 1000 / hz )) server_ms=$(( (s1 - s0) * 1000 / hz ))
  printf '%-16s program %6d ms  wineserver %6d ms  together %6d ms  resident %7d kB\n' \
    "$name" "$program_ms" "$server_ms" $((program_ms + server_ms)) "$rss" >&2
  echo "$((program_ms + server_ms)) $rss"
}

# Quill Mere as Windows starts it at log-on (the Windows directory as working folder):
# no start-up randomizing, the wallpaper every 24 hours, empty pools. It goes to the
# notification area and waits.
wine reg delete 'HKLM\Software\Corvalith' /f >/dev/null 2>&1 || true
wine reg add 'HKLM\SOFTWARE\Corvalith\Quill Mere\2.0\Preferences' /ve /d 'nnnyn12;' /f >/dev/null 2>&1
windows_dir="$WINEPREFIX/drive_c/windows"
rm -f "$windows_dir/qmfiles.cfg"

echo "measure-idle: ${seconds} s after ${settle} s of settling, Wine $(wine --version)"
read -r qm_cpu qm_rss < <(measure "Quill Mere" "$windows_dir" "$root/build/win32/bin/QuillMere.exe")
read -r min_cpu min_rss < <(measure "minimal dialog" "$root/build/win32/bin" "$root/build/win32/bench/qm_minimal_dialog.exe")
diff_ms=$((qm_cpu - min_cpu))
echo "difference: CPU $diff_ms ms over $seconds s ($(awk -v d="$diff_ms" -v s="$seconds" 'BEGIN {printf "%.4f", d / (s * 10)}') % of one core), resident memory $(( (qm_rss - min_rss) / 1024 )) MB ($((qm_rss - min_rss)) kB)"
