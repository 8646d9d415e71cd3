# Helpers for the end-to-end scripts: counted checks, timing, waiting for the demo, pictures.
# The sourcing script sets $pid to the demo's process and $work to its scratch folder, and has
# the demo write its stderr to $work/err, which a failed check prints.
failures=0 checks=0
# The tools' numbers and words are read the same in every locale: printf's decimal point and
# the messages parsed below.
export LC_ALL=C

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
# The offset (1-based) of FILE's first byte that is not zero, or "" while all are zero. Read from
# cmp's list of differing bytes, which has numbers only.
first_nonzero_byte() { cmp -l "$1" /dev/zero 2>/dev/null | awk '{ print $1; exit }'; } # FILE
seconds_since() { echo "$(now) - $1" | bc -l; }
between() { [ "$(echo "$1 >= $2 && $1 <= $3" | bc -l)" = 1 ]; }
running() { kill -0 "$pid" 2>/dev/null; }
# Waits up to $1 seconds for the demo to exit; leaves its status in $status.
await_exit() {
    local deadline
    deadline=$(echo "$(now) + $1" | bc -l)
    while running && [ "$(echo "$(now) < $deadline" | bc -l)" = 1 ]; do sleep 0.02; done
    if running; then status=timeout; else wait "$pid"; status=$?; fi
}
# Mean brightness of the screen, 0 black to 1 white.
brightness() { convert "$1" -colorspace gray -format '%[fx:mean]' info:; }
is_white() { # is_white IMAGE X Y
    [ "$(convert "$1" -format "%[fx:p{$2,$3}.r == 1 && p{$2,$3}.g == 1 && p{$2,$3}.b == 1]" info:)" = 1 ]
}
# Waits up to 60 s, while the demo runs, for the screen to show something other than black; leaves
# it in $1.
await_drawn() { # await_drawn PNG
    for _ in $(seq 300); do
        import -window root "$1" 2>/dev/null && between "$(brightness "$1")" 0.01 1 && return 0
        running || return 1
        sleep 0.2
    done
    return 1
}
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
# Screenshots the whole X screen into $1.
root_shot() { import -window root "$1"; }
# Takes shots with the command $1 into $work/shot.png for up to 60 s, until one equals the
# capture tool's frame at demo time $2 and size $3 within tolerance $4/255 for all but the share
# $5 of the pixels. The comparison's verdict is left in $work/verdict. The driver sets $capture
# to the capture tool and $frame_compare to picture-frame-compare.
await_frame() {
    "$capture" --time "$2" --size "$3" --out "$work/captured.png" || return 1
    local deadline
    deadline=$(echo "$(now) + 60" | bc -l)
    while running && [ "$(echo "$(now) < $deadline" | bc -l)" = 1 ]; do
        "$1" "$work/shot.png" && "$frame_compare" "$work/shot.png" "$work/captured.png" \
            "$work/diff.png" "$4" "$5" >"$work/verdict" && return 0
        sleep 0.5
    done
    return 1
}
# Checks, as await_frame, that a shot by command $2 comes to show the capture's frame at demo time
# $3 and size $4, within 2/255 for 99.9 % of the pixels; $1 says what is checked.
check_frame() { # check_frame DESCRIPTION SHOT_COMMAND TIME SIZE
    await_frame "$2" "$3" "$4" 2 0.001
    local matched=$?
    check "$1: $(cat "$work/verdict" 2>/dev/null)" [ "$matched" = 0 ]
}
