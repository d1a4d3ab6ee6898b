#!/bin/sh
# For the sanitizer builds: the real program with its sound on SDL's audio
# thread and the stream's own, through the title and some seconds of the main
# scene, then Space to the end. Nothing is timed or compared here (the screen
# and sound tests do that in the plain build); a sanitizer report ends the
# program with its own exit code and fails the test.
# usage: threads_under_xvfb.sh PROGRAM
set -u
. "$(dirname "$0")/xvfb_session.sh" "$@"
shift
program=$1

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$program" >"$work/out" 2>"$work/err" &
pid=$!
wait_for_start_line
sleep 2
xdotool key space
sleep 5
kill -0 "$pid" 2>/dev/null || { cat "$work/err"; fail "the program ended in the main scene"; }
xdotool key space
i=0
while kill -0 "$pid" 2>/dev/null && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
wait "$pid"
code=$?
[ $code -eq 0 ] || { cat "$work/err"; fail "exit code $code"; }
[ -s "$work/audio.raw" ] || fail "no sound was played"
echo "PASS"
