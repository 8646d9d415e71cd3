#!/usr/bin/env bash
# Plays the real demo executable as a person would, under Xvfb at 1280x720 (started by the
# caller), and checks how it starts, sounds, looks and ends.
#   demo_run.sh MODE DEMO CLOSE_WINDOW AUDIO_SECONDS
# MODE: to_the_end | keys | window_close | no_audio | old_gl | no_display
set -uo pipefail
mode=$1 demo=$2 close_window=$3 audio_seconds=$4
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

case $mode in
to_the_end)
    start=$(now)
    # SDL's disk driver waits a whole buffer's time after each callback, so on a loaded machine
    # it falls behind the clock and the recording ends early; a shorter wait keeps it ahead.
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" SDL_DISKAUDIODELAY=150 \
        "$demo" 2>"$work/err" &
    pid=$!
    sleep 1.2 # demo clock about 0.8 s: before the first caption, the title is plain white
    import -window root "$work/title.png"
    await_exit 125
    elapsed=$(seconds_since "$start")
    echo "played for $elapsed s; $(wc -l <"$work/err") stderr lines"
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "ends by itself between 114 and 117 s after start (took $elapsed s)" \
        between "$elapsed" 114 117
    check "the title shows a white ground" \
        bash -c "$(declare -f is_white); is_white $work/title.png 20 20 && is_white $work/title.png 640 360 && is_white $work/title.png 1260 700"
    read -r total sound_end first_gap < <("$audio_seconds" "$work/audio.raw")
    echo "recorded $total s; sound until $sound_end s, first silence after 0.3 s at $first_gap s"
    check "recorded to the close (got $total s)" between "$total" 113 1000
    check "sounds from 0.3 s to the end of the final decay (silent at $first_gap s)" \
        [ "$first_gap" = "$sound_end" ]
    check "the final decay ends between 109 and 113.3 s, then silence to the close (got $sound_end s)" \
        between "$sound_end" 109 113.3
    ;;
keys)
    SDL_AUDIODRIVER=dummy "$demo" 2>"$work/err" &
    pid=$!
    sleep 2
    xdotool key a space Return
    xdotool keydown Escape
    sleep 1.5
    check "other keys and pressing Escape leave the demo running" running
    released=$(now)
    xdotool keyup Escape
    await_exit 5
    took=$(seconds_since "$released")
    check "releasing Escape ends it with status 0 (got $status)" [ "$status" = 0 ]
    check "within a second of the release (took $took s)" between "$took" 0 1
    ;;
window_close)
    SDL_AUDIODRIVER=dummy "$demo" 2>"$work/err" &
    pid=$!
    sleep 2
    check "the window is there to close" running
    "$close_window" "One Quill Wisp"
    asked=$(now)
    await_exit 5
    took=$(seconds_since "$asked")
    check "closing the window ends it with status 0 (got $status)" [ "$status" = 0 ]
    check "within a second of the request (took $took s)" between "$took" 0 1
    ;;
no_audio)
    SDL_AUDIODRIVER=no-such-driver "$demo" 2>"$work/err" &
    pid=$!
    sleep 2.6 # demo clock about 2.3 s: the presenting group's logo covers the middle
    import -window root "$work/shot.png"
    check "still playing without an audio device" running
    xdotool key Escape
    await_exit 5
    cat "$work/err"
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "warns on stderr that it plays without sound" grep -q "warning: .*without sound" "$work/err"
    level=$(brightness "$work/shot.png")
    echo "screen brightness $level"
    check "draws the title: a white ground with a dark logo on it" between "$level" 0.5 0.97
    ;;
old_gl)
    MESA_GL_VERSION_OVERRIDE=2.1 SDL_AUDIODRIVER=dummy "$demo" 2>"$work/err" &
    pid=$!
    await_exit 20
    cat "$work/err"
    check "exits with status 1 (got $status)" [ "$status" = 1 ]
    check "names the failed OpenGL 3.0 context and SDL's reason on one line" \
        bash -c "grep -c '' '$work/err' | grep -qx 1 && grep -q '^one-quill-wisp: cannot create an OpenGL 3.0 context: .' '$work/err'"
    ;;
no_display)
    start=$(now)
    env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "$demo" 2>"$work/err" &
    pid=$!
    await_exit 20
    cat "$work/err"
    check "exits with status 1 (got $status) within $(seconds_since "$start") s" [ "$status" = 1 ]
    check "says on its last stderr line that there is no display" \
        bash -c "tail -n 1 '$work/err' | grep -q '^one-quill-wisp: no display'"
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac

summary
