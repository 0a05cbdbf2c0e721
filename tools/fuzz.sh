#!/bin/bash
# Builds the libFuzzer target of the pool-file reader with clang into build/fuzz and runs it
# for a bounded time on a copy of the seed corpus (fuzz/corpus/ stays as committed).
#
# Usage: tools/fuzz.sh [seconds]      (default 30; from any directory)
#
# Exits with libFuzzer's exit code: 0 when nothing was found, non-zero on a crash, a
# failed check, a leak, a timeout or running out of memory. The input that caused it is
# kept under build/fuzz/crashes/.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build/fuzz"
CRASHES="$BUILD/crashes"
SECONDS_TO_RUN=${1:-30}

case "$SECONDS_TO_RUN" in
  '' | *[!0-9]*) echo "fuzz: the time must be a whole number of seconds, not '$SECONDS_TO_RUN'" >&2; exit 2 ;;
esac
command -v clang++ >/dev/null 2>&1 || { echo "fuzz: clang++ not found" >&2; exit 2; }

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
if ! cmake --build "$BUILD" --target qm_fuzz_poolfile -j"$(nproc)" >"$WORK/build.log" 2>&1; then
  cat "$WORK/build.log" >&2
  echo "fuzz: building qm_fuzz_poolfile failed" >&2
  exit 1
fi

mkdir -p "$CRASHES" "$WORK/corpus"
cp "$ROOT"/fuzz/corpus/* "$WORK/corpus/"
echo "fuzz: running qm_fuzz_poolfile for $SECONDS_TO_RUN s on $(ls "$WORK/corpus" | wc -l) seeds"

# In the background so that an interrupted script can stop it (see cleanup).
set +e
"$BUILD/fuzz/qm_fuzz_poolfile" -max_total_time="$SECONDS_TO_RUN" -max_len=8192 -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$CRASHES/" "$WORK/corpus" >"$WORK/fuzz.log" 2>&1 &
FUZZER_PID=$!
wait "$FUZZER_PID"
STATUS=$?
FUZZER_PID=
set -e

if [ "$STATUS" -eq 0 ]; then
  # The last status line, the closing line and the final statistics.
  grep -E '^#[0-9]+[[:space:]]+DONE' "$WORK/fuzz.log" | tail -n 1 || true
  grep -E '^Done [0-9]+ runs' "$WORK/fuzz.log" || true
  grep -E '^stat::' "$WORK/fuzz.log" || true
  echo "fuzz: no failure found"
else
  # Everything from the first report of the failure on (sanitizer report, stack, input).
  awk '/^==[0-9]+==|^pool-file fuzz check failed|^ALARM|deadly signal|out-of-memory/ {on=1} on' \
    "$WORK/fuzz.log" >"$WORK/report.log"
  if [ -s "$WORK/report.log" ]; then head -n 150 "$WORK/report.log"; else tail -n 60 "$WORK/fuzz.log"; fi
  echo "fuzz: FAILED (libFuzzer exit code $STATUS); inputs kept in $CRASHES:" >&2
  ls -t "$CRASHES" | head -n 5 >&2 || true
fi
exit "$STATUS"
