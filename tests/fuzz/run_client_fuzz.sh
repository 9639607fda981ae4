#!/bin/sh
# Builds the client fuzzer in the "fuzz" preset and runs it for a short while.
# usage: run_client_fuzz.sh <source dir> <seconds>
# Exits 77 (skipped) when clang is not installed.
set -e
src=$1
secs=${2:-15}
command -v clang++-14 >/dev/null 2>&1 || exit 77
cd "$src"
[ -f build-fuzz/CMakeCache.txt ] || cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target client_fuzz >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp tests/fuzz/client_corpus/* "$work"/
cd "$work"
"$src/build-fuzz/tests/fuzz/client_fuzz" -max_total_time="$secs" -print_final_stats=1 \
  -max_len=4096 "$work"
