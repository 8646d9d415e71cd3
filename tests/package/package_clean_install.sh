#!/usr/bin/env bash
# Installs the packages with `apt install ./FILE.deb` into a clean Debian 12 root, which fetches
# their dependencies from the mirror, and runs the programs there: `one-quill-wisp --version`,
# the player for a few seconds on an X server of this machine, and one captured frame.
#   package_clean_install.sh SOURCE_DIR DEB_DIR PACKAGE...
# Exit status 77 (skipped) where this machine cannot make a clean root: the test is not run as
# root.
set -uo pipefail
source_dir=$1 debs=$2
shift 2
cache=${WISP_DEBIAN_ROOT_CACHE:-/var/cache/one-quill-wisp}
# The cache below needs root; scripts/lib/debian-root names any tool this machine lacks.
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: a clean Debian root needs root"
    exit 77
fi
work=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null; rm -rf "$work"' EXIT

# An X server of our own, on a display it picks itself, for the player to draw into; it does not
# reset between clients, which would refuse one that connects meanwhile.
exec 3>"$work/display"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 640x360x24 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=:$(cat "$work/display")

debfiles=()
for package in "$@"; do debfiles+=("./$(basename "$(ls "$debs/${package}"_*.deb)")"); done

# Downloaded dependencies are kept between runs, outside the root; one apt at a time uses them.
mkdir -p "$cache/apt-archives/partial"
cat >"$work/in-root.sh" <<'INNER'
set -u
cd /mnt/debs
if ! apt-get update -qq; then echo "FAIL: cannot reach the Debian mirror"; exit 1; fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/tmp/apt.log 2>&1 ||
    { tail -30 /tmp/apt.log; echo "FAIL: apt install $*"; exit 1; }
failures=0
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
version=$(one-quill-wisp --version 2>&1)
status=$?
packaged=$(dpkg-query -W -f '${Version}' one-quill-wisp)
check "one-quill-wisp --version exits 0 and says one-quill-wisp $packaged (status $status: $version)" \
    test "$status" = 0 -a "$version" = "one-quill-wisp $packaged"
# Still playing after four seconds: the installed libraries gave it a window and a GL context.
SDL_AUDIODRIVER=dummy timeout 4 one-quill-wisp >/tmp/play.log 2>&1
status=$?
check "one-quill-wisp plays until stopped (status $status: 124 is stopped by timeout)" \
    test "$status" = 124 || cat /tmp/play.log
if command -v one-quill-wisp-capture >/dev/null; then
    check "one-quill-wisp-capture renders a frame offscreen" \
        one-quill-wisp-capture --time 10 --size 64x36 --out /tmp/frame.png
    check "the frame is a PNG file" \
        bash -c '[ "$(head -c 8 /tmp/frame.png | od -An -tx1 | tr -d " \n")" = 89504e470d0a1a0a ]'
fi
echo "$failures failures"
[ "$failures" -eq 0 ]
INNER

flock "$cache/apt-archives.lock" "$source_dir/scripts/lib/debian-root" \
    --bind "$debs:/mnt/debs" --bind "$cache/apt-archives:/var/cache/apt/archives" \
    --bind /tmp/.X11-unix:/tmp/.X11-unix --bind "$work:/mnt/work" --env "DISPLAY=$display" \
    -- bash /mnt/work/in-root.sh "${debfiles[@]}"
