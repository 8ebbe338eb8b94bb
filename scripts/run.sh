#!/usr/bin/env bash
# Installs what is missing, builds, and starts fennick (arguments go to it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/fennick "$@"
