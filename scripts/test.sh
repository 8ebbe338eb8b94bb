#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
#   scripts/test.sh              normal build, warnings as errors, into build/
#   scripts/test.sh --sanitize   address and undefined sanitizers, into build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=build-asan BUILD_TYPE=Debug
    flags=(-DHARNESS_WERROR=ON -DHARNESS_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    export BUILD_DIR=build
    flags=(-DHARNESS_WERROR=ON)
fi
scripts/build.sh "${flags[@]}"

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2
