#!/bin/sh
# Start-up without a display ends with 255 after the start line, the failure
# line and the end line: with no display server named at all (as over plain
# ssh), with SDL_VIDEODRIVER set but empty, and with a video driver that does
# not exist. Under a memory cap that the X server's GL context creation
# refuses, the same: the failure line and 255, not Xlib's exit 1. Without
# audio the program runs silent and Escape still ends it with 0.
# usage: degraded_start.sh PROGRAM
set -u
program=$1

expect_no_display() {
    out=$(timeout 20 "$@")
    code=$?
    [ $code -eq 255 ] || { echo "FAIL: exit code $code without a display ($*)"; echo "$out"; exit 1; }
    printf '%s\n' "$out" | sed -n 1p | grep -q "^Application started " || { echo "FAIL: first line: $out"; exit 1; }
    printf '%s\n' "$out" | sed -n 2p | grep -qx "Failed to get display info" || { echo "FAIL: no display line: $out"; exit 1; }
    printf '%s\n' "$out" | tail -n 1 | grep -q "^Application terminated [0-9:]* [0-9-]*\.$" || { echo "FAIL: last line: $out"; exit 1; }
}
expect_no_display env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$program"
expect_no_display env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= "$program"
expect_no_display env SDL_VIDEODRIVER=no-such-driver "$program"

if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed (the display failure passed)"
    exit 77
fi
inner='SDL_AUDIODRIVER=no-such-driver "$0" > "$1" & pid=$!
sleep 2; xdotool key Escape
i=0; while kill -0 $pid 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i+1)); done
kill $pid 2>/dev/null && exit 3
wait $pid'
log=$(mktemp)
xvfb-run -a -s "-screen 0 1920x1080x24" sh -c "$inner" "$program" "$log"
code=$?
out=$(cat "$log"); rm -f "$log"
[ $code -eq 0 ] || { echo "FAIL: exit code $code without audio"; echo "$out"; exit 1; }
printf '%s\n' "$out" | grep -qx "Couldn't initialize audio. Sound disabled." || { echo "FAIL: no sound line: $out"; exit 1; }

# 150 MB of address space: the server refuses the GL context with an X
# error. (The sanitizer builds' runtimes need terabytes of it: no cap there.)
if [ -z "${VITRELUME_SANITIZERS:-}" ]; then
    log=$(mktemp)
    xvfb-run -a -s "-screen 0 1920x1080x24" sh -c 'ulimit -v 150000; SDL_AUDIODRIVER=dummy timeout 20 "$0" > "$1" 2>/dev/null' "$program" "$log"
    code=$?
    out=$(cat "$log"); rm -f "$log"
    [ $code -eq 255 ] || { echo "FAIL: exit code $code under a memory cap"; echo "$out"; exit 1; }
    printf '%s\n' "$out" | sed -n 2p | grep -qx "Failed to create OpenGL context" || { echo "FAIL: no GL line: $out"; exit 1; }
    printf '%s\n' "$out" | tail -n 1 | grep -q "^Application terminated " || { echo "FAIL: no end line: $out"; exit 1; }
fi
echo "PASS"
