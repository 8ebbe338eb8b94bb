#!/bin/bash
# Runs a Qt test program on the X11 platform against its own Xvfb.
#   onxvfb.sh PROGRAM [ARGS...]
# Exit: the program's, or 77 (skipped) without Xvfb.
set -u
command -v Xvfb >/dev/null 2>&1 || { echo "SKIP: Xvfb is not installed"; exit 77; }
WORK=$(mktemp -d)
chmod 700 "$WORK"
. "$(cd "$(dirname "$0")" && pwd)/../xvfb.bash"
trap 'stop_xvfb; rm -rf "$WORK"' EXIT
trap 'exit 1' INT TERM

start_xvfb "$WORK" || exit 1
export XDG_RUNTIME_DIR=$WORK QT_QPA_PLATFORM=xcb
# libxkbcommon-x11 hands out strings that end at their length, not at a NUL.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
"$@"
