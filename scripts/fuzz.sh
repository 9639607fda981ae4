#!/bin/sh
# Builds every libFuzzer target (clang-14, address and undefined-behaviour sanitizers, in
# build-fuzz) and runs each one in turn for the given number of seconds from its seed folder.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 60 seconds, every target
# A crash stops the script and leaves the input that caused it in fuzz-artifacts/<target>/.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
command -v clang++-14 >/dev/null 2>&1 || { echo "clang-14 is needed (apt-get install clang-14 libclang-rt-14-dev)" >&2; exit 2; }

targets="$*"
if [ -z "$targets" ]; then
    for f in tests/fuzz/*_fuzz.cpp; do
        targets="$targets $(basename "$f" .cpp)"
    done
fi

[ -f build-fuzz/CMakeCache.txt ] || cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target $targets

for t in $targets; do
    corpus="fuzz-corpus/$t" artifacts="fuzz-artifacts/$t"
    mkdir -p "$corpus" "$artifacts"
    seeds="tests/fuzz/${t%_fuzz}_corpus"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    echo "== $t: $seconds s"
    "build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus"
done
echo "every target ran $seconds s without a crash:$targets"
