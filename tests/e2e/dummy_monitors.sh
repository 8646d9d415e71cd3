#!/usr/bin/env bash
# Runs a command under an X server with monitors side by side, left to right, as a desk with
# several screens has them (Xorg's dummy driver, one RandR output a monitor: DUMMY0, DUMMY1, ...).
# The command may change their modes with xrandr.
#   dummy_monitors.sh WIDTHxHEIGHT[,WIDTHxHEIGHT...] COMMAND [ARGUMENT...]
#   ->   the command's exit status
set -uo pipefail
IFS=, read -r -a monitors <<<"$1"
shift
# The screen holds them all side by side.
width=0 height=0
for monitor in "${monitors[@]}"; do
    width=$((width + ${monitor%x*}))
    height=$((height > ${monitor#*x} ? height : ${monitor#*x}))
done
dir=$(mktemp -d)
trap 'kill "${server:-}" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
mkdir "$dir/conf.d" # no system-wide snippets
cat >"$dir/xorg.conf" <<CONF
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $width $height
    EndSubSection
EndSection
CONF
Xorg -displayfd 3 -config "$dir/xorg.conf" -configdir "$dir/conf.d" -logfile "$dir/log" \
    -noreset -nolisten tcp -novtswitch -sharevts 3>"$dir/display" >"$dir/out" 2>&1 &
server=$!
for _ in $(seq 300); do [ -s "$dir/display" ] || ! kill -0 $server 2>/dev/null && break; sleep 0.1; done
if [ ! -s "$dir/display" ]; then
    echo "dummy_monitors: the X server did not start:" >&2
    tail -n 20 "$dir/out" >&2
    exit 1
fi
export DISPLAY=":$(cat "$dir/display")"
# Outputs after the first have no modes until they are given one.
layout=() x=0
for i in "${!monitors[@]}"; do
    if [ "$i" -gt 0 ] && ! xrandr --addmode "DUMMY$i" "${monitors[$i]}"; then
        echo "dummy_monitors: no mode ${monitors[$i]} for DUMMY$i" >&2
        exit 1
    fi
    layout+=(--output "DUMMY$i" --mode "${monitors[$i]}" --pos "${x}x0")
    x=$((x + ${monitors[$i]%x*}))
done
if ! xrandr "${layout[@]}"; then
    echo "dummy_monitors: cannot lay the monitors out" >&2
    exit 1
fi
# A full query probes the outputs, so that clients reading the current state see them all connected.
xrandr --query >/dev/null
"$@"
