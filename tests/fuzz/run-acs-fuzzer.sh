#!/bin/bash
# Builds the .acs fuzzer with clang (the acs_fuzzer target of tests/fuzz, with
# address and undefined sanitizers) and runs it on a copy of the seeds.
#   run-acs-fuzzer.sh [seconds] [work folder] [extra libFuzzer options...]
# e.g. run-acs-fuzzer.sh 0 /tmp/acs-fuzz -runs=10000000   (a fixed number of runs)
# Inputs that crash are left in <work folder>/artifacts; copy them to
# tests/fuzz/regressions/ so the decoder tests replay them.
set -euo pipefail
seconds=${1:-60}
work=${2:-/tmp/acs-fuzz}
shift $(($# < 2 ? $# : 2))
here=$(cd "$(dirname "$0")" && pwd)
cxx=${CLANGXX:-clang++}
build="$work/build"

mkdir -p "$work/corpus" "$work/artifacts"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$cxx" >"$work/configure.log" 2>&1 || {
    cat "$work/configure.log"
    exit 1
}
# Without clang's fuzzer runtime there is nothing to run: 77 tells CTest to skip.
if ! grep -q '^HARNESS_CAN_BUILD_FUZZERS:INTERNAL=1' "$build/CMakeCache.txt"; then
    echo "skipped: $cxx cannot build libFuzzer targets"
    exit 77
fi
cmake --build "$build" --target acs_fuzzer >"$work/build.log" 2>&1 || {
    cat "$work/build.log"
    exit 1
}
cp -n "$here"/corpus/acs/* "$work/corpus/" 2>/dev/null || true
if compgen -G "$here/regressions/*" >/dev/null; then
    cp -n "$here"/regressions/* "$work/corpus/"
fi
time_limit=()
[[ "$seconds" != 0 ]] && time_limit=(-max_total_time="$seconds")
# Inputs stay small (the seeds are a few kilobytes) so that each run is quick.
exec "$build/acs_fuzzer" "$work/corpus" "${time_limit[@]}" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -dict="$here/acs.dict" -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@"
