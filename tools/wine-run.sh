#!/usr/bin/env bash
# Runs a Windows test program under Wine for CTest. Now and then Wine ends a freshly started
# process at once, before it has printed a byte; a test program always prints something, so
# such a run is Wine's failure to start it, not the test's, and it is started once more.
# Any run that printed anything keeps its result, whatever it is.
out=$(mktemp "${TMPDIR:-/tmp}/qm-wine-run.XXXXXX")
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  wine "$@" >"$out" 2>&1
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ]; then break; fi
  echo "wine-run: $1 ended with $status before printing anything (attempt $attempt)" >&2
done
cat "$out"
exit "$status"
