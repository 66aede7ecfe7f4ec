#!/usr/bin/env bash
# Fuzzes the readers of outside files with libFuzzer (needs clang and its runtime, Debian's
# clang and libclang-rt-dev), one target after the other.
# Usage: tools/fuzz.sh [SECONDS] [TARGET...]   (default 60 seconds each, every target:
# fuzz_readdocument, fuzz_readcatalogs, fuzz_loadmask, fuzz_readlayout, fuzz_readprocesslist)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_readdocument fuzz_readcatalogs fuzz_loadmask fuzz_readlayout fuzz_readprocesslist)
CXX=clang++ CC=clang cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCELVANE_FUZZ=ON -DCELVANE_BUILD_TESTS=OFF -DCELVANE_BUILD_BENCH=OFF
cmake --build "$build" --target "${targets[@]}"
for target in "${targets[@]}"; do
  case "$target" in
    # Long enough for a document type with entities or a tag with hundreds of attributes.
    fuzz_readdocument) seeds=corpus; maxlen=65536 ;;
    fuzz_readcatalogs) seeds=corpus-catalogs; maxlen=65536 ;;
    fuzz_loadmask) seeds=corpus-masks; maxlen=16384 ;;
    fuzz_readlayout) seeds=corpus-layouts; maxlen=16384 ;;
    fuzz_readprocesslist) seeds=corpus-processlist; maxlen=65536 ;;
    *) echo "unknown target $target" >&2; exit 2 ;;
  esac
  corpus="$build/$seeds"
  mkdir -p "$corpus"
  cp -n "$root/fuzz/$seeds"/* "$corpus"/
  (cd "$build" && QT_QPA_PLATFORM=offscreen "./fuzz/$target" -max_total_time="$seconds" \
    -max_len="$maxlen" -rss_limit_mb=4096 -timeout=20 "$corpus")
done
