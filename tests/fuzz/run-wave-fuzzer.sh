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

. "$here/fuzzer-common.bash"
require_libfuzzer
sources=("$here/wave_fuzzer.cpp" "$decoder/wavedecoder.cpp")
if [[ ! -x "$binary" ]] || [[ -n "$(find "${sources[@]}" "$decoder/wavedecoder.h" -newer "$binary")" ]]; then
    "$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I "$decoder" "${sources[@]}" -o "$binary"
fi
cp -n "$here"/corpus/wave/* "$work/corpus/" 2>/dev/null || true
run_fuzzer "$binary" "$seconds"
