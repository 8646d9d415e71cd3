#!/usr/bin/env bash
# The capture command: bad arguments are refused with one line and status 2, leaving no file;
# a good call writes an RGB PNG of the requested size.
set -uo pipefail
capture=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect_refusal() {
    local out=$1
    shift
    "$capture" "$@" --out "$out" 2>"$work/err"
    local status=$?
    local lines
    lines=$(wc -l <"$work/err")
    if [ "$status" -ne 2 ] || [ "$lines" -ne 1 ] || [ -e "$out" ] || [ -e "$out.partial" ]; then
        echo "FAIL: '$*' gave status $status, $lines stderr lines:"; cat "$work/err"
        failures=$((failures + 1))
    fi
}

expect_refusal "$work/a.png" --time 1 --size 0x360
expect_refusal "$work/a.png" --time 1 --size 640x0
expect_refusal "$work/a.png" --time 1 --size 100000x360
expect_refusal "$work/a.png" --time -0.5 --size 64x36
expect_refusal "$work/a.png" --time soon --size 64x36
expect_refusal "$work/no/such/folder/a.png" --time 1 --size 64x36

if ! "$capture" --time 19 --size 96x72 --out "$work/frame.png"; then
    echo "FAIL: a good capture failed"; failures=$((failures + 1))
elif ! identify -format '%w %h %[channels]\n' "$work/frame.png" | grep -qx '96 72 srgb'; then
    echo "FAIL: the frame is not a 96x72 RGB PNG:"; identify "$work/frame.png"
    failures=$((failures + 1))
fi
[ -e "$work/frame.png.partial" ] && { echo "FAIL: temporary file left behind"; failures=$((failures + 1)); }

echo "$((8 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
