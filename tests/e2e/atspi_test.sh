#!/bin/sh
# Gives atspi_test.py a display and an accessibility bus of its own: atspi_test.sh <backgammon>
# Exits 77 (skipped) where Xvfb, the session bus or the bus launcher is missing.
launcher=/usr/libexec/at-spi-bus-launcher
command -v xvfb-run >/dev/null && command -v dbus-run-session >/dev/null && [ -x "$launcher" ] \
    && [ -x /usr/bin/python3 ] || exit 77
here=$(dirname "$0")
exec xvfb-run -a -s '-screen 0 1024x768x24' dbus-run-session -- sh -c '
    "$0" --launch-immediately & launcher=$!
    /usr/bin/python3 "$1" "$2"; status=$?
    kill $launcher
    exit $status' "$launcher" "$here/atspi_test.py" "$1"
