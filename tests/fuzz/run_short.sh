#!/bin/sh
# A short fuzzing run as part of the tests: builds the fuzz targets with clang's libFuzzer and
# the address and undefined-behaviour sanitizers (in build-fuzz, beside the normal build), then
# runs one target for a few seconds. Long runs are made by hand the same way.
#   run_short.sh SOURCE_DIR TARGET SECONDS
set -eu
src=$1 target=$2 seconds=$3
cd "$src"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target "$target" >/dev/null
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
exec "build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -artifact_prefix="$corpus/" "$corpus"
