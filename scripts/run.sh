#!/usr/bin/env bash
# Installs what is missing, builds what running needs (the two programs, the
# balloon component, the character engine) and starts fennick (arguments go
# to it). scripts/test.sh later builds the rest in the same build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh fennick morrowby vellixballoon
exec build/bin/fennick "$@"
