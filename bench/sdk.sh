#!/usr/bin/env bash
# The SDK's two figures, each against a baseline measured in the same run,
# interleaved in pairs (bench/pairs.py):
#   1. `fennick --verify --list` (no display) against `fennick --version`,
#      the same program start doing nothing. Goal: under 1 s.
#   2. the template's CTest (one test per check, ctest -j2) against one
#      `fennick --verify` run over the same component.
#   bench/sdk.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HARNESS_COMPONENT_PATH= XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
program=$build/bin/fennick

read -r ours base ratio low high _ < <(python3 "$source/bench/pairs.py" 20 2 \
    env -u DISPLAY -u QT_QPA_PLATFORM "$program" --verify --list -- env -u DISPLAY -u QT_QPA_PLATFORM "$program" --version)
printf '%-40s %10s %10s %7s   %s\n' figure ours baseline ratio goal
printf '%-40s %10s %10s %7s   %s\n' "--verify --list, no display (ms)" "$ours" "$base" "$ratio" "< 1000 ms"
echo "  (baseline: --version, the same start doing nothing; ratio spread $low..$high over 20 pairs)"

cmake --install "$build" --prefix "$work/prefix" >/dev/null
cp -r "$source/examples/template" "$work/template"
cmake -S "$work/template" -B "$work/template/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/template/build" >/dev/null
tests=$(ctest --test-dir "$work/template/build" -N | sed -n 's/^Total Tests: //p')
component=$work/template/build
read -r ours base ratio low high _ < <(python3 "$source/bench/pairs.py" "$runs" 1 \
    ctest --test-dir "$work/template/build" -j2 -- "$work/prefix/bin/fennick" --component "$component" --verify)
printf '%-40s %10s %10s %7s   %s\n' "template ctest -j2, $tests tests (ms)" "$ours" "$base" "$ratio" "-"
echo "  (baseline: one --verify run of every check; ratio spread $low..$high over $runs pairs)"
