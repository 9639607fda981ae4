#!/bin/sh
# A short fuzzing run as part of the tests: builds a fuzz target with clang's libFuzzer and the
# address and undefined-behaviour sanitizers (in build-fuzz, beside the normal build), then runs
# it for a few seconds from its seed folder, if it has one. Long runs are made by hand the same
# way. Exits 77 (skipped) when clang is not installed; a finding fails the test (libFuzzer's own
# exit code for one is 77 as well, which ctest would read as skipped).
#   run_short.sh SOURCE_DIR TARGET SECONDS
set -eu
src=$1 target=$2 seconds=${3:-15}
command -v clang++-14 >/dev/null 2>&1 || exit 77
cd "$src"
[ -f build-fuzz/CMakeCache.txt ] || cmake --preset fuzz >/dev/null
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
# Quiet when it builds; the whole log when it does not, so a failure says why.
cmake --build build-fuzz --target "$target" >"$corpus/build.log" 2>&1 || { cat "$corpus/build.log"; exit 1; }
rm -f "$corpus/build.log"
seeds="tests/fuzz/${target%_fuzz}_corpus"
[ -d "$seeds" ] && cp "$seeds"/* "$corpus"/
findings="build-fuzz/findings/$target"
mkdir -p "$findings"
# A finding is kept beside the build and shown in the log, since the corpus folder goes.
"build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -error_exitcode=1 -timeout_exitcode=1 -artifact_prefix="$findings/" "$corpus" || {
    for f in "$findings"/*; do [ -f "$f" ] && { echo "--- $f"; od -A d -c "$f" | head -n 60; }; done
    exit 1
}
