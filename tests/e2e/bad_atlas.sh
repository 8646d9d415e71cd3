#!/usr/bin/env bash
# The demo built with an undecodable greetings atlas fails at start-up, before it plays: exit
# status 1, its last line on stderr naming the atlas (the PNG decoder may say more before it).
#   bad_atlas.sh DEMO
set -uo pipefail
demo=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy timeout 60 "$demo" 2>"$err"
status=$?
cat "$err"
[ "$status" = 1 ] || { echo "FAIL: exit status $status, not 1"; exit 1; }
tail -n 1 "$err" | grep -q '^one-quill-wisp: the greetings atlas: ' || { echo "FAIL: the line does not name the greetings atlas"; exit 1; }
echo "ok: fails at start-up with status 1, naming the greetings atlas"
