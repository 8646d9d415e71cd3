#!/usr/bin/env bash
# Holds two moments of the show (the title at 10 s, the metaballs and greetings at 68 s) on a
# display of one size, under Xvfb started by the caller at that size, and checks that the screen
# equals the capture tool's frame for that moment and size, bands included, within the picture
# tests' tolerance.
#   display_match.sh WIDTHxHEIGHT DEMO CAPTURE FRAME_COMPARE
set -uo pipefail
size=$1 demo=$2 capture=$3 frame_compare=$4
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/checks.sh"

for time in 10 68; do
    SDL_AUDIODRIVER=dummy "$demo" --still "$time" 2>"$work/err" &
    pid=$!
    # The screen matches once the demo has started and drawn; a busy machine gets a minute. The
    # capture renders offscreen, beside the demo's window.
    SDL_VIDEODRIVER=offscreen await_frame root_shot "$time" "$size"
    matched=$?
    check "$size at $time s matches the capture: $(cat "$work/verdict" 2>/dev/null)" [ $matched = 0 ]
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [ $matched != 0 ]; then
        kept=${TMPDIR:-/tmp}/display_match_${size}_${time}s
        mkdir -p "$kept" && cp "$work"/*.png "$kept"/ 2>/dev/null && echo "  frames kept in $kept"
    fi
done
summary
