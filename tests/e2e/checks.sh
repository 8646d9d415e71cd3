# Helpers for the end-to-end scripts: counted checks, timing, waiting for the demo, pictures.
# The sourcing script sets $pid to the demo's process and $work to its scratch folder, and has
# the demo write its stderr to $work/err, which a failed check prints.
failures=0 checks=0

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
# Prints the pass/fail tally and returns non-zero if any check failed.
summary() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
