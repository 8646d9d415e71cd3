#!/usr/bin/env bash
# Times exports with the capture tool: for each SIZE, the given stretch of the show at FPS
# frames a second into a FORMAT file, with wall and CPU time, the ratio of wall time to the
# stretch's own length, and the file's size. Run by hand, on an otherwise quiet machine:
#   bench/export_time.sh build/test/one-quill-wisp-capture "1280x720 1920x1080" 30 mp4 [FROM TO]
set -euo pipefail
export LC_ALL=C # the figures printed and read back use a decimal point
capture=$1 sizes=${2:-1280x720} fps=${3:-30} format=${4:-mp4} from=${5:-0} to=${6:-114}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%-10s %4s %-5s %9s %9s %8s %9s %9s\n' size fps file "show s" "wall s" "x show" "CPU s" "MB"
for size in $sizes; do
    out=$work/show.$format
    /usr/bin/time -f '%e %U %S' -o "$work/time" \
        "$capture" --out "$out" --size "$size" --fps "$fps" --from "$from" --to "$to" 2>/dev/null
    read -r wall user system <"$work/time"
    printf '%-10s %4s %-5s %9.2f %9.1f %8.2f %9.1f %9.1f\n' "$size" "$fps" "$format" \
        "$(echo "$to - $from" | bc -l)" "$wall" "$(echo "$wall / ($to - $from)" | bc -l)" \
        "$(echo "$user + $system" | bc -l)" "$(echo "$(stat -c %s "$out") / 1000000" | bc -l)"
done
