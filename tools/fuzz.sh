#!/usr/bin/env bash
# Fuzzes the document reader with libFuzzer (needs clang and its runtime, Debian's
# clang and libclang-rt-dev). Usage: tools/fuzz.sh [SECONDS]  (default 60)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-60}"
CXX=clang++ CC=clang cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCELVANE_FUZZ=ON -DCELVANE_BUILD_TESTS=OFF -DCELVANE_BUILD_BENCH=OFF
cmake --build "$build" --target fuzz_readdocument
corpus="$build/corpus"
mkdir -p "$corpus"
cp -n "$root"/fuzz/corpus/* "$corpus"/
cd "$build"
exec ./fuzz/fuzz_readdocument -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=20 "$corpus"
