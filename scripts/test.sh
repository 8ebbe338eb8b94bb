#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
#   scripts/test.sh              preset default: warnings as errors, into build/
#                                (the same build scripts/run.sh uses)
#   scripts/test.sh --sanitize   preset sanitize: address and undefined
#                                behaviour sanitizers, into build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

preset=default
build_flags=()
if [ "${1:-}" = "--sanitize" ]; then
    preset=sanitize
    build_flags=(--sanitize)
fi
scripts/build.sh "${build_flags[@]}"

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
ctest --preset "$preset"
