#!/usr/bin/env bash
# Configures and builds one of the CMake presets (CMakePresets.json):
#   scripts/build.sh [--sanitize | --release] [TARGET...]
# default -> build/, --sanitize -> build-asan/, --release -> build-release/.
# With targets, builds only those (and what they need). A compiler launcher
# such as ccache is taken from CMAKE_CXX_COMPILER_LAUNCHER in the environment.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
case "${1:-}" in
--sanitize) preset=sanitize; shift ;;
--release) preset=release; shift ;;
esac
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" "${targets[@]}"
