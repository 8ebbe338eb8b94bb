#!/bin/bash
# Runs one end-to-end scenario against a built harness program on its own
# Xvfb, its own D-Bus session and its own accessibility bus.
#   e2e.sh SCENARIO PROGRAM ARTIFACT_DIR [ACS_WRITER]
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
SCENARIO=${1:?usage: e2e.sh SCENARIO PROGRAM ARTIFACT_DIR [ACS_WRITER]}
PROGRAM=$(readlink -f "${2:?program}")
ARTIFACTS=${3:?artifact folder}
ACS_WRITER=${4:-}
HERE=$(cd "$(dirname "$0")" && pwd)
# Bounds the whole session, whatever hangs; CTest's own timeout is longer.
SESSION_SECONDS=${E2E_SESSION_SECONDS:-75}

for tool in Xvfb dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher xdotool import convert timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: /usr/bin/python3 cannot import pyatspi (python3-pyatspi)"
    exit 77
fi

WORK=$(mktemp -d -t e2e-"$SCENARIO".XXXXXX)
mkdir -p "$WORK/config" "$WORK/runtime"
chmod 700 "$WORK/runtime"
# Throwaway per-run folders: the accessibility bus socket, dconf and Qt's
# runtime folder land here, never under $HOME, and nothing carries over.
export XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
# The real X platform and the bundled balloon component, whatever the caller's environment says.
export QT_QPA_PLATFORM=xcb HARNESS_COMPONENT_PATH=
unset QT_ACCESSIBILITY SESSION_MANAGER
# In a sanitizer build: libxkbcommon-x11, which only the X platform loads, hands
# strndup() strings that end at their length, not at a NUL, and strict string
# checks report that as an overflow at start-up.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"

. "$HERE/../xvfb.bash"
cleanup() {
    stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

start_xvfb "$WORK" || exit 1

# timeout signals its whole process group: the session bus, the
# accessibility bus and its registry, the driver and the programs it started.
timeout --kill-after=5 "$SESSION_SECONDS" dbus-run-session -- \
    "$HERE/session.sh" "$SCENARIO" "$PROGRAM" "$WORK" "$ARTIFACTS" "$ACS_WRITER"
RC=$?
[ "$RC" -eq 0 ] && exit 0

# The driver keeps what it saw when a check fails; a session that hung or
# died did not get that far.
if [ "$RC" -ge 124 ]; then
    echo "FAIL: the session did not end within $SESSION_SECONDS s (exit $RC)"
    mkdir -p "$ARTIFACTS"
    timeout 10 import -window root "$ARTIFACTS/screen.png" 2>/dev/null && echo "screenshot: $ARTIFACTS/screen.png"
    for kept in "$WORK"/*.jsonl "$WORK"/*.log; do
        [ -e "$kept" ] || continue
        cp "$kept" "$ARTIFACTS/" && echo "kept: $ARTIFACTS/$(basename "$kept")"
    done
    last=$(ls -t "$WORK"/*.jsonl 2>/dev/null | head -n1)
    [ -n "$last" ] && { echo "--- tail of $(basename "$last") ---"; tail -n 25 "$last"; }
fi
exit 1
