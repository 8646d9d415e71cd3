#!/usr/bin/env bash
# Checks the Windows player and its release zip (scripts/windows, in WINDOWS_DIR) against the
# Linux build: the executable and the zip as files, and the player run under Wine on the Xvfb
# screen the caller started (1280x720).
#   windows_run.sh CASE WINDOWS_DIR LINUX_PLAYER CAPTURE FRAME_COMPARE SOUND_MATCH
# CASE: binary | zip (no display) | options | start_failures | still_title | still_greetings | live
# A missing Windows build or Wine fails the case.
set -uo pipefail
case=$1 dir=$2 linux=$3 capture=$4 frame_compare=$5 sound_match=$6
exe=$dir/one-quill-wisp.exe
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/checks.sh"

if [ ! -f "$exe" ]; then
    echo "FAIL: no Windows build in $dir (scripts/windows makes it)"
    exit 1
fi
version=$("$linux" --version | sed -n 's/^one-quill-wisp //p')

# Wine runs in the project's cached prefix (scripts/lib/wine); the trap ends its wineserver.
wine=$(cd "$(dirname "$0")/../.." && pwd)/scripts/lib/wine
if [[ $case != binary && $case != zip ]]; then
    if ! command -v wine >/dev/null; then
        echo "FAIL: no Wine (scripts/setup windows installs it)"
        exit 1
    fi
    WINEPREFIX=$("$wine" --prefix) || exit 1
    export WINEPREFIX
fi

# Starts a command in the background, its output kept in $work/out and $work/err.
start() {
    env "$@" 2>"$work/err" >"$work/out" &
    pid=$!
}

# --still T fullscreen: the screen at the desktop's size equals the Linux capture of moment T.
still() { # still T
    start "$wine" "$exe" --still "$1"
    await_window
    check "fullscreen fills the 1280x720 desktop (got $(window_place))" \
        [ "$(window_place)" = 1280x720+0+0 ]
    check_held "$1" 1280x720 2 0.001
}

case $case in
binary)
    objdump=x86_64-w64-mingw32-objdump
    command -v $objdump >/dev/null || { echo "FAIL: no $objdump (scripts/setup windows)"; exit 1; }
    $objdump -p "$exe" >"$work/headers"
    dlls=$(sed -n 's/^\tDLL Name: //p' "$work/headers" | sort -f | tr '\n' ' ')
    echo "imports: $dlls"
    # Windows' own DLLs, present on every installation.
    system='^(kernel32|user32|gdi32|opengl32|winmm|imm32|ole32|oleaut32|version|setupapi|shell32|advapi32|msvcrt|cfgmgr32|api-ms-win-[a-z0-9-]+)\.dll$'
    others=$(sed -n 's/^\tDLL Name: //p' "$work/headers" | grep -viE "$system")
    check "imports only Windows' own DLLs (others: ${others:-none})" test -n "$dlls" -a -z "$others"
    check "is a GUI program" grep -qE '^Subsystem\s+00000002' "$work/headers"
    # The resource directory's types, its first level: 3 icon images and 14 their group, 16 the
    # version information, 24 the manifest.
    for type in 3 14 16 24; do
        check "its resources hold type $type" \
            grep -qE "^[0-9a-f]+   Entry: ID: 0x0*$(printf '%x' $type), " "$work/headers"
    done
    strings -el "$exe" >"$work/wide"
    check "its version information says $version" \
        bash -c "grep -A1 -x 'FileVersion' '$work/wide' | grep -qx '$version' && grep -A1 -x 'ProductVersion' '$work/wide' | grep -qx '$version'"
    check "its manifest declares per-monitor DPI awareness" \
        bash -c "strings '$exe' | grep -q '<dpiAwareness[^>]*>PerMonitorV2'"
    ;;
