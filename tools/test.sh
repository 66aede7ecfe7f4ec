#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite. Widget tests need a display:
# without one the suite runs under a virtual X server with Mesa's software OpenGL.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CELVANE_BUILD_DIR:-$root/build}"
"$root/tools/setup.sh"
cd "$build"
if [ -z "${DISPLAY:-}" ]; then
  # -noreset: the server would otherwise reset whenever its last client leaves, refusing the
  # next test that connects at that moment.
  export LIBGL_ALWAYS_SOFTWARE=1
  exec xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" ctest --output-on-failure -j2 "$@"
fi
exec ctest --output-on-failure -j2 "$@"
