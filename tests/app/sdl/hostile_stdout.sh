#!/bin/sh
# The real program with the standard output that launchers and shells give it
# at their worst: closed (the window must come up and Escape end the program
# with 0) and a pipe whose reader has gone (no death by SIGPIPE: it runs on
# until Escape ends it with 0).
# usage: hostile_stdout.sh PROGRAM
set -u
. "$(dirname "$0")/xvfb_session.sh" "$@"
shift
program=$1
export SDL_AUDIODRIVER=dummy

# Runs the program under the pid recorded in $work/pid, then records its exit
# code in $work/code; the caller gives it its standard output.
run_program() {
    sh -c 'echo $$ > "$1/pid"; exec "$0"' "$program" "$work"
    echo $? > "$work/code"
}

# Retries COMMAND every 0.1 s for up to 10 s; false when it never succeeds.
wait_for() {
    i=0
    until "$@"; do
        i=$((i + 1))
        [ $i -gt 100 ] && return 1
        sleep 0.1
    done
}

window_or_end() {
    [ -s "$work/code" ] || xdotool search --name "^Vitrelume 15th Anniversary$" >/dev/null 2>&1
}

# The program must start, show its window and keep running; Escape must then
# end it with 0.
expect_window_and_clean_escape() {
    wait_for test -s "$work/pid" || fail "$1: did not start"
    pid=$(cat "$work/pid")
    wait_for window_or_end || fail "$1: no window"
    sleep 1
    [ -s "$work/code" ] && fail "$1: ended with $(cat "$work/code") before Escape"
    xdotool key Escape
    wait_for test -s "$work/code" || fail "$1: Escape did not end the program"
    pid=
    code=$(cat "$work/code")
    [ "$code" = 0 ] || fail "$1: exit code $code"
    rm -f "$work/pid" "$work/code"
    sleep 0.5  # the window goes before the next case looks for one
}

# Closed: without the guard the X connection took descriptor 1 and the first
# log line went into it.
run_program >&- &
expect_window_and_clean_escape "closed standard output"

# `vitrelume | head -n 1`: head takes the start line and goes.
run_program | head -n 1 > "$work/first" &
expect_window_and_clean_escape "piped into head -n 1"
grep -q "^Application started " "$work/first" || fail "head did not get the start line: $(cat "$work/first")"

# A pipe whose reader has gone before the first log line.
(sleep 1; run_program) | true &
expect_window_and_clean_escape "piped into a reader that has gone"
echo "PASS"
