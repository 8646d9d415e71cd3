#!/usr/bin/env bash
# Plays the real demo through a private sound server, as on a Linux desktop, under an X server
# (Xvfb at 1280x720, started by the caller), and checks that the server plays the module without a
# gap, that the picture shows what the server plays, and that a server that dies ends nothing.
#   sound_server_run.sh MODE DEMO CAPTURE SERVER_PROBE
# MODE: pulseaudio       PulseAudio with a null sink; then again with --audio-delay 100
#       pipewire         PipeWire with its session manager, reached through its pulse layer
#       pulseaudio_large PulseAudio, the player's stream asked to hold 500 ms
#       server_killed    PulseAudio killed at 40 s of the show
#       wine             PulseAudio, DEMO the Windows player under Wine (winepulse), fullscreen:
#                        the caller's X server is then as large as the capture's frames, 640x360
# Each server is the test's own: its own HOME, runtime folder and (PipeWire) session bus, so no
# other process finds it, and it is stopped when the test ends.
set -uo pipefail
mode=$1 demo=$2 capture=$3 probe=$4
if [ "$mode" = pipewire ] && [ -z "${WISP_PRIVATE_BUS:-}" ]; then
    exec dbus-run-session -- env WISP_PRIVATE_BUS=1 "$0" "$@"
fi
# Wine runs in the project's cached prefix, found before HOME is made private below.
if [ "$mode" = wine ]; then
    wine=$(cd "$(dirname "$0")/../.." && pwd)/scripts/lib/wine
    WISP_WINE_PREFIX=$("$wine" --prefix) || exit 1
    export WISP_WINE_PREFIX
fi
work=$(mktemp -d)
servers=()
stop_servers() {
    local server
    for server in "${servers[@]}"; do kill "$server" 2>/dev/null && wait "$server" 2>/dev/null; done
    servers=()
}
trap 'kill "${pid:-}" "${probe_pid:-}" 2>/dev/null; [ "$mode" != wine ] || WINEPREFIX=$WISP_WINE_PREFIX wineserver -k 2>/dev/null
    stop_servers; rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/checks.sh"

from=35 # past 19 to 32 s, where moments a beat apart look alike
# The live runs' moments (WISP_SYNC_MOMENTS, 10 unless set; bench/desktop_sync.sh takes more), from
# 38.5 to 88 s of the show.
moments=${WISP_SYNC_MOMENTS:-10}
spacing=$(echo "49.5 / ($moments - 1)" | bc -l)
sink=wisp_null

# Picture minus sound (ms), measured at the instant a new frame appears. On an idle machine the
# goal is every moment within -40 to +60 and the median within +-20. A frame shows the clock as
# it was when the frame began to be drawn, which is at most its age (how long after the frame
# before it it appeared) before it appeared: the lower bounds reach that much further down, so
# a machine too busy to draw more than a few frames a second is not taken for a clock that
# lags. A picture ahead of the sound cannot come from a slow machine, so the upper bounds stay
# near the goal. A picture 140 ms ahead, as when the server's latency is left out, or 186 ms
# (one device buffer) either way fails the median.
moment_low=-100 moment_high=100 median_low=-60 median_high=70
settle=3 # s after a gap in the sound, before a moment counts
# --audio-delay 100 moves the median by 100 ms; two runs on a busy machine may draw at different
# rates, so 50 ms either way.
delay_ms=100 delay_slack=50

export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config
export PULSE_CLIENTCONFIG=$work/client.conf # clients never start a server of their own
unset PULSE_SERVER PULSE_SINK PULSE_SOURCE PULSE_LATENCY_MSEC PIPEWIRE_REMOTE
[ "$mode" = pipewire ] || unset DBUS_SESSION_BUS_ADDRESS
mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"