zip)
    zips=("$dir"/one-quill-wisp-*-win64.zip)
    zip=$dir/one-quill-wisp-$version-win64.zip
    check "the release is one-quill-wisp-$version-win64.zip (found ${zips[*]##*/})" \
        bash -c "[ ${#zips[@]} = 1 ] && [ -f '$zip' ]"
    bytes=$(wc -c <"$zip")
    check "of at most 4 MB (got $bytes bytes)" [ "$bytes" -le 4194304 ]
    mkdir "$work/unpacked"
    (cd "$work/unpacked" && cmake -E tar xf "$zip")
    names=$(cd "$work/unpacked" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
    check "holds the program, README.txt, LICENSE.txt and file_id.diz (got $names)" \
        [ "$names" = "LICENSE.txt README.txt file_id.diz one-quill-wisp.exe " ]
    check "its program is the one built" cmp -s "$work/unpacked/one-quill-wisp.exe" "$exe"
    for text in README.txt LICENSE.txt file_id.diz; do
        lines=$(grep -c '' "$work/unpacked/$text")
        crlf=$(grep -c $'\r$' "$work/unpacked/$text")
        check "$text ends each of its $lines lines with CRLF (got $crlf)" \
            bash -c "[ $lines -gt 0 ] && [ $lines = $crlf ] && [ \"\$(tail -c 1 '$work/unpacked/$text' | od -An -c | tr -d ' ')\" = '\n' ]"
    done
    diz=$work/unpacked/file_id.diz
    widest=$(tr -d '\r' <"$diz" | awk '{ if (length($0) > w) w = length($0) } END { print w + 0 }')
    check "file_id.diz has at most 10 lines (got $(grep -c '' "$diz")) of at most 45 characters (got $widest)" \
        bash -c "[ $(grep -c '' "$diz") -le 10 ] && [ $widest -le 45 ] && ! LC_ALL=C grep -q '[^[:print:][:space:]]' '$diz'"
    check "README.txt names the version and what it needs" \
        bash -c "grep -q '$version' '$work/unpacked/README.txt' && grep -q 'Windows 10' '$work/unpacked/README.txt' && grep -q 'OpenGL 3.0' '$work/unpacked/README.txt'"
    ;;
options)
    # Windows' C library writes text with CRLF line endings; the text is the Linux build's.
    for option in --version --help; do
        "$linux" $option >"$work/linux"
        "$wine" "$exe" $option 2>"$work/err" | tr -d '\r' >"$work/out"
        status=${PIPESTATUS[0]}
        check "$option exits 0 (got $status) printing what the Linux build prints" \
            bash -c "[ $status = 0 ] && cmp -s '$work/linux' '$work/out'"
    done
    for bad in "--bogus" "--window 640" "--still -1"; do
        # shellcheck disable=SC2086 # each case is several words
        "$linux" $bad 2>"$work/linux"
        # shellcheck disable=SC2086
        WISP_NO_MESSAGE_BOX=1 "$wine" "$exe" $bad 2>&1 >"$work/out" | tr -d '\r' >"$work/err"
        status=${PIPESTATUS[0]}
        check "'$bad' exits 2 (got $status) with the Linux build's line on stderr" \
            bash -c "[ $status = 2 ] && [ ! -s '$work/out' ] && cmp -s '$work/linux' '$work/err'"
    done
    ;;
start_failures)
    # Double-clicked, a failure shows its line in a message box, and waits for OK.
    start "$wine" "$exe" --display 7 --mute
    await_window
    check "a missing display shows a message box titled '$title'" [ -n "$info" ]
    sleep 1
    check "which waits for OK" running
    xdotool search --name "^$title\$" windowactivate --sync key Return 2>/dev/null ||
        xdotool key Return
    await_exit 20
    check "OK ends it with status 2 (got $status)" [ "$status" = 2 ]
    check "with the line on stderr" \
        bash -c "grep -c '' '$work/err' | grep -qx 1 && grep -q '^one-quill-wisp: there is no display 7; the displays are 0 (' '$work/err'"
    # With the box left out, as for a test or a script, it just ends.
    start env WISP_NO_MESSAGE_BOX=1 "$wine" "$exe" --display 7 --mute
    await_exit 60
    check "with WISP_NO_MESSAGE_BOX=1 it ends with status 2 (got $status), showing nothing" \
        bash -c "[ '$status' = 2 ] && ! xwininfo -name '$title' >/dev/null 2>&1"
    check "and says the same on stderr" grep -q '^one-quill-wisp: there is no display 7' "$work/err"
    # An OpenGL older than 3.0 (Mesa told to offer 2.1): the Linux build's status and line.
    start env MESA_GL_VERSION_OVERRIDE=2.1 WISP_NO_MESSAGE_BOX=1 SDL_AUDIODRIVER=dummy \
        "$wine" "$exe"
    await_exit 60
    check "an OpenGL older than 3.0 ends it with status 1 (got $status)" [ "$status" = 1 ]
    check "naming the failed OpenGL 3.0 context on one line" \
        bash -c "grep -c '' '$work/err' | grep -qx 1 && grep -q '^one-quill-wisp: cannot create an OpenGL 3.0 context: .' '$work/err'"
    ;;
still_title)
    still 10 # the group's logo and a caption on white, the star behind
    ;;
still_greetings)
    still 70 # the metaballs, the greetings' heading and a caption
    ;;
live)
    start env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$wine" "$exe"
    await_window
    check "a fullscreen window appears" [ "$(window_size)" = 1280x720 ]
    check_plays_module "$work/audio.raw" 20
    ;;
*)
    echo "unknown case $case" >&2
    exit 2
    ;;
esac

summary
