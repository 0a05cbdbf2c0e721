#!/bin/bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each for a bounded time on
# a copy of its seed corpus (the corpus folders under fuzz/ stay as committed):
#   qm_fuzz_poolfile   the pool-file reader                 fuzz/corpus/
#   qm_fuzz_systemini  the screen saver line of system.ini  fuzz/corpus-systemini/
#   qm_fuzz_prefs      the stored preferences and counters  fuzz/corpus-prefs/
#   qm_fuzz_eventkeys  the sound randomizer over event keys fuzz/corpus-eventkeys/
#   qm_fuzz_exif       the EXIF orientation of a JPEG       fuzz/corpus-exif/
#
# Usage: tools/fuzz.sh [seconds [seconds-each]]   (from any directory)
#   seconds       the pool-file target's time (default 30)
#   seconds-each  each other target's time (default $QM_FUZZ_TARGET_SECONDS, else 10)
#
# Every target runs even when one before it failed. Exits 0 when none found anything, else
# with the libFuzzer exit code of the first that failed (a crash, a failed check, a leak, a
# timeout or running out of memory). The inputs that caused failures are kept under
# build/fuzz/crashes/, each name beginning with its target's.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build/fuzz"
CRASHES="$BUILD/crashes"
POOL_SECONDS=${1:-30}
EACH_SECONDS=${2:-${QM_FUZZ_TARGET_SECONDS:-10}}

for time in "$POOL_SECONDS" "$EACH_SECONDS"; do
  case "$time" in
    '' | *[!0-9]*) echo "fuzz: a time must be a whole number of seconds, not '$time'" >&2; exit 2 ;;
  esac
done
command -v clang++ >/dev/null 2>&1 || { echo "fuzz: clang++ not found" >&2; exit 2; }

# target, seconds, corpus folder under fuzz/, longest input
TARGETS=(
  "qm_fuzz_poolfile $POOL_SECONDS corpus 8192"
  "qm_fuzz_systemini $EACH_SECONDS corpus-systemini 4096"
  "qm_fuzz_prefs $EACH_SECONDS corpus-prefs 1024"
  "qm_fuzz_eventkeys $EACH_SECONDS corpus-eventkeys 4096"
  "qm_fuzz_exif $EACH_SECONDS corpus-exif 4096"
)

WORK=$(mktemp -d /tmp/qmfuzz.XXXXXX)
FUZZER_PID=
cleanup() {
  if [ -n "$FUZZER_PID" ] && kill -0 "$FUZZER_PID" 2>/dev/null; then
    kill "$FUZZER_PID" 2>/dev/null || true
    wait "$FUZZER_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Configure and build quietly; show the output only when a step fails.
if ! CXX=clang++ CC=clang cmake -S "$ROOT" -B "$BUILD" -DQM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >"$WORK/configure.log" 2>&1; then
  cat "$WORK/configure.log" >&2
  echo "fuzz: configuring $BUILD failed" >&2
  exit 1
fi
NAMES=()
for entry in "${TARGETS[@]}"; do NAMES+=("${entry%% *}"); done
if ! cmake --build "$BUILD" --target "${NAMES[@]}" -j"$(nproc)" >"$WORK/build.log" 2>&1; then
  cat "$WORK/build.log" >&2
  echo "fuzz: building the fuzz targets failed" >&2
  exit 1
fi
mkdir -p "$CRASHES"

# Runs one target; its exit code is libFuzzer's.
run_target() {
  local name=$1 seconds=$2 corpus=$3 max_len=$4 status
  local log="$WORK/$name.log"
  mkdir -p "$WORK/$corpus"
  cp "$ROOT/fuzz/$corpus"/* "$WORK/$corpus/"
  echo "fuzz: running $name for $seconds s on $(ls "$WORK/$corpus" | wc -l) seeds"

  # In the background so that an interrupted script can stop it (see cleanup).
  set +e
  "$BUILD/fuzz/$name" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$CRASHES/$name-" "$WORK/$corpus" >"$log" 2>&1 &
  FUZZER_PID=$!
  wait "$FUZZER_PID"
  status=$?
  FUZZER_PID=
  set -e

  if [ "$status" -eq 0 ]; then
    # The last status line, the closing line and the final statistics.
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
    grep -E '^Done [0-9]+ runs' "$log" || true
    grep -E '^stat::' "$log" || true
    echo "fuzz: $name found no failure"
  else
    # Everything from the first report of the failure on (sanitizer report, stack, input).
    awk '/^==[0-9]+==|fuzz check failed: |^ALARM|deadly signal|out-of-memory/ {on=1} on' "$log" >"$WORK/report.log"
    if [ -s "$WORK/report.log" ]; then head -n 150 "$WORK/report.log"; else tail -n 60 "$log"; fi
    echo "fuzz: $name FAILED (libFuzzer exit code $status); inputs kept in $CRASHES:" >&2
    ls -t "$CRASHES" | grep "^$name-" | head -n 5 >&2 || true
  fi
  return "$status"
}

FIRST_FAILURE=0
FAILED=()
for entry in "${TARGETS[@]}"; do
  # shellcheck disable=SC2086  # the entry's words are the arguments
  if run_target $entry; then :; else
    status=$?
    [ "$FIRST_FAILURE" -ne 0 ] || FIRST_FAILURE=$status
    FAILED+=("${entry%% *}")
  fi
done

if [ "$FIRST_FAILURE" -eq 0 ]; then
  echo "fuzz: no failure found in ${#TARGETS[@]} targets"
else
  echo "fuzz: FAILED: ${FAILED[*]}" >&2
fi
exit "$FIRST_FAILURE"
