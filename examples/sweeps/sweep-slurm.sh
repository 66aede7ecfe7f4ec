#!/usr/bin/env bash
#SBATCH --job-name=celvane-pit-sweep
#SBATCH --array=0-5
#SBATCH --ntasks=1
#SBATCH --cpus-per-task=1
#SBATCH --time=00:10:00
#SBATCH --output=celvane-sweep-%A_%a.out
#
# The pit sweep of sweep-parallel.sh as a Slurm job array: task i runs the pit flow with the
# i-th etch depth. Submit it from the repository root (where build/celvane is):
#
#     sbatch examples/sweeps/sweep-slurm.sh
#
# Every task adds its measurements to SWEEP_OUT (default sweep/) and rebuilds
# SWEEP_OUT/sweep.csv from all results so far, so the last task to end leaves the whole table.
# To try one task without Slurm:  SLURM_ARRAY_TASK_ID=2 examples/sweeps/sweep-slurm.sh
set -euo pipefail

depths=(1 2 3 4 5 6) # one per task of --array=0-5

# Slurm runs a copy of this script from its spool folder: find the files from where it was
# submitted.
root="${SLURM_SUBMIT_DIR:-$PWD}"
sweeps="$root/examples/sweeps"
celvane="${CELVANE:-$root/build/celvane}"
out="${SWEEP_OUT:-$root/sweep}"
task="${SLURM_ARRAY_TASK_ID:?not set: submit with sbatch, or set it by hand to run one task}"
if ! [[ "$task" =~ ^[0-9]+$ ]] || ((task >= ${#depths[@]})); then
  echo "sweep-slurm.sh: task $task has no depth (tasks 0 to $((${#depths[@]} - 1)))" >&2
  exit 2
fi
depth="${depths[$task]}"
mkdir -p "$out"

"$celvane" --batch "$sweeps/pit.plst" --set "4:Depth=$depth" \
  --threads "${SLURM_CPUS_PER_TASK:-1}" --cd "Si@9" --measure "$out/depth-$depth.json"

# One task at a time rewrites the table, from every result written so far.
(
  flock 9
  "$sweeps/collect.py" "$out"/depth-*.json > "$out/sweep.csv.part"
  mv "$out/sweep.csv.part" "$out/sweep.csv"
) 9> "$out/.collect.lock"
