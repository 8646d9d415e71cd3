#!/usr/bin/env bash
# Plays the demo on Wayland, in Weston 10 with its x11 back end and pixman renderer, whose one
# 1280x720 output is a window on the X display this runs in (with_xvfb.sh). Weston listens in a
# runtime folder of its own, which no other client finds. The player, held at a moment, goes
# fullscreen on that output and shows the capture's frame; Escape, typed into Weston's window,
# ends it with status 0.
#   wayland_run.sh DEMO CAPTURE FRAME_COMPARE
set -uo pipefail
demo=$1 capture=$2 frame_compare=$3
work=$(mktemp -d)
trap 'kill ${pid:-} ${weston:-} 2>/dev/null; wait; rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/checks.sh"

export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=wisp
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --use-pixman --width=1280 --height=720 --no-config \
    --idle-time=0 --socket="$WAYLAND_DISPLAY" >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 600); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || ! kill -0 "$weston" 2>/dev/null && break
    sleep 0.1
done
if ! check "Weston listens on its own socket" [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; then
    cat "$work/weston.log"
fi

# Without DISPLAY the player has no X to fall back on.
env -u DISPLAY SDL_VIDEODRIVER=wayland "$demo" --still 12.7 --mute 2>"$work/err" &
pid=$!
check_frame "fullscreen on Weston's 1280x720 output, it shows the capture's frame at 12.7 s" \
    root_shot 12.7 1280x720
quit
check "Escape typed into Weston's window ends it with status 0 (got $status)" [ "$status" = 0 ]
summary
