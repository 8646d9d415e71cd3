#!/usr/bin/env bash
# How long a fresh Debian 12 machine takes from `scripts/play` to the demo's first frame: the
# packages it installs, the build and the start-up, for each git revision given, one after another.
#
#   bench/fresh_machine_first_frame.sh REVISION...      (as root; e.g. main~3 HEAD)
#
# Each revision's tree is copied (git archive) into a clean root from scripts/lib/debian-root, which
# downloads its packages from the Debian mirror like a new machine would. The demo draws into an
# Xvfb on this machine (1280x720, black until the demo's white title ground appears); the first
# frame is the first screenshot, taken every 0.25 s, whose centre is white.
# With WISP_BENCH_APT_ARCHIVES=DIR, downloaded packages are kept in DIR and reused by later runs,
# which leaves the mirror's speed out of the comparison.
set -euo pipefail
export LC_ALL=C # the figures printed and read back use a decimal point
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || { echo "usage: fresh_machine_first_frame.sh REVISION..." >&2; exit 2; }

display=:${WISP_BENCH_DISPLAY:-87}
work=$(mktemp -d /tmp/first-frame.XXXXXX)
Xvfb "$display" -br -nolisten tcp -noreset -screen 0 1280x720x24 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

now() { date +%s.%N; }
centre_is_white() {
    [ "$(import -display "$display" -window root png:- 2>/dev/null |
        convert png:- -format '%[fx:p{640,360}.r == 1 && p{640,360}.g == 1 && p{640,360}.b == 1]' \
            info: 2>/dev/null)" = 1 ]
}

results=()
for revision in "$@"; do
    commit=$(git rev-parse --short "$revision")
    rm -rf "$work/tree" && mkdir "$work/tree"
    git archive "$commit" | tar -x -C "$work/tree"
    log=$work/$commit.log
    echo "first-frame: $revision ($commit): scripts/play on a fresh Debian 12" >&2
    start=$(now)
    archives=()
    if [ -n "${WISP_BENCH_APT_ARCHIVES:-}" ]; then
        mkdir -p "$WISP_BENCH_APT_ARCHIVES/partial"
        archives=(--bind "$WISP_BENCH_APT_ARCHIVES:/var/cache/apt/archives")
    fi
    setsid scripts/lib/debian-root "${archives[@]}" --bind "$work/tree:/root/one-quill-wisp" \
        --bind /tmp/.X11-unix:/tmp/.X11-unix --env "DISPLAY=$display" --env SDL_AUDIODRIVER=dummy \
        -- bash -c 'cd /root/one-quill-wisp && scripts/play' \
        > >(while IFS= read -r line; do
                printf '%7.1f %s\n' "$(echo "$(now) - $start" | bc -l)" "$line"
            done >"$log") 2>&1 &
    play=$!
    frame=""
    while kill -0 $play 2>/dev/null; do
        if centre_is_white; then
            frame=$(echo "$(now) - $start" | bc -l)
            break
        fi
        sleep 0.25
    done
    kill -- -$play 2>/dev/null || true
    wait $play 2>/dev/null || true
    if [ -z "$frame" ]; then
        echo "first-frame: $revision: no frame; the log:" >&2
        tail -20 "$log" >&2
        results+=("$(printf '%-10s %-9s  no frame' "$revision" "$commit")")
        continue
    fi
    # Seconds since start at the last line matching a pattern, from the log's time stamps.
    at() { grep -E "$1" "$log" | tail -1 | awk '{print $1}'; }
    results+=("$(printf '%-10s %-9s %4d packages, set up at %6.1f s, built at %6.1f s, first frame at %6.1f s' \
        "$revision" "$commit" "$(grep -c 'Setting up ' "$log")" "$(at 'Setting up |Processing triggers')" \
        "$(at 'Built target one-quill-wisp')" "$frame")")
done
printf '%s\n' "${results[@]}"
