#!/bin/sh
# Gives atspi_test.py a display and an accessibility bus of its own: atspi_test.sh <backgammon>
# Exits 77 (skipped) where Xvfb, the session bus or the bus launcher is missing.
exec sh "$(dirname "$0")/desktop_session.sh" "$(dirname "$0")/atspi_test.py" "$1"
