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
# Valgrind decodes only the instructions its emulated CPU advertises. On CPUs whose hypervisor
# hides RDTSCP from CPUID, libhwy (loaded by FFmpeg's JPEG XL codec) still runs it while the
# libraries are initialised, before any code of ours: nothing can be checked there.
if grep -q "Unrecognised instruction" "$work/memcheck.log" &&
    grep -A1 "Unrecognised instruction" "$work/memcheck.log" | grep -q "in /usr/lib/"; then
    grep -A2 "Unrecognised instruction" "$work/memcheck.log"
    echo "SKIP: valgrind cannot run a system library's start-up on this CPU"
    exit 77
fi
grep -E "ERROR SUMMARY|definitely lost:|indirectly lost:|in use at exit" "$work/memcheck.log"
if [ "$status" -ne 0 ] || [ ! -s "$work/frame.png" ]; then
    cat "$work/memcheck.log"
    echo "FAIL: memcheck status $status"
    exit 1
fi
echo "ok: no memory errors, nothing of ours definitely lost"
