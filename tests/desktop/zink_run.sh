#!/usr/bin/env bash
# Renders moments of the show with the capture tool through a second GL shader compiler, Mesa's
# zink on the lavapipe Vulkan driver, and compares each with the same frame through llvmpipe, the
# compiler that every other test uses.
#   zink_run.sh CAPTURE FRAME_COMPARE TIME...
# Each TIME (demo seconds) is rendered at 1280x720. A ray-marched ball's silhouette may fall on
# the other side of a pixel centre in the other compiler's float arithmetic: a handful of pixels
# (at most 9 seen) may differ by more than 1/255, never 0.01 % of them.
set -uo pipefail
capture=$1 frame_compare=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/checks.sh"

for time in "$@"; do
    mkdir "$work/$time"
    # zink writes the SPIR-V it makes of each shader into the working folder: proof that it, and
    # not llvmpipe, compiled this run's shaders.
    (cd "$work/$time" && LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=zink ZINK_DEBUG=spirv \
        "$capture" --time "$time" --size 1280x720 --out zink.png >/dev/null 2>"$work/err")
    status=$?
    modules=$(find "$work/$time" -name '*.spv' | wc -l)
    check "at $time s zink on lavapipe renders the frame (status $status) and compiles the shaders ($modules SPIR-V modules)" \
        [ "$status" = 0 -a "$modules" -gt 0 ]
    LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe "$capture" --time "$time" --size 1280x720 \
        --out "$work/$time/llvmpipe.png" 2>"$work/err"
    verdict=$("$frame_compare" "$work/$time/zink.png" "$work/$time/llvmpipe.png" \
        "$work/$time/diff.png" 1 0.0001)
    check "and it is llvmpipe's within 1/255 but for 0.01 % of the pixels: $verdict" [ $? = 0 ]
done
summary
