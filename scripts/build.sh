#!/usr/bin/env bash
# Configures and builds one of the CMake presets (CMakePresets.json):
#   scripts/build.sh [--sanitize | --release] [TARGET...]
# default -> build/, --sanitize -> build-asan/, --release -> build-release/.
# With targets, builds only those (and what they need). A compiler launcher
# from CMAKE_CXX_COMPILER_LAUNCHER in the environment, else ccache if installed.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
case "${1:-}" in
--sanitize) preset=sanitize; shift ;;
--release) preset=release; shift ;;
esac
targets=()
for target in "$@"; do targets+=(--target "$target"); done
# A compiler cache, when the machine has one, makes rebuilds of a fresh
# clone cheap; an explicit launcher in the environment wins.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" "${targets[@]}"
