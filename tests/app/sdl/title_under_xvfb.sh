#!/bin/sh
# Runs the real program on a 1920x1080 virtual display: the start line must
# appear, the title must sit scaled by 5 at (160, 40) with black margins at
# full brightness, and Escape must end the program with exit code 0.
# usage: title_under_xvfb.sh PROGRAM TITLE_PNG
set -u
. "$(dirname "$0")/xvfb_session.sh" "$@"
shift
program=$1
title=$2

SDL_AUDIODRIVER=dummy "$program" >"$work/out" 2>"$work/err" &
pid=$!

wait_for_start_line

# The fade in ends after frame 60 (1 s); the hold lasts until frame 360 (6 s).
# A busy machine may still be fading at first: look again a few times.
sleep 1.5
tries=0
until import -window root "$work/shot.png" && "$(dirname "$0")/check_title_picture.sh" "$work/shot.png" "$title" >"$work/check"; do
    tries=$((tries + 1))
    [ $tries -lt 8 ] || { cat "$work/check"; fail "the picture on screen is wrong"; }
    sleep 0.5
done
kill -0 "$pid" 2>/dev/null || fail "the program ended before Escape"

xdotool key Escape
wait_for_exit "Escape did not end the program"
[ $code -eq 0 ] || fail "exit code $code"

# Nothing but the start line and the absent tablet's line is expected.
unexpected=$(grep -v -e "^Application started " -e "^WinTab initialization failed - tablet not available$" "$work/out")
[ -z "$unexpected" ] || fail "unexpected output: $unexpected"
echo "PASS"
