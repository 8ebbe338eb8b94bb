#!/bin/bash
# Builds the character sound decoder's fuzzer with clang (address + undefined
# sanitizers) and runs it for a bounded time, seeded with small WAVE files.
#   run-wave-fuzzer.sh [seconds] [work folder]
set -euo pipefail
seconds=${1:-60}
work=${2:-/tmp/wave-fuzz}
here=$(cd "$(dirname "$0")" && pwd)
decoder="$(cd "$here/../.." && pwd)/platform/agent/sound"
cxx=${CLANGXX:-clang++}
binary="$work/wave_fuzzer"

mkdir -p "$work/corpus" "$work/artifacts"
# Without clang's fuzzer runtime there is nothing to run: 77 tells CTest to skip.
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
    "$cxx" -x c++ -fsanitize=fuzzer,address,undefined - -o "$work/probe" 2> "$work/probe.log"; then
    echo "skipped: $cxx cannot build libFuzzer targets (see $work/probe.log)"
    exit 77
fi
sources=("$here/wave_fuzzer.cpp" "$decoder/wavedecoder.cpp")
if [[ ! -x "$binary" ]] || [[ -n "$(find "${sources[@]}" "$decoder/wavedecoder.h" -newer "$binary")" ]]; then
    "$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I "$decoder" "${sources[@]}" -o "$binary"
fi
cp -n "$here"/corpus/wave/* "$work/corpus/" 2>/dev/null || true
exec "$binary" "$work/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1
