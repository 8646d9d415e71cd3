# Helpers for the drivers that run the real player: counted checks, timing, the player's window
# and screen, quitting it, and the format of its sound.
# The sourcing script sets $pid to the player's process and $work to its scratch folder, and has
# the player write its stderr to $work/err, which a failed check prints.
failures=0 checks=0
# The tools' numbers and words are read the same in every locale: printf's decimal point and
# the messages parsed below.
export LC_ALL=C
# The player's window title. Its sound: 44100 Hz, 16-bit stereo (4 bytes a frame), in device
# buffers of 8192 frames (32768 bytes); the music runs one buffer behind the picture's clock.
title="One Quill Wisp"
rate=44100 lead_frames=8192 buffer_bytes=$((lead_frames * 4))

check() { # check DESCRIPTION CONDITION...
    local what=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
        # What the demo said so far, which may say why.
        if [ -s "$work/err" ]; then sed 's/^/  stderr: /' "$work/err"; fi
    fi
}
now() { date +%s.%N; }
deadline_in() { echo "$(now) + $1" | bc -l; } # SECONDS -> the moment then
before() { [ "$(echo "$(now) < $1" | bc -l)" = 1 ]; } # DEADLINE
# The offset (1-based) of FILE's first byte that is not zero, or "" while all are zero. Read from
# cmp's list of differing bytes, which has numbers only.
first_nonzero_byte() { cmp -l "$1" /dev/zero 2>/dev/null | awk '{ print $1; exit }'; } # FILE
seconds_since() { echo "$(now) - $1" | bc -l; }
between() { [ "$(echo "$1 >= $2 && $1 <= $3" | bc -l)" = 1 ]; }
running() { kill -0 "$pid" 2>/dev/null; }
# Waits up to $1 seconds for the demo to exit; leaves its status in $status.
await_exit() {
    local end
    end=$(deadline_in "$1")
    while running && before "$end"; do sleep 0.02; done
    if running; then status=timeout; else wait "$pid"; status=$?; fi
}
# Presses Escape, as a person quitting would, and waits up to SECONDS (10; Wine and a clean root
# end more slowly) for the end; leaves its status in $status.
quit() { xdotool key Escape; await_exit "${1:-10}"; } # quit [SECONDS]
# Waits up to SECONDS (60), while the player runs, for a visible window named NAME (the player's
# title) on X display DISPLAY ($DISPLAY); leaves its xwininfo in $info, empty if none came.
await_window() { # await_window [SECONDS [DISPLAY [NAME]]]
    local display=${2:-${DISPLAY:-}} end ids
    end=$(deadline_in "${1:-60}")
    info=""
    until ids=$(DISPLAY=$display xdotool search --onlyvisible --name "^${3:-$title}\$" 2>/dev/null); do
        running && before "$end" || return 1
        sleep 0.1
    done
    info=$(xwininfo -display "$display" -id "${ids%%$'\n'*}")
}
# The window's xwininfo field NAME, its id, its size (WIDTHxHEIGHT) and its place on the screen
# (WIDTHxHEIGHT+X+Y).
field() { sed -n "s/^ *$1: *//p" <<<"$info"; } # field NAME
window_id() { sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info"; }
window_size() { echo "$(field Width)x$(field Height)"; }
window_place() { echo "$(window_size)+$(field 'Absolute upper-left X')+$(field 'Absolute upper-left Y')"; }
# Screenshots of the whole X screen and of the window, into $1.
root_shot() { import -window root "$1"; }
window_shot() { [ -n "$(window_id)" ] && import -window "$(window_id)" "$1"; }
# Mean brightness of the screen, 0 black to 1 white.
brightness() { convert "$1" -colorspace gray -format '%[fx:mean]' info:; }
is_white() { # is_white IMAGE X Y
    [ "$(convert "$1" -format "%[fx:p{$2,$3}.r == 1 && p{$2,$3}.g == 1 && p{$2,$3}.b == 1]" info:)" = 1 ]
}
# Shoots IMAGE with "SHOT_COMMAND IMAGE" every so often, for up to SECONDS while the player runs,
# until "TEST... IMAGE" accepts a shot; so a check waits for a moment however slowly it came.
await_shot() { # await_shot SECONDS IMAGE SHOT_COMMAND TEST...
    local image=$2 shot=$3 end
    end=$(deadline_in "$1")
    shift 3
    while running && before "$end"; do
        "$shot" "$image" 2>/dev/null && "$@" "$image" && return 0
        sleep 0.1
    done
    return 1
}
drawn() { between "$(brightness "$1")" 0.01 1; } # something other than black
# Waits up to 60 s, while the player runs, for its first frame: the screen (or the window, with
# window_shot) shows something other than black; leaves it in PNG.
await_drawn() { await_shot 60 "$1" "${2:-root_shot}" drawn; } # await_drawn PNG [SHOT_COMMAND]
# Waits up to 120 s, while the demo runs, until its disk-audio recording holds BUFFERS device
# buffers of BUFFER_BYTES from its first sound; leading silent buffers are the device before the
# music starts. One more buffer is awaited, as the last may be half written.
await_sound() { # await_sound RECORDING BUFFERS BUFFER_BYTES
    local first
    for _ in $(seq 1200); do
        first=$(first_nonzero_byte "$1")
        if [ -n "$first" ] && [ "$(stat -c %s "$1")" -ge \
            $((((first - 1) / $3 + $2 + 1) * $3)) ]; then
            return 0
        fi
        running || return 1
        sleep 0.1
    done
    return 1
}
# Checks that RECORDING is DUMB's render of the module, sample for sample from its first sound,
# for at least BUFFERS device buffers. Uses the driver's $sound_match and $work.
check_module_render() { # check_module_render RECORDING BUFFERS
    local matching matched
    "$sound_match" "$1" 0 0 >"$work/match"
    matching=$?
    cat "$work/match"
    matched=$(sed -n 's/.* \([0-9]*\) matching the module.*/\1/p' "$work/match")
    check "plays DUMB's render sample for sample from its first sound for $2 buffers (got ${matched:-0})" \
        test "$matching" = 0 -a "${matched:-0}" -ge "$2"
}
# Checks that the player, recording its sound to RECORDING, plays DUMB's render of the module
# for 20 s from its first sound, and that Escape then ends it with status 0 within SECONDS.
check_plays_module() { # check_plays_module RECORDING SECONDS
    local wanted=$((20 * rate * 4 / buffer_bytes + 1)) # buffers
    await_sound "$1" "$wanted" "$buffer_bytes"
    check "still playing after $((wanted * buffer_bytes / 4 / rate)) s of sound" running
    quit "$2"
    check "releasing Escape ends it with status 0 (got $status)" [ "$status" = 0 ]
    check_module_render "$1" "$wanted"
}
# Prints the pass/fail tally and returns non-zero if any check failed.
summary() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
# Finds the moment a screenshot shows: renders the show with the capture tool at the screenshot's
# size, $5 frames a second over demo time [$3, $4), and sets shown_time to the demo time (s) of
# the frame nearest the screenshot by RMSE, and shown_rmse to that RMSE (0 same, 1 opposite).
shown_moment() { # shown_moment IMAGE CAPTURE FROM TO FPS
    local image=$1 capture=$2 from=$3 to=$4 fps=$5 frames=$work/sweep size score frame n=0
    shown_time="" shown_rmse=2
    size=$(identify -format '%wx%h' "$image") || return 1
    rm -rf "$frames" && mkdir "$frames" || return 1
    if ! "$capture" --out "$frames/show.mkv" --size "$size" --fps "$fps" --from "$from" \
        --to "$to" >/dev/null 2>"$frames/err" ||
        ! ffmpeg -v error -i "$frames/show.mkv" "$frames/%05d.png" 2>>"$frames/err"; then
        cat "$frames/err"
        return 1
    fi
    for frame in "$frames"/*.png; do
        score=$(compare -metric RMSE "$image" "$frame" null: 2>&1 | sed -n 's/.*(\(.*\))$/\1/p')
        [ -n "$score" ] && score=$(printf '%.6f' "$score") # 1e-05 is no number to bc
        if [ -n "$score" ] && [ "$(echo "$score < $shown_rmse" | bc -l)" = 1 ]; then
            shown_rmse=$score
            shown_time=$(echo "$from + $n / $fps" | bc -l)
        fi
        n=$((n + 1))
    done
    [ -n "$shown_time" ]
}
# Takes shots with the command $1 into $work/shot.png for up to 60 s, until one equals the
# capture tool's frame at demo time $2 and size $3 within tolerance $4/255 for all but the share
# $5 of the pixels (without them, the picture tests' tolerance). The comparison's verdict is left
# in $work/verdict. The driver sets $capture to the capture tool and $frame_compare to
# picture-frame-compare.
await_frame() { # await_frame SHOT_COMMAND TIME SIZE [TOLERANCE SHARE]
    rm -f "$work/verdict"
    "$capture" --time "$2" --size "$3" --out "$work/captured.png" || return 1
    await_shot 60 "$work/shot.png" "$1" shows_capture "${@:4}"
}
shows_capture() { # shows_capture [TOLERANCE SHARE] IMAGE
    "$frame_compare" "${@: -1}" "$work/captured.png" "$work/diff.png" "${@:1:$#-1}" >"$work/verdict"
}
# Checks, as await_frame, that a shot by command $2 comes to show the capture's frame at demo time
# $3 and size $4, within 2/255 for 99.9 % of the pixels; $1 says what is checked.
check_frame() { # check_frame DESCRIPTION SHOT_COMMAND TIME SIZE
    await_frame "$2" "$3" "$4" 2 0.001
    local matched=$?
    check "$1: $(cat "$work/verdict" 2>/dev/null)" [ "$matched" = 0 ]
}
# Checks that the player, held at demo time TIME on a screen of SIZE, shows the capture's frame
# within TOLERANCE/255 for all but the share SHARE of the pixels a frame or two after its first
# (whatever the first swap showed), and that Escape then ends it with status 0 within 20 s.
check_held() { # check_held TIME SIZE TOLERANCE SHARE
    await_drawn "$work/first.png"
    sleep 1
    root_shot "$work/held.png"
    quit 20
    check "releasing Escape ends it with status 0 (got $status)" [ "$status" = 0 ]
    "$capture" --time "$1" --size "$2" --out "$work/captured.png" >/dev/null
    check "it showed the capture's $2 frame at $1 s, within $3/255 for all but $4 of the pixels" \
        "$frame_compare" "$work/held.png" "$work/captured.png" "$work/diff.png" "$3" "$4"
}
