#!/bin/bash
# Builds the .acs fuzzer with clang (address + undefined sanitizers, decoder
# sources compiled in) and runs it for a bounded time on a copy of the seeds.
#   run-acs-fuzzer.sh [seconds] [work folder]
# Inputs that crash are left in <work folder>/artifacts; copy them to
# tests/fuzz/regressions/ so the decoder tests replay them.
set -euo pipefail
seconds=${1:-60}
work=${2:-/tmp/acs-fuzz}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
decoder="$root/platform/agent/acs"
cxx=${CLANGXX:-clang++}
binary="$work/acs_fuzzer"

mkdir -p "$work/corpus" "$work/artifacts"
# Without clang's fuzzer runtime there is nothing to run: 77 tells CTest to skip.
probe="$work/probe.cpp"
echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' > "$probe"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe" -o "$work/probe" 2> "$work/probe.log"; then
    echo "skipped: $cxx cannot build libFuzzer targets (see $work/probe.log)"
    exit 77
fi
sources=("$here/acs_fuzzer.cpp" "$decoder"/*.cpp)
if [[ ! -x "$binary" ]] || [[ -n "$(find "${sources[@]}" "$decoder"/*.h -newer "$binary")" ]]; then
    "$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I "$decoder" "${sources[@]}" -o "$binary"
fi
cp -n "$here"/corpus/acs/* "$work/corpus/" 2>/dev/null || true
if compgen -G "$here/regressions/*" > /dev/null; then
    cp -n "$here"/regressions/* "$work/corpus/"
fi
exec "$binary" "$work/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1
