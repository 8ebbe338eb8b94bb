#!/bin/bash
# Times how long the engine takes from loading a character file to painting
# its first frame on an X display (its own Xvfb), median of RUNS runs.
#   measurefirstframe.sh BUILD_DIR [RUNS] [IMAGES]
# A Release build gives the figure that matters.
set -euo pipefail
BUILD=${1:?build directory}
RUNS=${2:-21}
IMAGES=${3:-600}
WORK=$(mktemp -d)
trap 'kill $XPID 2>/dev/null; wait $XPID 2>/dev/null; rm -rf "$WORK"' EXIT

"$BUILD/bin/agent_write_character" "$WORK/large.acs" "$IMAGES"
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XPID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -1 "$WORK/display") XDG_RUNTIME_DIR=$WORK

measure() {
    for _ in $(seq "$RUNS"); do
        dbus-run-session -- "$BUILD/bin/acsview" --measure "$@" 2>/dev/null | awk '/first frame/ {print $4}'
    done | sort -n | awk '{a[NR]=$1} END {printf "median %.2f ms, min %.2f, max %.2f (%d runs)\n", a[int((NR+1)/2)], a[1], a[NR], NR}'
}
echo "file with $IMAGES images: $(measure "$WORK/large.acs")"
echo "default character:      $(measure)"
