#!/usr/bin/env bash
# The capture command as a user meets it: bad arguments are refused with one line and status 2
# before anything is created; a write failure is one line and status 1; SIGINT and SIGTERM stop
# an export with 130 and 143; none of these leaves a file behind. A good run writes the file
# with progress off a terminal at most once per tenth, on a terminal in place, then a summary.
set -uo pipefail
capture=$(realpath "$1")
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
failures=0 checks=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
no_files_left() { [ -z "$(ls -A "$work/out")" ]; }

# expect STATUS ARGUMENTS...: the run ends with STATUS, one stderr line besides any progress
# lines, and no file.
expect() {
    local want=$1
    shift
    checks=$((checks + 1))
    rm -rf "$work/out" && mkdir "$work/out"
    (cd "$work/out" && "$capture" "$@") 2>"$work/err" >/dev/null
    local status=$? lines
    lines=$(grep -vc '%' "$work/err")
    if [ "$status" -ne "$want" ] || [ "$lines" -ne 1 ] || ! no_files_left; then
        fail "'$*' gave status $status (not $want), $lines stderr lines, files: $(ls "$work/out")"
        cat "$work/err"
    fi
}

expect 2 --out a.png --time 1 --size 0x360
expect 2 --out a.png --time 1 --size 100000x360
expect 2 --out a.png --time -0.5 --size 64x36
expect 2 --out a.png --time soon --size 64x36
expect 2 --out a.png --time 114 --size 64x36
expect 2 --out a.mp4 --size 65x36
expect 2 --out a.mp4 --fps 0
expect 2 --out a.mkv --from nan
expect 2 --out a.mkv --from 10 --to 5
expect 2 --out a.mkv --to 115
expect 2 --out a.wav --size 64x36
expect 2 --out a.mkv --quality 10
expect 2 --out a.gif
expect 2 --out a.mp4 --fps 30 --fps 30
expect 2 --out no/such/folder/a.mkv
expect 2 --out .  # a folder
expect 2 --out a.mkv --size 16384x16384 # beyond what a video frame may hold

# A file size limit makes writing fail part-way: status 1, nothing left.
(
    trap '' XFSZ # the write itself fails, instead of the signal ending the process
    ulimit -f 64 # blocks of 512 bytes
    expect 1 --out big.mkv --size 320x180 --fps 30 --from 20 --to 30
    exit "$failures"
)
failures=$((failures + $?)) checks=$((checks + 1))

# Interrupted exports: status 128 + signal, nothing left.
for signal in INT TERM; do
    checks=$((checks + 1))
    rm -rf "$work/out" && mkdir "$work/out"
    # Emptied here, not only by the child's redirection: a '%' left from the last run would have
    # the signal sent before the child has become the capture, and a subshell ended by a signal
    # runs this script's EXIT trap.
    : >"$work/err"
    (cd "$work/out" && exec "$capture" --out show.mkv --size 64x36 --fps 240) 2>"$work/err" &
    pid=$!
    for _ in $(seq 600); do # wait for the export to be under way, up to a minute
        grep -q '%' "$work/err" && break
        sleep 0.1
    done
    kill -s "$signal" "$pid"
    wait "$pid"
    status=$?
    want=$([ "$signal" = INT ] && echo 130 || echo 143)
    if [ "$status" -ne "$want" ] || ! no_files_left; then
        fail "SIG$signal gave status $status (not $want), files: $(ls "$work/out")"
        cat "$work/err"
    fi
done
pid=

# Good runs: a frame, and a clip with its progress and summary.
checks=$((checks + 1))
rm -rf "$work/out" && mkdir "$work/out"
if ! "$capture" --time 19 --size 96x72 --out "$work/out/frame.png"; then
    fail "a good capture failed"
elif ! identify -format '%w %h %[channels]\n' "$work/out/frame.png" | grep -qx '96 72 srgb'; then
    fail "the frame is not a 96x72 RGB PNG: $(identify "$work/out/frame.png")"
fi
checks=$((checks + 1))
if ! "$capture" --out "$work/out/clip.webm" --size 64x36 --fps 20 --to 1 2>"$work/err"; then
    fail "a good export failed"; cat "$work/err"
else
    progress=$(grep -c '%' "$work/err")
    if [ "$progress" -lt 1 ] || [ "$progress" -gt 10 ] || ! tail -n 1 "$work/err" | grep -q 'wrote .*clip.webm: 20 frames'; then
        fail "progress off a terminal is not one line per tenth and a summary:"; cat "$work/err"
    fi
fi
[ "$(ls -A "$work/out")" = "$(printf 'clip.webm\nframe.png')" ] || fail "files left: $(ls -A "$work/out")"

# On a terminal the progress is one line redrawn in place, then the summary on its own line.
checks=$((checks + 1))
script -qec "$capture --out $work/out/tty.mkv --size 64x36 --fps 20 --to 1" /dev/null >"$work/tty" ||
    fail "an export on a terminal failed"
if ! grep -q $'\r100% 20/20 frames' "$work/tty" || [ "$(grep -c 'wrote ' "$work/tty")" -ne 1 ] ||
    [ "$(grep -c '%' "$work/tty")" -ne 1 ]; then
    fail "progress on a terminal is not one line redrawn in place:"; cat -A "$work/tty"
fi

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
