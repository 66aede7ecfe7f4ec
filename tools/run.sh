#!/usr/bin/env bash
# Sets everything up, builds, and starts Celvane.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The program and its layout reader only: the tests and benchmarks are not needed to run it.
"$root/tools/setup.sh" celvane celvane-gdsread
exec "${CELVANE_BUILD_DIR:-$root/build}/celvane" "$@"
