#!/usr/bin/env bash
# A program's manual page documents exactly the options its --help lists: each option named in
# the tag of an indented paragraph (.TP) of the page, and each --option in the help text.
#   manual_options.sh PROGRAM MANUAL_PAGE
set -uo pipefail
program=$1 page=$2

help=$("$program" --help)
status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: $program --help exits with status $status"
    exit 1
fi
# --help itself answered, so it counts as listed whether or not the text names it.
from_help=$(printf '%s\n--help\n' "$help" | grep -oE -- '--[a-z][a-z-]*' | sort -u)
from_page=$(awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' "$page" |
    grep -oE -- '\\-\\-[a-z][a-z-]*' | sed 's/\\-/-/g' | sort -u)
echo "help: $(echo $from_help)"
echo "page: $(echo $from_page)"
if [ -z "$from_help" ] || [ "$from_help" != "$from_page" ]; then
    echo "FAIL: the manual page and --help differ:"
    diff <(echo "$from_help") <(echo "$from_page") | sed -n 's/^</  only in --help:/p; s/^>/  only in the page:/p'
    exit 1
fi
echo "ok: $(wc -l <<<"$from_help") options, the same in both"
