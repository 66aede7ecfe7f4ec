#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite. Widget tests need a display:
# without one the suite runs under a virtual X server with Mesa's software OpenGL. The widget
# tests that need no OpenGL then run once more without any X server (QT_QPA_PLATFORM=offscreen),
# where a dialog that waits for a real user would show at once.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CELVANE_BUILD_DIR:-$root/build}"
"$root/tools/setup.sh"
cd "$build"
if [ -z "${DISPLAY:-}" ]; then
  # -noreset: the server would otherwise reset whenever its last client leaves, refusing the
  # next test that connects at that moment.
  export LIBGL_ALWAYS_SOFTWARE=1
  xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" ctest --output-on-failure -j2 "$@"
else
  ctest --output-on-failure -j2 "$@"
fi
if [ "$#" -eq 0 ]; then
  env -u DISPLAY QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 -R '^UI_' -LE opengl
fi
