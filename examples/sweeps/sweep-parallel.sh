#!/usr/bin/env bash
# Runs the pit flow (pit.plst: resist, an 8 x 8 opening, an isotropic silicon etch, resist strip)
# once per etch depth with GNU parallel and collects the measurements into OUT/sweep.csv:
#
#     examples/sweeps/sweep-parallel.sh OUT [DEPTH...]      (default depths 1 to 6)
#
# CELVANE names the program (default build/celvane), JOBS the runs at a time (default one per
# core; each run uses one thread).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
celvane="${CELVANE:-$here/../../build/celvane}"
out="${1:?usage: sweep-parallel.sh OUT [DEPTH...]}"
shift
depths=("$@")
((${#depths[@]})) || depths=(1 2 3 4 5 6)
mkdir -p "$out"

# Step 4 of the list is the silicon etch; layer 9 is the top layer of the silicon.
parallel --halt now,fail=1 --jobs "${JOBS:-100%}" -q \
  "$celvane" --batch "$here/pit.plst" --set "4:Depth={}" --threads 1 \
  --cd "Si@9" --measure "$out/depth-{}.json" ::: "${depths[@]}"

"$here/collect.py" "$out"/depth-*.json > "$out/sweep.csv"
echo "$out/sweep.csv"
