#!/usr/bin/env bash
# Frame times of the Windows build under Wine against the Linux build, at 1280x720, side by side:
# bench/frame_times built both ways, run in turn on the same Xvfb screen (Mesa's llvmpipe under
# both), twice each, alternating, so that the machine's load falls on both alike.
#   bench/wine_frame_times.sh [BUILD_DIR]     (default build/test; the Windows build is made by
#                                              scripts/windows --bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
scripts/windows --bench >&2
cmake --build "$build" --target frame_times >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Screen rows of frame_times' table ("| 1280x720 | title | now | literal | floor | ..."), tagged;
# and the CPU seconds the run took (the program with all its threads, and the X server), which
# moves much less than the frame times with the machine's load.
run() { # run TAG COMMAND...
    local tag=$1
    shift
    { TIMEFORMAT="$tag %U %S"; time xvfb-run -a -s "-screen 0 1280x720x24" "$@" 1280x720 \
        >"$work/out" 2>"$work/err"; } 2>>"$work/cpu"
    tr -d '\r' <"$work/out" |
        awk -F'|' -v tag="$tag" '$3 ~ /title|metaballs/ { gsub(/ /, ""); print tag, $3, $4, $6 }'
}
for round in 1 2; do
    echo "round $round of 2" >&2
    run linux "$build/bench/frame_times" >>"$work/rows"
    run wine scripts/lib/wine build/windows/frame_times.exe >>"$work/rows"
done

echo "Mesa: llvmpipe, $(nproc) cores; Wine $(WINEDEBUG=-all wine --version | sed 's/^wine-//')"
echo
echo "Mean frame time (ms) at 1280x720 over demo times every 2 s of each scene, the mean of two"
echo "runs each; the floor is a white quad"
echo
echo "| scene | Linux | Windows under Wine | Wine / Linux | floor, Linux | floor, Wine |"
echo "|---|---:|---:|---:|---:|---:|"
for scene in title metaballs; do
    awk -v s="$scene" '$2 == s { n[$1]++; now[$1] += $3; floor[$1] += $4 }
        END { l = now["linux"] / n["linux"]; w = now["wine"] / n["wine"]
              printf "| %s | %.2f | %.2f | %.2f | %.2f | %.2f |\n", s, l, w, w / l,
                     floor["linux"] / n["linux"], floor["wine"] / n["wine"] }' "$work/rows"
done
echo
echo "CPU time of a whole run (both scenes, every kind of draw, start-up; the program and Xvfb):"
awk '{ n[$1]++; cpu[$1] += $2 + $3 }
    END { l = cpu["linux"] / n["linux"]; w = cpu["wine"] / n["wine"]
          printf "Linux %.1f s, Windows under Wine %.1f s, Wine / Linux %.2f\n", l, w, w / l }' \
    "$work/cpu"
