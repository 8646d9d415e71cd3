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
failures=0

now() { date +%s.%N; }
before() { [ "$(echo "$(now) < $1" | bc -l)" = 1 ]; }

for time in 10 68; do
    SDL_VIDEODRIVER=offscreen "$capture" --time "$time" --size "$size" --out "$work/capture.png" ||
        { echo "FAIL: cannot capture $time s at $size"; failures=$((failures + 1)); continue; }
    SDL_AUDIODRIVER=dummy "$demo" --still "$time" 2>"$work/err" &
    pid=$!
    # The screen matches once the demo has started and drawn; a busy machine gets a minute.
    deadline=$(echo "$(now) + 60" | bc -l)
    matched=1
    while kill -0 "$pid" 2>/dev/null && before "$deadline"; do
        if import -window root "$work/screen.png" 2>/dev/null &&
            "$frame_compare" "$work/screen.png" "$work/capture.png" "$work/diff.png" \
                >"$work/verdict"; then
            matched=0
            break
        fi
        sleep 0.5
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [ "$matched" = 0 ]; then
        echo "ok: $size at $time s matches the capture: $(cat "$work/verdict")"
    else
        echo "FAIL: $size at $time s differs from the capture: $(cat "$work/verdict" 2>/dev/null)"
        cat "$work/err"
        kept=${TMPDIR:-/tmp}/display_match_${size}_${time}s
        mkdir -p "$kept" && cp "$work"/*.png "$kept"/ 2>/dev/null && echo "  frames kept in $kept"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ]
