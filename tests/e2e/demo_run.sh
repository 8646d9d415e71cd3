#!/usr/bin/env bash
# Plays the real demo executable as a person would, under Xvfb at 1280x720 (started by the
# caller), and checks how it starts, sounds, looks and ends.
#   demo_run.sh MODE DEMO CLOSE_WINDOW AUDIO_SECONDS
# MODE: to_the_end | keys | window_close | no_audio | old_gl | no_display | brief
set -uo pipefail
mode=$1 demo=$2 close_window=$3 audio_seconds=$4
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

white_ground() { is_white "$1" 20 20 && is_white "$1" 640 360 && is_white "$1" 1260 700; }
# A frame of the title with something dark drawn over its white ground.
logo_on_white() { between "$(brightness "$1")" 0.5 0.97; }

case $mode in
to_the_end)
    start=$(now)
    # SDL's disk driver waits a whole buffer's time after each callback, so on a loaded machine
    # it falls behind the clock and the recording ends early; a shorter wait keeps it ahead.
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" SDL_DISKAUDIODELAY=150 \
        "$demo" 2>"$work/err" &
    pid=$!
    # Before the first caption (1.5 s) the title is plain white.
    await_shot 30 "$work/title.png" root_shot white_ground
    shown=$?
    await_exit 140
    elapsed=$(seconds_since "$start")
    echo "played for $elapsed s; $(wc -l <"$work/err") stderr lines"
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    # Start-up and shutdown take under a second on an idle machine; a busy one gets ten.
    check "ends by itself between 114 and 124 s after start (took $elapsed s)" \
        between "$elapsed" 114 124
    check "the title shows a white ground" [ "$shown" = 0 ]
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
    check "the window appears" await_window 30
    xdotool key a space Return
    xdotool keydown Escape
    sleep 1.5
    check "other keys and pressing Escape leave the demo running" running
    released=$(now)
    xdotool keyup Escape
    await_exit 20
    took=$(seconds_since "$released")
    # One frame and the shutdown: well under a second on an idle machine.
    check "releasing Escape ends it with status 0 (got $status)" [ "$status" = 0 ]
    check "within 5 s of the release (took $took s)" between "$took" 0 5
    ;;
window_close)
    SDL_AUDIODRIVER=dummy "$demo" 2>"$work/err" &
    pid=$!
    check "the window is there to close" await_window 30
    "$close_window" "$title"
    asked=$(now)
    await_exit 20
    took=$(seconds_since "$asked")
    check "closing the window ends it with status 0 (got $status)" [ "$status" = 0 ]
    check "within 5 s of the request (took $took s)" between "$took" 0 5
    ;;
no_audio)
    SDL_AUDIODRIVER=no-such-driver "$demo" 2>"$work/err" &
    pid=$!
    # From 1.5 s the presenting group's logo covers the middle of the white ground.
    await_shot 30 "$work/shot.png" root_shot logo_on_white
    drawn=$?
    echo "screen brightness $(brightness "$work/shot.png")"
    check "draws the title: a white ground with a dark logo on it" [ "$drawn" = 0 ]
    check "still playing without an audio device" running
    quit 20
    cat "$work/err"
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "warns on stderr that it plays without sound" grep -q "warning: .*without sound" "$work/err"
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
brief)
    # For sanitizer builds: the audio thread renders while the loop draws the title.
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$demo" 2>"$work/err" &
    pid=$!
    check "the window appears" await_window 60
    await_shot 60 "$work/title.png" root_shot white_ground
    sleep 3
    check "the title plays with its sound" running
    quit 60
    grep -v "^CRITICAL: " "$work/err"
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "no sanitizer report" \
        bash -c "! grep -qE 'Sanitizer|runtime error' '$work/err'"
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
