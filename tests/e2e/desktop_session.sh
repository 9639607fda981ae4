#!/bin/sh
# Gives a test script a display and an accessibility bus of its own:
#   desktop_session.sh SCRIPT ARGS...
# Exits 77 (skipped) where Xvfb, the session bus or the bus launcher is missing.
launcher=/usr/libexec/at-spi-bus-launcher
command -v Xvfb >/dev/null && command -v dbus-run-session >/dev/null && [ -x "$launcher" ] \
    && [ -x /usr/bin/python3 ] || exit 77

# Each run asks for a display number drawn at random and tries another if that one is
# taken. Letting the server search from :0 itself is not safe: servers starting side by
# side probe each other's sockets, and a client may find its display briefly gone.
# The server names its display on the pipe once it accepts connections.
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
mkfifo "$dir/display"
number=
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    candidate=$(( $(od -An -N2 -tu2 /dev/urandom) % 30000 + 100 ))
    Xvfb ":$candidate" -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 \
        3>"$dir/display" 2>"$dir/xvfb.log" &
    xvfb=$!
    read -r number <"$dir/display"
    [ -n "$number" ] && break
    wait "$xvfb" 2>/dev/null
done
if [ -z "$number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
fi

DISPLAY=":$number" dbus-run-session -- sh -c '
    launcher=$1; shift
    "$launcher" --launch-immediately & pid=$!
    /usr/bin/python3 "$@"; status=$?
    kill $pid
    exit $status' sh "$launcher" "$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
