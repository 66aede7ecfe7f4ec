#!/usr/bin/env bash
# Sets everything up, builds, and starts Celvane.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh"
exec "${CELVANE_BUILD_DIR:-$root/build}/celvane" "$@"
