#!/usr/bin/env bash
# Runs a command inside a fresh Xvfb server of the given screen size, which picks its own free
# display number (-displayfd), so that servers started at the same time never share one. The
# server never resets: by default an X server resets when its last client leaves, and a client
# that connects meanwhile (the demo, while a test's xdotool or xwininfo has just left) is refused.
#   with_xvfb.sh WIDTHxHEIGHT COMMAND ARGS...
set -uo pipefail
size=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$fifo"' EXIT
# The server writes its display number once it accepts connections.
if ! read -r -t 60 display <"$fifo"; then
    echo "with_xvfb: Xvfb did not start" >&2
    exit 1
fi
DISPLAY=:$display "$@"
