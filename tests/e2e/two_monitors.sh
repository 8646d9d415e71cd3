#!/usr/bin/env bash
# Runs a command under an X server with two monitors side by side, as a desk with two screens
# has them: 1280x720 at the left and 800x600 right of it (Xorg's dummy driver, two RandR outputs).
#   two_monitors.sh COMMAND [ARGUMENT...]   ->   the command's exit status
set -uo pipefail
dir=$(mktemp -d)
trap 'kill "${server:-}" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
mkdir "$dir/conf.d" # no system-wide snippets
cat >"$dir/xorg.conf" <<'CONF'
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
        Virtual 2080 720
    EndSubSection
EndSection
CONF
Xorg -displayfd 3 -config "$dir/xorg.conf" -configdir "$dir/conf.d" -logfile "$dir/log" \
    -noreset -nolisten tcp -novtswitch -sharevts 3>"$dir/display" >"$dir/out" 2>&1 &
server=$!
for _ in $(seq 300); do [ -s "$dir/display" ] || ! kill -0 $server 2>/dev/null && break; sleep 0.1; done
if [ ! -s "$dir/display" ]; then
    echo "two_monitors: the X server did not start:" >&2
    tail -n 20 "$dir/out" >&2
    exit 1
fi
export DISPLAY=":$(cat "$dir/display")"
# The second output has no modes until it is given one.
if ! { xrandr --addmode DUMMY1 800x600 &&
    xrandr --output DUMMY0 --mode 1280x720 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 1280x0; }; then
    echo "two_monitors: cannot lay the monitors out" >&2
    exit 1
fi
# A full query probes the outputs, so that clients reading the current state see both connected.
xrandr --query >/dev/null
"$@"
