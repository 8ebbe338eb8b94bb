#!/bin/bash
# Builds the fuzzer of the harness-host messages with clang (address +
# undefined sanitizers) and runs it for a bounded time.
#   run-wire-fuzzer.sh [seconds] [work folder]
set -euo pipefail
seconds=${1:-60}
work=${2:-/tmp/wire-fuzz}
here=$(cd "$(dirname "$0")" && pwd)
root="$(cd "$here/../.." && pwd)"
wire="$root/platform/hosting/wire"
cxx=${CLANGXX:-clang++}
binary="$work/wire_fuzzer"

. "$here/fuzzer-common.bash"
require_libfuzzer
sources=("$here/wire_fuzzer.cpp" "$wire/framing.cpp" "$wire/wirecodec.cpp")
if [[ ! -x "$binary" ]] || [[ -n "$(find "${sources[@]}" "$wire"/*.h -newer "$binary")" ]]; then
    # shellcheck disable=SC2046 # pkg-config's words are separate flags
    "$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer -fPIC \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII -I "$root" "${sources[@]}" \
        $(pkg-config --cflags --libs Qt6Gui) -o "$binary"
fi
# A seed: one call with a by-reference Long, framed.
printf '\x13\x00\x00\x00\x01\x01\x00\x00\x00\x01\x00\x00\x00\x13\x00\x03\x60\x00\x01\x00\x00\x00\x01\x02\x05' \
    > "$work/corpus/call-seed"
# Another: a release of handle 1, handed out twice, framed.
printf '\x09\x00\x00\x00\x04\x01\x00\x00\x00\x02\x00\x00\x00' > "$work/corpus/release-seed"
run_fuzzer "$binary" "$seconds"
