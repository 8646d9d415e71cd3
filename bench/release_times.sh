#!/usr/bin/env bash
# The time scripts/release takes, per download, cold and warm: both runs in a fresh clone of this
# repository's HEAD (uncommitted changes left out), the first with empty dependency caches
# (XDG_CACHE_HOME pointed at an empty folder: the static SDL2, SDL2_image, GLEW and DUMB builds
# for Linux, Windows and the browser are made again), the second with everything the first left.
# Emscripten's own system-library cache and the Debian packages apt installs are not cleared.
#   bench/release_times.sh [WORK_DIR]   (default: a temporary folder, removed afterwards)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-}
if [ -z "$work" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"
rm -rf "$work/clone" "$work/cache"
git clone -q "$source_dir" "$work/clone"
mkdir "$work/cache"

# One run: its release lines (FILE BYTES bytes SECONDS s) into $work/NAME.times.
run() { # run NAME
    local begun
    begun=$(date +%s)
    echo "bench: scripts/release, $1 ..." >&2
    XDG_CACHE_HOME=$work/cache "$work/clone/scripts/release" 2>"$work/$1.err" >"$work/$1.out" ||
        { cat "$work/$1.err" >&2; exit 1; }
    sed -n 's/^release: \([^ ]*\) *\([0-9]*\) bytes *\([0-9.]*\) s$/\1 \3/p' "$work/$1.out" \
        >"$work/$1.times"
    echo "total $(($(date +%s) - begun))" >>"$work/$1.times"
}
run cold
run warm

echo "scripts/release on $(nproc) cores, $(date -u +%Y-%m-%d), seconds per download:"
echo
printf '| %-46s | %8s | %8s |\n' download cold warm
printf '|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..48})" ---------- ----------
awk 'NR == FNR { warm[$1] = $2; next }
     { printf "| %-46s | %8s | %8s |\n", $1, $2, warm[$1] }' "$work/warm.times" "$work/cold.times"
