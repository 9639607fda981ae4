#!/bin/sh
# Gives a test script a display and an accessibility bus of its own:
#   desktop_session.sh SCRIPT ARGS...
# Exits 77 (skipped) where Xvfb, the session bus or the bus launcher is missing.
launcher=/usr/libexec/at-spi-bus-launcher
command -v xvfb-run >/dev/null && command -v dbus-run-session >/dev/null && [ -x "$launcher" ] \
    && [ -x /usr/bin/python3 ] || exit 77
# Each run starts its display search at a number of its own, so parallel runs never race for one.
exec xvfb-run -a -n $(($$ % 500 + 100)) -s '-screen 0 1280x1024x24' dbus-run-session -- sh -c '
    launcher=$1; shift
    "$launcher" --launch-immediately & pid=$!
    /usr/bin/python3 "$@"; status=$?
    kill $pid
    exit $status' sh "$launcher" "$@"