# Runs a sound server as a desktop runs it, at a real-time priority (rtkit grants it there), where
# this user may: a server at a plain priority falls silent for whole periods on a busy machine.
# PipeWire raises only its data threads by itself; PulseAudio sets its own priorities (below) and
# would undo this one.
as_desktop() {
    # exec: started in the background, the server itself is then the job that $! names and the
    # test stops.
    if chrt --rr 20 true 2>/dev/null; then exec chrt --rr 20 "$@"; else exec "$@"; fi
}
# Starts the mode's server with a stereo null sink at the player's rate as its default sink,
# and waits up to 60 s for it to take clients.
start_server() {
    if [ "$mode" = pipewire ]; then
        mkdir -p "$XDG_CONFIG_HOME/pipewire/pipewire.conf.d"
        cat >"$XDG_CONFIG_HOME/pipewire/pipewire.conf.d/null-sink.conf" <<EOF
context.properties = { default.clock.rate = $rate default.clock.allowed-rates = [ $rate ] }
context.objects = [
    { factory = adapter
      args = { factory.name = support.null-audio-sink node.name = $sink
               media.class = Audio/Sink audio.position = [ FL FR ] audio.rate = $rate
               object.linger = true monitor.channel-volumes = true } }
]
EOF
        as_desktop pipewire >"$work/pipewire.log" 2>&1 &
        servers+=($!)
        wireplumber >"$work/wireplumber.log" 2>&1 &
        servers+=($!)
        as_desktop pipewire-pulse >"$work/pipewire-pulse.log" 2>&1 &
        servers+=($!)
    else
        cat >"$work/server.pa" <<EOF
load-module module-native-protocol-unix
load-module module-null-sink sink_name=$sink rate=$rate channels=2 format=s16le
set-default-sink $sink
EOF
        # Its desktop defaults, spelled out: its I/O threads real-time, its main thread at nice
        # -11, each as far as the user may. At a plain priority a busy machine starves the sink's
        # thread, and the player's stream underruns.
        pulseaudio -n --file="$work/server.pa" --daemonize=no --exit-idle-time=-1 \
            --use-pid-file=no --high-priority=yes --realtime=yes >"$work/pulseaudio.log" 2>&1 &
        servers+=($!)
    fi
    for _ in $(seq 600); do
        if pactl list short sinks 2>/dev/null | grep -q "	$sink	"; then
            pactl set-default-sink "$sink"
            return 0
        fi
        sleep 0.1
    done
    cat "$work"/*.log
    return 1
}

# Starts the player in the background (pid), at 640x360, with the given options: under Wine
# fullscreen, as Wine frames a window of its own, and through Windows' own sound driver.
play() { # play PLAYER_OPTIONS...
    if [ "$mode" = wine ]; then
        env -u SDL_AUDIODRIVER "$wine" "$demo" "$@" &
    else
        SDL_AUDIODRIVER=pulseaudio "$demo" --window 640x360 "$@" &
    fi
    pid=$!
}
# The latency (ms) the server reports for the player's stream: its buffer and the sink's.
stream_latency() {
    pactl list sink-inputs 2>/dev/null |
        awk '/(Buffer|Sink) Latency:/ { sum += $3 } END { if (NR) printf "%.0f", sum / 1000 }'
}
# Waits up to $1 seconds for the player's stream to reach the server.
await_stream() {
    for _ in $(seq $(($1 * 10))); do
        [ -n "$(pactl list short sink-inputs 2>/dev/null)" ] && return 0
        running || return 1
        sleep 0.1
    done
    return 1
}
median() { # of the numbers on stdin
    sort -g | awk '{ v[NR] = $1 } END { print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'
}

# Plays from $from with the given options, for COUNT moments SPACING s apart from 3.5 s after
# the first sound (the clock may take a second or two to settle onto the server's latency), while
# the probe records the sink's monitor and screenshots the window at each moment. Checks the
# recording; writes each moment's "DIFF RMSE AGE QUIET" to $work/NAME.diffs (picture minus sound
# in ms, RMSE, the frame's age in ms, s since the last gap or the first sound), the steady ones'
# to NAME.steady; and unless too few moments were steady, sets median (ms, picture minus sound)
# and median_age (ms, the frames' age) over those.
live_run() { # live_run NAME COUNT SPACING [PLAYER_OPTIONS...]
    local name=$1 count=$2 spacing=$3 length deadline recorded offset heard sound a b found
    local latency age quiet shown rmse index frames diff sorted stalls steady
    shift 3
    length=$(printf %.2f "$(echo "3.5 + ($count - 1) * $spacing + 1.5" | bc -l)")
    median=""
    : >"$work/$name.shots"
    "$probe" record "$sink.monitor" "$work/$name.raw" "$work/$name-" 3.5 "$spacing" "$count" \
        "$length" >"$work/$name.shots" 2>"$work/err" &
    probe_pid=$!
    for _ in $(seq 300); do
        grep -q '^recording' "$work/$name.shots" || ! kill -0 "$probe_pid" 2>/dev/null && break
        sleep 0.1
    done
    play --from $from "$@" 2>>"$work/err"
    reported=""
    await_stream 60 && sleep 5 && reported=$(stream_latency)
    echo "$name: the server reports ${reported:-no} latency (ms) for the player's stream"
    # The probe stops by itself after $length s of sound; a player that ends first stops it.
    deadline=$(echo "$(now) + $length + 120" | bc -l)
    while kill -0 "$probe_pid" 2>/dev/null && running &&
        [ "$(echo "$(now) < $deadline" | bc -l)" = 1 ]; do
        sleep 0.2
    done
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid"
    recorded=$?
    check "$name: the probe recorded $length s and took $count screenshots (status $recorded)" \
        [ "$recorded" = 0 ]
    quit 20
    check "$name: Escape ends the player with status 0 (got $status)" [ "$status" = 0 ]
    # A gap where a processor stood still is the machine's (a virtual machine whose host
    # withholds its processors); the probe names them and fails only the others.
    grep '^no real-time' "$work/$name.shots"
    stalls=$(grep -c '^stall ' "$work/$name.shots")
    echo "$name: a processor stood still $stalls times while the probe recorded"
    "$probe" match "$work/$name.raw" $from "$work/$name.shots" >"$work/match"
    found=$?
    cat "$work/match"
    check "$name: from its first sound the recording is DUMB's render, without a gap" \
        [ "$found" = 0 ]
    grep -q '^offset ' "$work/match" || return 0
    : >"$work/$name.diffs"
    while read -r _ shot heard latency age; do
        # The sound heard then, in demo time, and how long since the music last went on after a
        # fault (s), or since the first sound; the capture's frames within 0.4 s of it, and as
        # much again as the frame's age before it, on its grid of 200 frames a second.
        read -r offset quiet < <(awk -v heard="$heard" -v rate=$rate \
            '$1 == "offset" && (d == "" || $2 <= heard) { d = $3; r = $2 }
            END { print d, (heard - r) / rate }' "$work/match")
        sound=$(echo "($heard + $offset + $lead_frames) / $rate" | bc -l)
        a=$(echo "scale=3; ($sound * 200 - 80 - $age / 5) / 1" | bc)
        b=$(echo "scale=3; $a / 200 + 0.8 + $age / 1000" | bc)
        a=$(echo "scale=3; $a / 200" | bc)
        if "$capture" --out "$work/sweep.mkv" --size 640x360 --fps 200 --from "$a" --to "$b" \
            </dev/null >/dev/null 2>"$work/sweep.err" &&
            read -r shown rmse index frames < <(ffmpeg -nostdin -v error -i "$work/sweep.mkv" \
                -f rawvideo -pix_fmt rgb24 - | "$probe" shown "$shot" "$a" 200); then
            # A best frame at either end of the sweep may lie beyond it.
            [ "$index" -gt 0 ] && [ "$index" -lt $((frames - 1)) ] || rmse=1
        else
            cat "$work/sweep.err"
            shown=0 rmse=1
        fi
        diff=$(echo "($shown - $sound) * 1000" | bc -l)
        printf '%s: sound at %.3f s (recording latency %.0f ms), picture at %.3f s (RMSE %s, ' \
            "$name" "$sound" "$latency" "$shown" "$rmse"
        printf 'age %.0f ms, steady for %.1f s): %+.0f ms\n' "$age" "$quiet" "$diff"
        echo "$diff $rmse $age $quiet" >>"$work/$name.diffs"
    done < <(grep '^shot ' "$work/$name.shots")
    check "$name: $count moments measured (got $(grep -c '' "$work/$name.diffs"))" \
        [ "$(grep -c '' "$work/$name.diffs")" = "$count" ]
    # A gap or a jump of the music takes the clock up to $settle s to see and follow: moments
    # sooner after one are not measured (the gap was the machine's, or the check above failed).
    awk -v settle=$settle '$4 >= settle' "$work/$name.diffs" >"$work/$name.steady"
    steady=$(grep -c '' "$work/$name.steady")
    if [ "$steady" -lt 3 ]; then
        echo "$name: picture against sound not measured: only $steady of $count moments came" \
            "$settle s or more after a gap"
        return 0
    fi
    check "$name: each screenshot is a frame of the show near the sound's time (RMSE below 0.03)" \
        awk '$2 >= 0.03 { bad = 1 } END { exit bad }' "$work/$name.steady"
    median=$(cut -d' ' -f1 "$work/$name.steady" | median)
    sorted=$(cut -d' ' -f1 "$work/$name.steady" | sort -g)
    median_age=$(cut -d' ' -f3 "$work/$name.steady" | median)
    printf '%s: %d steady moments, picture minus sound from %.0f to %.0f ms, median %.0f ms;' \
        "$name" "$steady" "$(head -n 1 <<<"$sorted")" "$(tail -n 1 <<<"$sorted")" "$median"
    printf ' frames %.0f ms old\n' "$median_age"
}
# Checks a run's moments and median against the bounds, the frames' age taken into account.
check_in_step() { # check_in_step NAME
    [ -n "$median" ] || return 0 # nothing to measure: said so, or a check has failed already
    local low
    check "$1: every moment's picture minus sound within $moment_low ms less its frame's age to $moment_high ms" \
        awk -v low=$moment_low -v high=$moment_high \
        '$1 < low - $3 || $1 > high { bad = 1 } END { exit bad }' "$work/$1.steady"
    low=$(printf %.0f "$(echo "$median_low - $median_age" | bc -l)")
    check "$1: the median ($(printf %.0f "$median") ms) within $low (less the frames' age) to $median_high ms" \
        between "$median" "$low" $median_high
}

server=pulseaudio
[ "$mode" = pipewire ] && server=pipewire
check "a private $server server with a null sink as its default sink" start_server
case $mode in
pulseaudio | pipewire | wine)
    live_run "$mode" "$moments" "$spacing"
    check_in_step "$mode"
    if [ "$mode" = pulseaudio ] && [ -n "$median" ]; then
        plain=$median
        live_run audio_delay 8 3 --audio-delay $delay_ms
        if [ -n "$median" ]; then
            moved=$(echo "$median - $plain" | bc -l)
            what="--audio-delay $delay_ms moves the median by $delay_ms +- $delay_slack ms"
            check "$what (got $(printf %.0f "$moved"))" \
                between "$moved" $((delay_ms - delay_slack)) $((delay_ms + delay_slack))
        fi
    fi
    ;;
pulseaudio_large)
    # PulseAudio's null sink has no latency setting of its own; the player's stream asks for a
    # longer one through libpulse's environment, and the server reports and plays it so. The
    # stream's buffer and the sink's latency then add up to 365 to 500 ms, where the server's
    # own choice gives 110 to 190. The one reading taken swings with the sink's: on a busy
    # machine it has read 269.
    export PULSE_LATENCY_MSEC=500
    live_run "$mode" "$moments" "$spacing"
    check "the server reports a latency of at least 240 ms for the stream (got ${reported:-none})" \
        between "${reported:-0}" 240 10000
    unset PULSE_LATENCY_MSEC
    check_in_step "$mode"
    ;;
server_killed)
    kill_at=40 end=114
    start=$(now)
    play --from 36 2>"$work/err"
    check "the player's stream reaches the server" await_stream 60
    sleep $((kill_at - 36))
    kill -KILL "${servers[@]}"
    wait "${servers[@]}" 2>/dev/null
    echo "killed the server $(seconds_since "$start") s after the start"
    sleep 2
    check "the show goes on without its server" running
    await_exit 200
    elapsed=$(seconds_since "$start")
    check "ends by itself with status 0 (got $status)" [ "$status" = 0 ]
    # The show's end is $((end - 36)) s after the start; a busy machine's start-up and shutdown
    # get a minute.
    low=$((end - 36 - 4)) high=$((end - 36 + 60))
    check "at the show's end, $low to $high s after the start (took $elapsed s)" \
        between "$elapsed" $low $high
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac

summary
