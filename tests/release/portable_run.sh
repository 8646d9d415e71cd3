#!/usr/bin/env bash
# Checks the portable Linux player (scripts/linux-portable, in PORTABLE_DIR) against this build:
# the program's needs as a file, and the player unpacked from its archive into a clean minimal
# Debian root that holds only libgl1, libgl1-mesa-dri and libx11-6 with their dependencies,
# drawing on the Xvfb screen the caller started (1280x720) through /tmp/.X11-unix.
#   portable_run.sh CASE PORTABLE_DIR SOURCE_DIR PLAYER CAPTURE FRAME_COMPARE SOUND_MATCH
# CASE: binary (no display) | bookworm | trixie (the Debian release of the root)
# Exit status 77 (skipped) when no clean root can be made here; a missing build fails.
set -uo pipefail
case=$1 dir=$2 source_dir=$3 player=$4 capture=$5 frame_compare=$6 sound_match=$7
work=$(mktemp -d)
# The root's processes are the started one's process group.
trap '[ -z "${pid:-}" ] || kill -- -"$pid" 2>/dev/null; rm -rf "$work"' EXIT
source "$source_dir/tests/e2e/checks.sh"

version=$("$player" --version | sed -n 's/^one-quill-wisp //p')
name=one-quill-wisp-$version-linux-x86_64
program=$dir/one-quill-wisp
if [ ! -f "$program" ] || [ ! -f "$dir/$name.tar.gz" ]; then
    echo "FAIL: no portable build of $version in $dir (scripts/linux-portable makes it)"
    exit 1
fi

case $case in
binary)
    # What it needs of the system: glibc's own libraries, GL and X11.
    needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
    echo "needs: $needed"
    glibc='^(libc\.so\.6|libm\.so\.6|libdl\.so\.2|libpthread\.so\.0|librt\.so\.1|ld-linux-x86-64\.so\.2)$'
    others=$(tr ' ' '\n' <<<"$needed" | grep -vE "$glibc|^libGL\.so\.1$|^libX11\.so\.6$|^$")
    check "needs only glibc, libGL.so.1 and libX11.so.6 (others: ${others:-none})" \
        test -n "$needed" -a -z "$others"
    # The newest glibc symbol version it asks for decides the oldest system it runs on.
    objdump -T "$program" | grep -o 'GLIBC_[0-9.]*' | sort -uV >"$work/versions"
    newest=$(tail -n 1 "$work/versions")
    newer=$(objdump -T "$program" |
        awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^\(?GLIBC_/) print $i, $NF }' | tr -d '()' |
        awk -F'[ _]' '{ split($2, v, "."); if (v[1] > 2 || (v[1] == 2 && v[2] > 35)) print }' |
        tr '\n' ' ')
    check "asks for no glibc symbol newer than GLIBC_2.35 (newest $newest; newer: ${newer:-none})" \
        test -n "$newest" -a -z "$newer"
    check "carries no C++ run-time library of the system" \
        bash -c "! readelf -d '$program' | grep -qE 'libstdc\+\+|libgcc_s'"
    # The archive: one folder of the player, its texts, the desktop entry and icons.
    mkdir "$work/unpacked"
    tar -xzf "$dir/$name.tar.gz" -C "$work/unpacked"
    files=$(cd "$work/unpacked" && find . -type f | sed 's|^\./||' | sort)
    for file in one-quill-wisp README LICENSE one-quill-wisp.desktop \
        icons/hicolor/256x256/apps/one-quill-wisp.png; do
        check "the archive holds $name/$file" grep -qx "$name/$file" <<<"$files"
    done
    check "its player is the one built, executable" \
        bash -c "cmp -s '$work/unpacked/$name/one-quill-wisp' '$program' && [ -x '$work/unpacked/$name/one-quill-wisp' ]"
    check "its README names the version, the options and the one-user install" \
        bash -c "grep -q '$version' '$work/unpacked/$name/README' && grep -q -- '--still T' '$work/unpacked/$name/README' && grep -q '~/.local/share/applications' '$work/unpacked/$name/README'"
    ;;
bookworm | trixie)
    # Each run is a fresh copy-on-write layer over the cached root, the archive unpacked outside.
    mkdir -p "$work/unpacked" "$work/out"
    tar -xzf "$dir/$name.tar.gz" -C "$work/unpacked"
    # shellcheck disable=SC2054 # the packages are one comma-separated argument
    root=("$source_dir/scripts/lib/debian-root" --suite "$case" --variant minbase
        --packages libgl1,libgl1-mesa-dri,libx11-6 --bind "$work/unpacked/$name:/opt/wisp"
        --bind /tmp/.X11-unix:/tmp/.X11-unix --bind "$work/out:/mnt/out" --env "DISPLAY=$DISPLAY")
    # Starts the player in the root in the background, in a process group of its own.
    start() { # start [NAME=VALUE]... -- ARGUMENTS...
        local envs=()
        while [ "$1" != -- ]; do envs+=(--env "$1"); shift; done
        shift
        setsid "${root[@]}" "${envs[@]}" -- /opt/wisp/one-quill-wisp "$@" \
            >"$work/stdout" 2>"$work/err" &
        pid=$!
    }

    "${root[@]}" -- /opt/wisp/one-quill-wisp --version >"$work/version" 2>"$work/err"
    status=$?
    cat "$work/err"
    # 77: this machine cannot make a clean Debian root (not root).
    if [ "$status" = 77 ]; then echo "skipped: a clean Debian root needs root"; exit 77; fi
    "${root[@]}" -- sh -c 'cat /etc/debian_version; ls /usr/lib/x86_64-linux-gnu | grep -ciE "sdl|glew|dumb"' \
        >"$work/about" 2>/dev/null
    echo "Debian $(head -n 1 "$work/about") root"
    check "the root holds no SDL, GLEW or DUMB library" [ "$(sed -n 2p "$work/about")" = 0 ]
    check "--version exits 0 (got $status) printing what this build's player prints" \
        bash -c "[ $status = 0 ] && \"$player\" --version | cmp -s - '$work/version'"

    start -- --still 70
    check_held 70 1280x720 8 0.01
    start SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/mnt/out/audio.raw --
    check_plays_module "$work/out/audio.raw" 20
    ;;
*)
    echo "unknown case $case" >&2
    exit 2
    ;;
esac

summary
