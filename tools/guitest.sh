#!/usr/bin/env bash
# Runs one widget test. A virtual X server may refuse a connection for a moment (for example
# while it resets after its last client left); only such a failed start is retried, every other
# failure is reported as it is.
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
for attempt in 1 2 3; do
  "$@" >"$log" 2>&1
  rc=$?
  if [ "$rc" -ne 0 ] && [ "$attempt" -lt 3 ] && grep -q "could not connect to display" "$log"; then
    echo "guitest: no display connection on attempt $attempt, retrying" >&2
    sleep 1
    continue
  fi
  cat "$log"
  exit "$rc"
done
