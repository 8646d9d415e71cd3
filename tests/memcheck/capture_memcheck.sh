#!/usr/bin/env bash
# One capture under valgrind's memcheck: no memory errors and no block definitely lost, apart
# from what the suppressions file shows to lie inside the GL driver.
#   capture_memcheck.sh CAPTURE SUPPRESSIONS
set -uo pipefail
capture=$1 suppressions=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

SDL_VIDEODRIVER=offscreen valgrind --tool=memcheck --error-exitcode=3 --leak-check=full \
    --show-leak-kinds=definite --errors-for-leak-kinds=definite --keep-debuginfo=yes \
    --num-callers=40 --suppressions="$suppressions" --log-file="$work/memcheck.log" \
    "$capture" --time 68 --size 160x90 --out "$work/frame.png"
status=$?
grep -E "ERROR SUMMARY|definitely lost:|indirectly lost:|in use at exit" "$work/memcheck.log"
if [ "$status" -ne 0 ] || [ ! -s "$work/frame.png" ]; then
    cat "$work/memcheck.log"
    echo "FAIL: memcheck status $status"
    exit 1
fi
echo "ok: no memory errors, nothing of ours definitely lost"
