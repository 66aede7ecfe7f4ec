#!/usr/bin/env bash
# Fuzzes the document reader (or, with "processlist", the process-list reader and its steps)
# with libFuzzer (needs clang and its runtime, Debian's clang and libclang-rt-dev).
# Usage: tools/fuzz.sh [SECONDS] [document|processlist]  (default 60, document)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-60}"
case "${2:-document}" in
  document) target=fuzz_readdocument; seeds="$root/fuzz/corpus" ;;
  processlist) target=fuzz_readprocesslist; seeds="$root/fuzz/corpus-processlist" ;;
  *) echo "usage: $0 [SECONDS] [document|processlist]" >&2; exit 2 ;;
esac
CXX=clang++ CC=clang cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCELVANE_FUZZ=ON -DCELVANE_BUILD_TESTS=OFF -DCELVANE_BUILD_BENCH=OFF
cmake --build "$build" --target "$target"
corpus="$build/corpus-$target"
mkdir -p "$corpus"
cp -n "$seeds"/* "$corpus"/
cd "$build"
exec ./fuzz/"$target" -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=20 "$corpus"
