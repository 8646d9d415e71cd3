#!/usr/bin/env bash
# Plays the real demo executable with its command-line options and checks what each one does.
#   options_run.sh MODE DEMO SOUND_MATCH [CAPTURE FRAME_COMPARE SHOT_AFTER_BUFFER]
#   (the last three for still, from, stall, resize and mode_change)
# MODE: usage (no X server, and an Xvfb of its own that refuses GL) | window_mute | still | from | loop | stall | resize (Xvfb at
#       1280x720) | display (two monitors side by side, the second 800x600 at x 1280) |
#       mode_change (one 1920x1080 monitor of Xorg's dummy driver, output DUMMY0)
set -uo pipefail
mode=$1 demo=$2 sound_match=$3 capture=${4:-} frame_compare=${5:-} shot_after_buffer=${6:-}
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

# Mean colour saturation of a picture: 0 for greys, white and black.
saturation() { convert "$1" -colorspace HSL -channel G -separate -format '%[fx:mean]' info:; }
# The title's grey logo on its white ground, with no colour yet.
title_again() { between "$(brightness "$1")" 0.5 0.97 && between "$(saturation "$1")" 0 0.0001; }

recorded() { stat -c %s "$work/audio.raw" 2>/dev/null || echo 0; } # bytes so far
# Bytes of the recording before the music: whole buffers of zeros, played while the device was
# still paused. Empty until the music has begun.
paused_bytes() {
    local first
    first=$(first_nonzero_byte "$work/audio.raw")
    [ -n "$first" ] && echo $(((first - 1) / buffer_bytes * buffer_bytes))
}
# The demo time (s) the sound is at when the device takes the buffer that brings the recording to
# SIZE bytes, for music that began at module frame FIRST. That buffer holds the module's frames
# from M - 8192 on, M being FIRST plus the frames recorded since the pause, and plays from then;
# the picture shows a module frame at its demo time, one buffer (the lead) after it: M / rate.
music_time() { echo "($1 + ($2 - $(paused_bytes)) / 4) / $rate" | bc -l; } # FIRST SIZE
# Screenshots the window into $1 the moment the device takes a buffer, for music that began at
# module frame $2; sets sound_time to the demo time the sound was at then.
shot_with_sound() { # shot_with_sound IMAGE FIRST
    local size delay
    sound_time=""
    read -r size delay < <("$shot_after_buffer" "$(window_id)" "$work/audio.raw" "$1") &&
        sound_time=$(echo "$(music_time "$2" "$size") + $delay" | bc -l)
}
# Checks that screenshot $1, taken by shot_with_sound, shows the demo time the sound was at: its
# moment is looked for among the capture tool's frames, 50 a second, within 0.6 s of the sound's
# time. The picture may be up to 170 ms behind (a busy machine draws a frame late, never early)
# and 100 ms ahead: a picture one device buffer (186 ms) off either way fails.
check_in_step() { # check_in_step IMAGE
    local from to
    [ -n "$sound_time" ] || return 0 # no screenshot: that check has failed already
    from=$(printf %.2f "$(echo "$sound_time - 0.6" | bc -l)")
    to=$(printf %.2f "$(echo "$sound_time + 0.6" | bc -l)")
    shown_moment "$1" "$capture" "$from" "$to" 50 || shown_time=1000
    echo "sound at $(printf %.3f "$sound_time") s, picture at $(printf %.2f "$shown_time") s (RMSE $shown_rmse)"
    check "a frame of the show near the sound's time matches the screenshot (RMSE $shown_rmse)" \
        between "$shown_rmse" 0 0.03
    check "and it is the sound's time, from 170 ms behind to 100 ms ahead" \
        between "$(echo "$shown_time - $sound_time" | bc -l)" -0.17 0.1
}
# Starts the demo with the given options, recording whatever its audio device plays, and waits
# for its window.
play() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$demo" "$@" 2>"$work/err" &
    pid=$!
    await_window
    check "a window titled '$title' appears on $DISPLAY" [ -n "$info" ]
}

