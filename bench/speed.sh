#!/usr/bin/env bash
# The demo's speed in one run, for the README's performance section: mean frame time of each
# scene (as drawn now, the literal shaders of bench/baseline, and a white quad) at 1280x720 and
# 1920x1080, then start-up, the cut and quitting of the real executable at 320x180.
#   bench/speed.sh [BUILD_DIR] [DEMO]     (defaults: build/test and its one-quill-wisp)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
demo=${2:-$build/one-quill-wisp}
cmake --build "$build" --target frame_times demo_timings frame_probe one-quill-wisp >/dev/null
echo "Mesa: $(glxinfo -B 2>/dev/null | grep -m1 'OpenGL renderer' || echo llvmpipe), $(nproc) cores"
echo
xvfb-run -a -s "-noreset -screen 0 1920x1080x24" "$build/bench/frame_times" 1280x720 1920x1080
echo
echo "Start-up, the cut and quitting at 320x180 (ms), $demo:"
echo
xvfb-run -a -s "-noreset -screen 0 320x180x24" "$build/bench/demo_timings" "$demo" \
    "$build/bench/frame_probe.so" 3
