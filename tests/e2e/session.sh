#!/bin/bash
# Inside the scenario's own D-Bus session: the accessibility bus, then the driver.
#   session.sh SCENARIO PROGRAM WORK_DIR ARTIFACT_DIR ACS_WRITER
set -u
: "${DISPLAY:?}" "${DBUS_SESSION_BUS_ADDRESS:?}"
# Qt only watches for org.a11y.Bus and never starts it itself.
/usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
LAUNCHER=$!
# Wait for it to own its name, or the driver's first look would activate a second one.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.05
done
/usr/bin/python3 "$(dirname "$0")/drive.py" "$@"
RC=$?
kill "$LAUNCHER" 2>/dev/null
wait "$LAUNCHER" 2>/dev/null
exit $RC
