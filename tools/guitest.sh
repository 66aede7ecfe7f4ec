#!/usr/bin/env bash
# Runs one widget test. A virtual X server may refuse a connection for a moment (for example
# while it resets after its last client left); only such a failed start is retried, every other
# failure is reported as it is.
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# Under the address sanitizer Mesa's software driver is preloaded, so it stays loaded until the
# leak check: the memory it keeps by design is then attributed to it, and tools/lsan.supp
# suppresses it, instead of to an unknown, already unloaded module.
preload=""
asan="$(ldd "$1" 2>/dev/null | awk '/libasan/ {print $3; exit}')"
dri="$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)"
if [ -n "$asan" ] && [ -n "$dri" ]; then
  preload="$asan $dri"
fi
for attempt in 1 2 3; do
  env ${preload:+LD_PRELOAD="$preload"} "$@" >"$log" 2>&1
  rc=$?
  if [ "$rc" -ne 0 ] && [ "$attempt" -lt 3 ] && grep -q "could not connect to display" "$log"; then
    echo "guitest: no display connection on attempt $attempt, retrying" >&2
    sleep 1
    continue
  fi
  cat "$log"
  exit "$rc"
done
