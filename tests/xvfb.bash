# Sourced by test runners that need an X server of their own.
#   start_xvfb WORK_DIR   starts Xvfb on a free display, sets XPID and exports
#                         DISPLAY; prints why and returns 1 if it did not start
#   stop_xvfb             stops it and waits until it is gone

start_xvfb() {
    local work=$1
    # -displayfd: the server picks a free display and writes its number once it
    # accepts connections. -noreset: no server reset when the last client leaves,
    # which made a client connecting at that moment fail.
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    XPID=$!
    for _ in $(seq 200); do
        [ -s "$work/display" ] && break
        kill -0 "$XPID" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -s "$work/display" ]; then
        echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"
        return 1
    fi
    export DISPLAY=:$(head -n1 "$work/display")
}

stop_xvfb() {
    [ -n "${XPID:-}" ] || return 0
    kill "$XPID" 2>/dev/null
    # A dying server can unlink the socket of the next run's server on the same display.
    wait "$XPID" 2>/dev/null
    XPID=
}
