#!/bin/sh
# Runs the real program on a 1920x1080 virtual display: the start line must
# appear, the title must sit scaled by 5 at (160, 40) with black margins at
# full brightness, and Escape must end the program with exit code 0.
# usage: title_under_xvfb.sh PROGRAM TITLE_PNG
set -u
SKIP=77

if [ "${1:-}" != "--inner" ]; then
    if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
        echo "SKIP: Xvfb is not installed"
        exit $SKIP
    fi
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inner "$@"
fi
shift
program=$1
title=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program output:"
    cat "$work/out" 2>/dev/null
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    exit 1
}

SDL_AUDIODRIVER=dummy "$program" >"$work/out" 2>"$work/err" &
pid=$!

# Start-up takes well under a second; allow a slow machine five.
i=0
until grep -q "^Application started [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\.$" "$work/out"; do
    i=$((i + 1))
    [ $i -gt 50 ] && fail "no start line"
    kill -0 "$pid" 2>/dev/null || fail "the program ended during start-up"
    sleep 0.1
done

# The fade in ends after frame 60 (1 s); the hold lasts until frame 360 (6 s).
sleep 2.5
import -window root "$work/shot.png" || fail "no screenshot"
kill -0 "$pid" 2>/dev/null || fail "the program ended before Escape"

xdotool key Escape
i=0
while kill -0 "$pid" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 50 ] && fail "Escape did not end the program"
    sleep 0.1
done
wait "$pid"
code=$?
pid=
[ $code -eq 0 ] || fail "exit code $code"

# Nothing but the start line and the absent tablet's line is expected.
unexpected=$(grep -v -e "^Application started " -e "^WinTab initialization failed - tablet not available$" "$work/out")
[ -z "$unexpected" ] || fail "unexpected output: $unexpected"

"$(dirname "$0")/check_title_picture.sh" "$work/shot.png" "$title" || fail "the picture on screen is wrong"
echo "PASS"
