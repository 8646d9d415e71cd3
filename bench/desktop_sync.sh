#!/usr/bin/env bash
# Picture against sound on a desktop's sound server: runs the desktop tests' driver
# (tests/desktop/sound_server_run.sh) RUNS times in MODE, with 20 moments a run from 38.5 to 88 s
# of the show, and prints each run's moments, its sound faults and the figures of all runs
# together: picture minus sound (ms), median and range. Run by hand after building the test
# preset (and scripts/windows for wine); the machine's load is the caller's.
#   bench/desktop_sync.sh MODE [RUNS [PLAYER]]
# MODE: pulseaudio | pipewire | pulseaudio_large | wine (the driver's modes that play a live run)
# PLAYER: the player to measure (default build/test/one-quill-wisp, for wine
#         build/windows/one-quill-wisp.exe): a player built another way, for example.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C # the figures printed and read back use a decimal point
mode=${1:?usage: bench/desktop_sync.sh MODE [RUNS [PLAYER]]} runs=${2:-1}
build=build/test
player=${3:-$build/one-quill-wisp}
# Wine frames a window of its own: its player runs fullscreen on a screen of the capture's size.
screen=1280x720
if [ "$mode" = wine ]; then
    player=${3:-build/windows/one-quill-wisp.exe}
    screen=640x360
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for run in $(seq "$runs"); do
    echo "run $run of $runs: $mode, $player" >&2
    WISP_SYNC_MOMENTS=20 tests/e2e/with_xvfb.sh "$screen" tests/desktop/sound_server_run.sh \
        "$mode" "$player" "$build/one-quill-wisp-capture" "$build/tests/desktop/server_probe" \
        >"$work/out" 2>&1 || true
    grep -E 'reports|faults|of silence|sound at|picture minus sound|^FAIL' "$work/out" || true
    # Only the first live run of a mode (pulseaudio adds one with --audio-delay).
    sed -n "s/^$mode: sound at .*: \([-+0-9]*\) ms$/\1/p" "$work/out" >>"$work/moments"
done
[ -s "$work/moments" ] || { echo "desktop_sync: no moment was measured" >&2; exit 1; }
sort -g "$work/moments" | awk '{ v[NR] = $1 } END {
    printf "%d moments: picture minus sound median %+.0f ms, from %+.0f to %+.0f ms\n",
        NR, (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2, v[1], v[NR] }'