case $mode in
usage)
    "$demo" --version >"$work/out" 2>"$work/err"
    check "--version exits 0 (got $?) printing the version" \
        grep -qxE 'one-quill-wisp [0-9]+\.[0-9]+\.[0-9]+' "$work/out"
    "$demo" --help >"$work/out" 2>"$work/err"
    check "--help exits 0 (got $?) with the usage first" grep -q '^usage: one-quill-wisp' "$work/out"
    env -u DISPLAY -u WAYLAND_DISPLAY "$demo" --window 640x360 --mute >"$work/out" 2>"$work/err"
    status=$?
    check "a window with no display server to show it exits 1 (got $status), saying so" \
        bash -c "[ $status = 1 ] && tail -n 1 '$work/err' | grep -q '^one-quill-wisp: no display'"
    # Indirect GLX cannot make a 3.0 context: the X server refuses a GLX request.
    "$(dirname "$0")/with_xvfb.sh" 640x360 env LIBGL_ALWAYS_INDIRECT=1 GALLIUM_DRIVER=nosuchdriver \
        "$demo" --window 640x360 --mute >"$work/out" 2>"$work/err"
    status=$?
    check "a GL context the X server refuses exits 1 (got $status) with one line on stderr" \
        bash -c "[ $status = 1 ] && grep -c '' '$work/err' | grep -qx 1 && grep -q '^one-quill-wisp: ' '$work/err'"
    for bad in "--window 640" "--display one" "--from 114" "--still -1" "--loop --still 3" "--bogus"; do
        # shellcheck disable=SC2086 # each case is several words
        env -u DISPLAY "$demo" $bad >"$work/out" 2>"$work/err"
        status=$?
        check "'$bad' exits 2 (got $status) with one line of usage on stderr" \
            bash -c "[ $status = 2 ] && [ ! -s '$work/out' ] && grep -c '' '$work/err' | grep -qx 1 && grep -q 'usage: one-quill-wisp' '$work/err'"
    done
    ;;
window_mute)
    play --window 640x360 --mute
    check "the window is 640x360 (got $(window_size))" [ "$(window_size)" = 640x360 ]
    await_drawn "$work/shot.png" window_shot
    check "the title's white ground fills the window" \
        bash -c "$(declare -f is_white); is_white $work/shot.png 2 2 && is_white $work/shot.png 637 357"
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "opens no audio device" [ ! -e "$work/audio.raw" ]
    check "and says nothing on stderr" [ ! -s "$work/err" ]
    ;;
still)
    play --still 10 --window 640x360
    await_drawn "$work/held1.png" window_shot
    sleep 1.5
    window_shot "$work/held2.png"
    check "still showing the moment" running
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "plays no sound" [ ! -e "$work/audio.raw" ]
    "$capture" --time 10 --size 640x360 --out "$work/captured.png"
    check "shows the frame the capture tool renders at 10 s" \
        "$frame_compare" "$work/held1.png" "$work/captured.png" "$work/diff.png"
    check "and holds it" "$frame_compare" "$work/held2.png" "$work/held1.png" "$work/diff.png"
    ;;
from)
    play --from 40 --window 320x180 # small: a busy machine still draws it without delay
    await_drawn "$work/first.png" window_shot
    colour=$(saturation "$work/first.png")
    check "its first frame shows the metaballs' coloured balls (saturation $colour)" \
        between "$colour" 0.02 1
    shot_with_sound "$work/shot.ppm" $((40 * rate - lead_frames))
    check "a screenshot just after the device takes a buffer" [ $? = 0 ]
    sleep 2
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "its sound is the whole run's from module time 40 s less one device buffer" \
        "$sound_match" "$work/audio.raw" $((40 * rate - lead_frames)) 0
    check_in_step "$work/shot.ppm"
    ;;
loop)
    # The first pass starts 14 s before the end, so the real end of the show comes soon. Its balls
    # keep their full size until 108.9 s: a start-up that a busy machine slows by seconds still
    # shows them.
    play --loop --from 100 --window 640x360
    await_drawn "$work/first.png" window_shot
    colour=$(saturation "$work/first.png")
    check "the first pass shows the metaballs' coloured balls (saturation $colour)" \
        between "$colour" 0.01 1
    # The next pass's title.
    await_shot 60 "$work/again.png" window_shot title_again
    check "after the end the title shows again" [ $? = 0 ]
    check "and the demo carries on" running
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    check "its sound runs from module time 100 s less one buffer, then the module from its start" \
        "$sound_match" "$work/audio.raw" $((100 * rate - lead_frames)) 1
    ;;
resize)
    # The user makes the window larger, then only narrower; the next frame is drawn for each size.
    # With no window manager a window is resized whatever its size hints say, so they are read.
    play --still 70 --window 640x360
    hints=$(xprop -id "$(window_id)" WM_NORMAL_HINTS | tr -s '\n\t' '  ')
    check "its size hints let it be resized: no maximum size (got '$hints')" \
        bash -c '[[ $1 == *WM_SIZE_HINTS* && $1 != *"maximum size"* ]]' - "$hints"
    await_drawn "$work/small.png" window_shot
    xdotool windowsize --sync "$(window_id)" 960 540
    check_frame "resized to 960x540, it shows the capture's 960x540 frame" window_shot 70 960x540
    xdotool windowsize --sync "$(window_id)" 800 540
    check_frame "then to 800x540, it shows the capture's 800x540 frame" window_shot 70 800x540
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    ;;
mode_change)
    # Fullscreen on a monitor that switches to a smaller mode, then to a taller one of the same
    # width, while the demo shows.
    play --still 70
    check_frame "fullscreen at 1920x1080, it shows the capture's 1920x1080 frame" root_shot 70 1920x1080
    xrandr --output DUMMY0 --mode 1280x720
    check_frame "switched to 1280x720, it shows the capture's 1280x720 frame" root_shot 70 1280x720
    xrandr --output DUMMY0 --mode 1280x1024 # the same width
    check_frame "then to 1280x1024, it shows the capture's 1280x1024 frame" root_shot 70 1280x1024
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    ;;
stall)
    # Stopped for 3 s at 30 s of music, then continued: the picture goes back to the music, which
    # plays on to the end of the show.
    start=$(now)
    play --window 320x180
    until [ -n "$(paused_bytes)" ] && between "$(music_time 0 "$(recorded)")" 30 1000; do
        running || break
        sleep 0.1
    done
    echo "stopped for 3 s at $(printf %.1f "$(music_time 0 "$(recorded)")") s of music"
    kill -STOP "$pid"
    sleep 3
    kill -CONT "$pid"
    sleep 20
    shot_with_sound "$work/shot.ppm" 0
    check "a screenshot 20 s later, just after the device takes a buffer" [ $? = 0 ]
    await_exit 150
    elapsed=$(seconds_since "$start")
    check "ends by itself with status 0 (got $status)" [ "$status" = 0 ]
    # 113.8 s of music and the stop; a busy machine's start-up and shutdown, and its disk driver
    # falling behind the ticks (8 s once, with two builds beside it), get 40 s.
    check "117 to 157 s after start (took $elapsed s)" between "$elapsed" 116.7 157
    # The clock ends the show at 114 s, which it reads at most a buffer and 50 ms past the music.
    reached=$(music_time 0 "$(recorded)")
    check "its recording runs to the show's end at 114 s (got $reached s)" between "$reached" 113.5 200
    check "and from its first sound is the module as DUMB renders it, to its end" \
        "$sound_match" "$work/audio.raw" 0 0
    check_in_step "$work/shot.ppm"
    ;;
display)
    play --display 1 --mute
    check "the window fills the second monitor, 800x600+1280+0 (got $(window_place))" \
        [ "$(window_place)" = 800x600+1280+0 ]
    await_drawn "$work/shot.png" window_shot
    check "and shows the title there, letterboxed: white inside, black bands" \
        bash -c "$(declare -f is_white); is_white $work/shot.png 400 300 && ! is_white $work/shot.png 400 10"
    quit
    check "exits with status 0 (got $status)" [ "$status" = 0 ]
    "$demo" --display 2 --mute >"$work/out" 2>"$work/err"
    status=$?
    cat "$work/err"
    check "a third display is refused with status 2 (got $status)" [ "$status" = 2 ]
    check "on one line that lists displays 0 and 1" \
        bash -c "grep -c '' '$work/err' | grep -qx 1 && grep -q ' 0 (.* 1 (' '$work/err'"
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac

summary
